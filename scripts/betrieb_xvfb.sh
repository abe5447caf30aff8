#!/bin/bash
# Operating the sample layout examples/bahnhof.pln in the real Velmo window
# under Xvfb, against srcpsim, once under SRCP 0.73 and once under SRCP 0.80.
# Each run starts the simulator with a demo train round contacts 1 to 8,
# writes the settings file of the work copy for its port and version,
# starts `velmo bahnhof.pln` (a fresh copy of the sample with its routes)
# and, with real mouse presses:
#   - "Datei > Host verbinden";
#   - presses turnout W2 (15, 9), turnout W3 (13, 1) and signal S1 (13, 9),
#     each once, waiting for its pulse to end; the simulator must log exactly
#     the GA lines of the new position's decoder output for each press, and
#     the cells must then show the pictures of their new positions;
#   - presses the route button of route 1 (11, 10); the simulator must log
#     exactly its "on" lines, then its "off" lines, and the route's four
#     cells must show route-marked;
#   - "Rückmeldung > Abfrage starten"; at two train positions the contact the
#     simulator last occupied must show occupied and the nine other contacts
#     of the plan free;
#   - "Abfrage beenden", "Host trennen", "Exit": the window must close.
# Under SRCP 0.80 every INIT and SET the command session sent must be
# answered with a 2xx reply, and no reply of the whole log may be a 4xx.
# All pictures are compared pixel for pixel with the icon files in Data/.
#   <out>/betrieb<v>_start.png       the plan as opened (v = 073 or 08)
#   <out>/betrieb<v>_geschaltet.png  after the three presses
#   <out>/betrieb<v>_fahrstrasse.png after the route button
#   <out>/betrieb<v>_kontakt<k>.png  the train on contact k (two steps)
#   <out>/betrieb_srcpsim<v>.log     the simulator's log
#   bash scripts/betrieb_xvfb.sh [build-dir] [out-dir] [interval-ms]
# Exits non-zero when a step or a check fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build}")"
out="$(realpath -m "${2:-$build/screenshots}")"
intervall="${3:-1500}"
mkdir -p "$out"

source "$root/scripts/arbeitskopie.sh"
fensterlauf "$root" "$build" velmo
cmake --build "$build" -j"$(nproc)" --target srcpsim >/dev/null
mkdir "$work/vorlage"
cp "$root/examples/bahnhof.pln" "$root/examples/bahnhof.fst" "$work/vorlage/"

# Reads screenshots and pictures. ImageMagick turns each into a binary PPM,
# read here without further libraries.
#   bild.py flaeche SHOT R,G,B N        "x y": the first run of at least N
#                                       pixels of that colour, row by row
#   bild.py zellen SHOT X0 Y0 DATA C,R=ICON...
#                                       for each plan cell C,R (27-pixel
#                                       raster from the view origin X0,Y0)
#                                       "C,R ICON n": n pixels differ from the
#                                       picture file DATA/ICON; exit 1 when
#                                       any n is not 0
cat > "$work/bild.py" <<'PY'
import subprocess, sys

