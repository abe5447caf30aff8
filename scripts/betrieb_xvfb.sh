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
source "$root/scripts/arbeitskopie.sh"
pfade "$root" "${1:-}" "${2:-}"
fensterlauf "$root" "$build" velmo srcpsim
intervall="${3:-1500}"
mkdir "$work/vorlage"
cp "$root/examples/bahnhof.pln" "$root/examples/bahnhof.fst" "$work/vorlage/"

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
source "$FENSTERHILFEN"
work="$1"; out="$2"; bin="$3"; intervall="$4"
pulsgrenze=12
# The demo train's reports to the feedback clients, up to the contact number.
meldemuster='(fb|info)\* > .*FB (S88 |1 )?[0-9]+'

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
    local schuss="$1" ergebnis zelle icon n falsch=0
    shift
    ergebnis=$(abweichungen "$schuss" "$@")
    while read -r zelle icon n; do
        printf '  cell %-6s %s: %d pixels differ\n' "$zelle" "$icon" "$n"
        [ "$n" -eq 0 ] || falsch=1
    done <<<"$ergebnis"
    [ "$falsch" -eq 0 ] || fehler "$(basename "$schuss"): a cell does not show its expected picture"
}

# Feedback contacts of the plan: server contact, cell, element.
kontakte=(1:7,9:65 2:11,9:65 3:18,6:87 4:18,4:87 5:15,1:65 6:8,1:65 7:1,4:87 8:1,6:87 17:8,8:65 18:8,10:65)

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

# schritt NAME KEY ITEM PATTERN-0.8 PATTERN-0.73: the menu item NAME by its
# Alt accelerators; waits up to 10 s for the simulator to log a line
# matching the pattern of the run's protocol version, then a second for the
# window; no message box after it.
schritt() {
    menue "$2" "$3"
    if [ "$srcp" = 0.8 ]; then
        im_log "$4" 10
    else
        im_log "$5" 10
    fi
    pause 1
    keine_meldung "$1"
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

    simulator_starten "$srcp" 8
    trap 'kill "$sim" ${velmo:+"$velmo"} 2>/dev/null || true' EXIT
    # Port, host, protocol version, info mode off.
    einstellungen "$work/Data/parmc.dat" "$port" 127.0.0.1 "$parm" 0

    "$work/velmo" "$plan/bahnhof.pln" &
    velmo=$!
    fenster=$(hauptfenster)
    pause 2
    keine_meldung "start"
    titel=$(xdotool getwindowname "$fenster")
    [[ "$titel" == *"bahnhof.pln" ]] || fehler "window title after the start: $titel"

    # The plan view: row 0 of the sample is empty, so its first wide run of
    # plan silver is the view's top left. The cells to be pressed, the
    # route's cells and the contacts must show position 1 there.
    bild "$out/betrieb${v}_start.png"
    read -r planx plany _ < <(planansicht "$out/betrieb${v}_start.png") ||
        fehler "no plan view found"
    echo "plan view at ($planx, $plany); the plan as opened:"
    zellen "$out/betrieb${v}_start.png" 15,9=Icon0801.bmp 13,1=Icon0901.bmp 13,9=Icon1501.bmp \
        4,9=Icon1001.bmp 13,8=Icon1501.bmp 11,10=Icon6601.bmp 11,7=Icon8801.bmp \
        7,9=Icon6501.bmp 18,6=Icon8701.bmp

    # Datei > Host verbinden.
    schritt "Host verbinden" d v 'cmd#[0-9]+ < GET 3 DESCRIPTION' 'cmd#1 < SET POWER ON'

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
    schritt "Abfrage starten" r s 'session [0-9]+ \(info\)' 'fb#1 '
    aufnahme "$out/betrieb${v}_kontakt"
    aufnahme "$out/betrieb${v}_kontakt"
    for k in "${gezeigt[@]}"; do zug_pruefen "$k"; done
    [ "${gezeigt[0]}" != "${gezeigt[1]}" ] || fehler "the train did not move"

    # Rückmeldung > Abfrage beenden, Datei > Host trennen, Datei > Exit.
    beenden
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
im_xvfb "$work/lauf.sh" "$work" "$out" "$build/bin" "$intervall"
echo "screenshots and simulator logs in $out"