def lade(pfad):
    ppm = subprocess.run(["convert", pfad, "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
    felder, pos = [], 0
    while len(felder) < 4:
        while ppm[pos:pos + 1].isspace():
            pos += 1
        anfang = pos
        while not ppm[pos:pos + 1].isspace():
            pos += 1
        felder.append(ppm[anfang:pos])
    if felder[0] != b"P6" or felder[3] != b"255":
        sys.exit("unexpected PPM header %r" % felder)
    return int(felder[1]), int(felder[2]), ppm[pos + 1:]

art, schuss = sys.argv[1], sys.argv[2]
breite, hoehe, pixel = lade(schuss)
if art == "flaeche":
    ziel, mindestens = bytes(int(v) for v in sys.argv[3].split(",")), int(sys.argv[4])
    for y in range(hoehe):
        lauf = 0
        for x in range(breite):
            i = (y * breite + x) * 3
            lauf = lauf + 1 if pixel[i:i + 3] == ziel else 0
            if lauf == mindestens:
                print(x - mindestens + 1, y)
                sys.exit(0)
    sys.exit(1)
elif art == "zellen":
    x0, y0, daten = int(sys.argv[3]), int(sys.argv[4]), sys.argv[5]
    bilder, falsch = {}, 0
    for auftrag in sys.argv[6:]:
        zelle, icon = auftrag.split("=")
        c, r = (int(v) for v in zelle.split(","))
        if icon not in bilder:
            bilder[icon] = lade(daten + "/" + icon)
        b, h, soll = bilder[icon]
        if (b, h) != (27, 27):
            sys.exit("%s is %dx%d, not 27x27" % (icon, b, h))
        n = 0
        for dy in range(27):
            for dx in range(27):
                x, y = x0 + 27 * c + dx, y0 + 27 * r + dy
                i, j = (y * breite + x) * 3, (dy * 27 + dx) * 3
                n += pixel[i:i + 3] != soll[j:j + 3]
        print("  cell %-6s %s: %d pixels differ" % (zelle, icon, n))
        falsch += n != 0
    sys.exit(1 if falsch else 0)
else:
    sys.exit("unknown mode " + art)
PY

# Pairs the lines each SRCP 0.8 command session received with the replies
# it was sent, in order (the simulator answers every line once, at once),
# and checks that every INIT and SET of an accessory got a 2xx reply and
# that no reply in the log is a 4xx. Prints the accessory lines with their
# replies.
cat > "$work/antworten.py" <<'PY'
import re, sys

empfangen, gesendet, fehler = {}, {}, []
for zeile in open(sys.argv[1], encoding="utf-8", errors="replace"):
    m = re.match(r"\S+ (cmd#\d+) ([<>]) (.*)$", zeile.rstrip("\n"))
    if m:
        (empfangen if m.group(2) == "<" else gesendet).setdefault(m.group(1), []).append(m.group(3))
    if re.search(r" > \d+\.\d+ 4\d\d ", zeile):
        fehler.append("4xx reply: " + zeile.strip())
zubehoer = 0
for sitzung, befehle in empfangen.items():
    antworten = gesendet.get(sitzung, [])
    if len(antworten) != len(befehle):
        fehler.append("%s: %d lines received, %d replies" % (sitzung, len(befehle), len(antworten)))
    for befehl, antwort in zip(befehle, antworten):
        if re.match(r"(INIT|SET) \d+ GA ", befehl):
            zubehoer += 1
            print("  %s < %-20s > %s" % (sitzung, befehl, antwort))
            if not re.match(r"\d+\.\d+ 2\d\d ", antwort):
                fehler.append("%s: %s answered %s" % (sitzung, befehl, antwort))
if zubehoer == 0:
    fehler.append("no accessory command in the log")
for f in fehler:
    print("FEHLER:", f)
sys.exit(1 if fehler else 0)
PY

cat > "$work/lauf.sh" <<'INNER'
#!/bin/bash
set -euo pipefail
work="$1"; out="$2"; bin="$3"; intervall="$4"
pulsgrenze=12

fehler() { echo "FEHLER: $*" >&2; exit 1; }
pause() { sleep "${1:-0.3}"; }
bild() { import -window root "$1"; }

keine_meldung() {
    if xdotool search --onlyvisible --name '^velmo$' >/dev/null 2>&1; then
        bild "$work/meldung.png"
        fehler "message box after: $1"
    fi
}

# Menu item by its Alt accelerators, e.g. menue d v for "Datei > Host verbinden".
menue() {
    xdotool windowfocus --sync "$fenster"
    xdotool key "alt+$1"
    pause 0.5
    xdotool key "$2"
    pause 0.5
}

# Waits up to $2 seconds for a line of the simulator's log matching $1.
im_log() {
    local bis=$((SECONDS + $2))
    until grep -qE "$1" "$log"; do
        [ $SECONDS -lt $bis ] || fehler "the simulator did not log: $1"
        sleep 0.2
    done
}

# The accessory lines the simulator received, in order, as sent; with
# their time stamps (seconds of the day) in ga_zeiten.
ga_log() { grep -E '^\S+ cmd#[0-9]+ < (SET|INIT)( [0-9]+)? GA ' "$log" || true; }
ga_zeilen() { ga_log | sed -E 's/^\S+ cmd#[0-9]+ < //'; }
ga_zeiten() { ga_log | awk '{ split($1, t, ":"); printf "%.3f %s\n", t[1] * 3600 + t[2] * 60 + t[3], $0 }'; }

# A left press on plan cell (c, r); the pointer then leaves the plan.
zelle_druecken() {
    xdotool mousemove $((planx + 27 * $1 + 13)) $((plany + 27 * $2 + 13)) click 1
    xdotool mousemove 1010 750
}

# drücken WHAT C R LINE...: presses cell (C, R) and waits until the
# simulator has received as many new accessory lines as given (the "off"
# lines come after the 5 s pulse); they must be exactly those lines, and
# the first "off" line must have come 5 s (at most 6 s) after the last "on"
# line.
druecken() {
    local was="$1" c="$2" r="$3" vorher neu bis puls
    shift 3
    vorher=$(ga_zeilen | wc -l)
    zelle_druecken "$c" "$r"
    bis=$((SECONDS + pulsgrenze))
    until [ "$(ga_zeilen | wc -l)" -ge $((vorher + $#)) ]; do
        [ $SECONDS -lt $bis ] || fehler "$was: $(($(ga_zeilen | wc -l) - vorher)) of $# accessory lines within ${pulsgrenze}s"
        sleep 0.2
    done
    # Lets the window draw the new picture and any stray line arrive.
    pause 1
    neu=$(ga_zeilen | tail -n +$((vorher + 1)))
    echo "$was:"
    sed 's/^/  /' <<<"$neu"
    [ "$neu" = "$(printf '%s\n' "$@")" ] || fehler "$was: the simulator received other lines than: $*"
    puls=$(ga_zeiten | tail -n +$((vorher + 1)) | awk '
        / 1 -1$/ { ein = $1 } / 0 -1$/ && !aus { aus = $1 }
        END { d = aus - ein; if (d < 0) d += 86400; printf "%.3f", d }')
    echo "  pulse ${puls}s"
    awk -v d="$puls" 'BEGIN { exit !(d >= 5.0 && d <= 6.0) }' || fehler "$was: pulse of ${puls}s, not 5 s"
    keine_meldung "$was"
}

# zellen SHOT C,R=ICON...: the cells of the screenshot against the pictures.
zellen() {
    local schuss="$1"
    shift
    python3 "$work/bild.py" zellen "$schuss" "$planx" "$plany" "$work/Data" "$@" ||
        fehler "$(basename "$schuss"): a cell does not show its expected picture"
}

# Feedback contacts of the plan: server contact, cell, element.
kontakte=(1:7,9:65 2:11,9:65 3:18,6:87 4:18,4:87 5:15,1:65 6:8,1:65 7:1,4:87 8:1,6:87 17:8,8:65 18:8,10:65)

# The demo train's reports to the feedback clients so far; the last contact
# occupied is where the train stands.
meldungen() { grep -cE '(fb|info)\* > .*FB (S88 |1 )?[0-9]+ [01]$' "$log" || true; }
zugstelle() { grep -E '(fb|info)\* > .*FB (S88 |1 )?[0-9]+ 1$' "$log" | tail -1 | awk '{print $(NF-1)}'; }

# Screenshot with the train on a contact: waits for its next step, lets the
# window draw both of the step's reports, and keeps the shot only when no
# step came while it was taken. Appends the contact to `gezeigt` and saves
# <out>/betrieb<v>_kontakt<k>.png.
aufnahme() {
    local vorher bis=$((SECONDS + 3 * intervall / 1000 + 3)) kontakt
    vorher=$(meldungen)
    while [ "$(meldungen)" = "$vorher" ]; do
        [ $SECONDS -lt $bis ] || fehler "the demo train does not move"
        sleep 0.05
    done
    sleep "$(awk -v ms="$intervall" 'BEGIN { print ms / 3000 }')"
    vorher=$(meldungen)
    kontakt=$(zugstelle)
    bild "$work/aufnahme.png"
    [ "$(meldungen)" = "$vorher" ] || fehler "the demo train moved while the screenshot was taken"
    mv "$work/aufnahme.png" "$out/betrieb${v}_kontakt$kontakt.png"
    gezeigt+=("$kontakt")
}

# Exactly the train's contact shows occupied, the nine others free.
zug_pruefen() {
    local kontakt="$1" k nummer zelle element auftraege=()
    for k in "${kontakte[@]}"; do
        IFS=: read -r nummer zelle element <<<"$k"
        if [ "$nummer" = "$kontakt" ]; then
            auftraege+=("$zelle=Icon${element}02.bmp")
        else
            auftraege+=("$zelle=Icon${element}01.bmp")
        fi
    done
    echo "train on contact $kontakt:"
    zellen "$out/betrieb${v}_kontakt$kontakt.png" "${auftraege[@]}"
}

# The settings file: port, host, protocol version (70 or 80), info mode
# off, ten locomotive blocks.
einstellungen() {
    {
        printf '%s\n127.0.0.1\n%s\n0\n' "$1" "$2"
        for _ in $(seq 10); do printf 'M1\nLok\n0\n-1\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n'; done
    } > "$work/Data/parmc.dat"
}

# One run: durchlauf SRCP-VERSION TAG SETTINGS-VERSION
durchlauf() {
    local srcp="$1" parm="$3" plan="$work/plan$2"
    v="$2"
    log="$out/betrieb_srcpsim$v.log"
    gezeigt=()
    echo "=== SRCP $srcp"
    mkdir -p "$plan"
    cp "$work/vorlage/bahnhof.pln" "$work/vorlage/bahnhof.fst" "$plan/"

    rm -f "$work/port"
    "$bin/srcpsim" --srcp "$srcp" --port 0 --demo 8 --interval "$intervall" > "$work/port" 2> "$log" &
    sim=$!
    trap 'kill "$sim" ${velmo:+"$velmo"} 2>/dev/null || true' EXIT
    until [ -s "$work/port" ]; do
        kill -0 "$sim" 2>/dev/null || fehler "srcpsim did not start"
        sleep 0.1
    done
    port=$(head -1 "$work/port")
    einstellungen "$port" "$parm"

    "$work/velmo" "$plan/bahnhof.pln" &
    velmo=$!
    fenster=$(xdotool search --sync --onlyvisible --name "Strandor V 0.5" | head -1)
    pause 2
    keine_meldung "start"
    titel=$(xdotool getwindowname "$fenster")
    [[ "$titel" == *"bahnhof.pln" ]] || fehler "window title after the start: $titel"

    # The plan view: row 0 of the sample is empty, so its first wide run of
    # plan silver is the view's top left. The cells to be pressed, the
    # route's cells and the contacts must show position 1 there.
    bild "$out/betrieb${v}_start.png"
    read -r planx plany < <(python3 "$work/bild.py" flaeche "$out/betrieb${v}_start.png" 192,192,192 200) ||
        fehler "no plan view found"
    echo "plan view at ($planx, $plany); the plan as opened:"
    zellen "$out/betrieb${v}_start.png" 15,9=Icon0801.bmp 13,1=Icon0901.bmp 13,9=Icon1501.bmp \
        4,9=Icon1001.bmp 13,8=Icon1501.bmp 11,10=Icon6601.bmp 11,7=Icon8801.bmp \
        7,9=Icon6501.bmp 18,6=Icon8701.bmp

    # Datei > Host verbinden.
    menue d v
    if [ "$srcp" = 0.8 ]; then
        im_log 'cmd#[0-9]+ < GET 3 DESCRIPTION' 10
    else
        im_log 'cmd#1 < SET POWER ON' 10
    fi
    pause 1
    keine_meldung "Host verbinden"

    # W2 goes to "abzweigend" (1/6), W3 to "abzweigend" (3/2, DCC), S1 to
    # "Fahrt" (2/2). Under 0.80 each address is announced with its first use.
    if [ "$srcp" = 0.8 ]; then
        druecken "W2 (15, 9)" 15 9 "INIT 1 GA 7 M" "SET 1 GA 7 1 1 -1" "SET 1 GA 7 1 0 -1"
        druecken "W3 (13, 1)" 13 1 "INIT 2 GA 13 N" "SET 2 GA 13 1 1 -1" "SET 2 GA 13 1 0 -1"
        druecken "S1 (13, 9)" 13 9 "INIT 1 GA 9 M" "SET 1 GA 9 1 1 -1" "SET 1 GA 9 1 0 -1"
    else
        druecken "W2 (15, 9)" 15 9 "SET GA M 7 1 1 -1" "SET GA M 7 1 0 -1"
        druecken "W3 (13, 1)" 13 1 "SET GA N 13 1 1 -1" "SET GA N 13 1 0 -1"
        druecken "S1 (13, 9)" 13 9 "SET GA M 9 1 1 -1" "SET GA M 9 1 0 -1"
    fi
    bild "$out/betrieb${v}_geschaltet.png"
    echo "after the presses:"
    zellen "$out/betrieb${v}_geschaltet.png" 15,9=Icon0802.bmp 13,1=Icon0902.bmp 13,9=Icon1502.bmp \
        4,9=Icon1001.bmp 13,8=Icon1501.bmp 10,2=Icon0901.bmp

    # Route 1: W1 gerade (1/1), S1 Fahrt (2/2), W2 gerade (1/5), S2 Halt
    # (2/3): all "on" lines, one pulse, all "off" lines in the same order.
    if [ "$srcp" = 0.8 ]; then
        druecken "route button 1 (11, 10)" 11 10 "INIT 1 GA 5 M" "INIT 1 GA 10 M" \
            "SET 1 GA 5 0 1 -1" "SET 1 GA 9 1 1 -1" "SET 1 GA 7 0 1 -1" "SET 1 GA 10 0 1 -1" \
            "SET 1 GA 5 0 0 -1" "SET 1 GA 9 1 0 -1" "SET 1 GA 7 0 0 -1" "SET 1 GA 10 0 0 -1"
    else
        druecken "route button 1 (11, 10)" 11 10 \
            "SET GA M 5 0 1 -1" "SET GA M 9 1 1 -1" "SET GA M 7 0 1 -1" "SET GA M 10 0 1 -1" \
            "SET GA M 5 0 0 -1" "SET GA M 9 1 0 -1" "SET GA M 7 0 0 -1" "SET GA M 10 0 0 -1"
    fi
    bild "$out/betrieb${v}_fahrstrasse.png"
    echo "after the route button:"
    zellen "$out/betrieb${v}_fahrstrasse.png" 4,9=Icon1011.bmp 13,9=Icon1512.bmp 15,9=Icon0811.bmp \
        13,8=Icon1511.bmp 13,1=Icon0902.bmp

    # Rückmeldung > Abfrage starten: the feedback connection (0.73) or the
    # poll session (0.80, three seconds of handshake).
    menue r s
    if [ "$srcp" = 0.8 ]; then
        im_log 'session [0-9]+ \(info\)' 10
    else
        im_log 'fb#1 ' 10
    fi
    pause 1
    keine_meldung "Abfrage starten"
    aufnahme
    aufnahme
    for k in "${gezeigt[@]}"; do zug_pruefen "$k"; done
    [ "${gezeigt[0]}" != "${gezeigt[1]}" ] || fehler "the train did not move"

    # Rückmeldung > Abfrage beenden, Datei > Host trennen, Datei > Exit.
    menue r b
    menue d t
    im_log 'cmd#[0-9]+ \* disconnected' 5
    menue d x
    for _ in $(seq 50); do kill -0 "$velmo" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$velmo" 2>/dev/null; then
        bild "$work/ende.png"
        fehler "the window did not close after Host trennen and Exit"
    fi
    wait "$velmo" 2>/dev/null || true
    unset velmo
    kill "$sim"
    wait "$sim" 2>/dev/null || true
    trap - EXIT

    # The whole run: nothing but the lines of the presses, in their order
    # (no position was sent at the connect).
    echo "accessory lines of the whole run: $(ga_zeilen | wc -l)"
    if [ "$srcp" = 0.8 ]; then
        [ "$(ga_zeilen | wc -l)" -eq 19 ] || fehler "not the 19 accessory lines of the presses"
        echo "replies to the accessory lines:"
        python3 "$work/antworten.py" "$log" || fehler "a command was refused or left unanswered"
    else
        [ "$(ga_zeilen | wc -l)" -eq 14 ] || fehler "not the 14 accessory lines of the presses"
        ! grep -E 'cmd#[0-9]+ \* rejected' "$log" || fehler "the simulator rejected a command"
    fi
    echo "contacts ${gezeigt[*]} shown occupied in turn"
}

durchlauf 0.7.3 073 70
durchlauf 0.8 08 80
echo "all checks passed"
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/lauf.sh" "$work" "$out" "$build/bin" "$intervall"
echo "screenshots and simulator logs in $out"
