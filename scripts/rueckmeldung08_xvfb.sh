#!/bin/bash
# Feedback over SRCP 0.8 in the real Velmo window under Xvfb, against
# srcpsim in its 0.8 mode whose demo train runs round contacts 1 to 8 of
# bus 1. As a user would: "SRCP Version" set to 0.80, "IP-Adresse Host" to
# the simulator's port with Info-Modus on, the plan of eight feedback
# contacts (written by build/bin/rueckplan) opened through "Öffnen", "Host
# verbinden" (command and info session), "Abfrage starten" (poll session);
# at three train positions a screenshot must show the contact the simulator
# last occupied in the occupied picture and every other contact free, pixel
# for pixel as Icon6502.bmp / Icon6501.bmp; then "Abfrage beenden", "Host
# trennen" and "E&xit".
#   <out>/rueckmeldung08_ip_dialog.png  the connection dialog filled in
#   <out>/rueckmeldung08_kontakt<k>.png the train on contact k (three steps)
#   <out>/srcpsim08.log                 the simulator's log of all sessions
#   bash scripts/rueckmeldung08_xvfb.sh [build-dir] [out-dir] [interval-ms]
# Exits non-zero when a step or a check fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build}")"
out="$(realpath -m "${2:-$build/screenshots}")"
intervall="${3:-1500}"
mkdir -p "$out"

source "$root/scripts/arbeitskopie.sh"
fensterlauf "$root" "$build" velmo
cmake --build "$build" -j"$(nproc)" --target srcpsim rueckplan >/dev/null
"$build/bin/rueckplan" "$work" 8 >/dev/null

# The first run of at least N pixels of colour R,G,B in a screenshot, row
# by row: "x y". ImageMagick turns the PNG into a binary PPM, read here
# without further libraries.
cat > "$work/flaeche.py" <<'PY'
import subprocess, sys

ppm = subprocess.run(["convert", sys.argv[1], "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
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
breite, hoehe, pixel = int(felder[1]), int(felder[2]), ppm[pos + 1:]
ziel, mindestens = bytes(int(v) for v in sys.argv[2].split(",")), int(sys.argv[3])
for y in range(hoehe):
    lauf = 0
    for x in range(breite):
        i = (y * breite + x) * 3
        lauf = lauf + 1 if pixel[i:i + 3] == ziel else 0
        if lauf == mindestens:
            print(x - mindestens + 1, y)
            sys.exit(0)
sys.exit(1)
PY

cat > "$work/lauf.sh" <<'INNER'
#!/bin/bash
set -euo pipefail
work="$1"; out="$2"; bin="$3"; intervall="$4"
log="$out/srcpsim08.log"
kontakte=8

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

# The dialog with that title: sets dx, dy to its top left corner.
dialog() {
    local id
    id=$(xdotool search --sync --onlyvisible --name "^$1\$" | head -1)
    eval "$(xdotool getwindowgeometry --shell "$id")"
    dx=$X; dy=$Y
    pause 0.5
}
# A press at (X, Y) of the dialog found last.
klick() {
    xdotool mousemove $((dx + $1)) $((dy + $2)) click 1
    pause
}

# Waits up to $2 seconds for a line of the simulator's log matching $1.
im_log() {
    local bis=$((SECONDS + $2))
    until grep -qE "$1" "$log"; do
        [ $SECONDS -lt $bis ] || fehler "the simulator did not log: $1"
        sleep 0.2
    done
}

# The demo train's reports to the info sessions so far; the last contact
# occupied is where the train stands.
meldungen() { grep -cE 'info\* > .* 100 INFO 1 FB [0-9]+ [01]$' "$log" || true; }
zugstelle() { grep -E 'info\* > .* 100 INFO 1 FB [0-9]+ 1$' "$log" | tail -1 | awk '{print $(NF-1)}'; }

# Screenshot with the train on a contact: waits for its next step, lets
# the window draw both of the step's reports, and keeps the shot only when
# no step came while it was taken. Sets kontakt and saves
# <out>/rueckmeldung08_kontakt<k>.png.
aufnahme() {
    local vorher bis=$((SECONDS + 3 * intervall / 1000 + 3))
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
    mv "$work/aufnahme.png" "$out/rueckmeldung08_kontakt$kontakt.png"
}

# Differing pixels between the 27x27 cell at screen point (X, Y) of a
# screenshot and a picture file.
unterschied() {
    convert "$1" -crop "27x27+$2+$3" +repage "$work/zelle.png"
    compare -metric AE "$work/zelle.png" "$4" null: 2>&1 || true
}

# Contact k lies in plan cell (k-1, 0). Every cell must equal the occupied
# picture for the train's contact and the free one for the others.
pruefen() {
    local bild="$1" zug="$2" k x besetzt frei falsch=0
    for k in $(seq "$kontakte"); do
        x=$((planx + 27 * (k - 1)))
        besetzt=$(unterschied "$bild" "$x" "$plany" "$work/Data/Icon6502.bmp")
        frei=$(unterschied "$bild" "$x" "$plany" "$work/Data/Icon6501.bmp")
        echo "  contact $k: $besetzt pixels off the occupied picture, $frei off the free one"
        if [ "$k" -eq "$zug" ]; then
            [ "$besetzt" = 0 ] || falsch=1
        else
            [ "$frei" = 0 ] || falsch=1
        fi
    done
    [ "$falsch" -eq 0 ] || fehler "$(basename "$bild"): not exactly contact $zug shown occupied"
}

"$bin/srcpsim" --srcp 0.8 --port 0 --demo "$kontakte" --interval "$intervall" > "$work/port" 2> "$log" &
sim=$!
"$work/velmo" &
velmo=$!
trap 'kill "$velmo" "$sim" 2>/dev/null || true' EXIT
until [ -s "$work/port" ]; do sleep 0.1; done
port=$(head -1 "$work/port")
fenster=$(xdotool search --sync --onlyvisible --name "Strandor V 0.5" | head -1)
pause 1
keine_meldung "start"

# The plan view: the first wide run of plan silver, found before a plan is
# drawn into it.
bild "$work/start.png"
read -r planx plany < <(python3 "$work/flaeche.py" "$work/start.png" 192,192,192 200) || fehler "no plan view found"

# Einstellungen > SRCP Version: the radio button "SRCP 0.80", "speichern".
menue e s
dialog "SRCP Version"
klick 230 60
klick 110 124
# Einstellungen > IP-Adresse Host: host and port typed, Info-Modus ticked,
# "speichern" writes the settings file.
menue e i
dialog "IP-Verbindung"
klick 260 60
xdotool key ctrl+a
xdotool type --delay 20 127.0.0.1
klick 206 108
xdotool key ctrl+a
xdotool type --delay 20 "$port"
klick 182 152
bild "$out/rueckmeldung08_ip_dialog.png"
klick 188 204
keine_meldung "the connection dialog"
einstellungen=$(head -4 "$work/Data/parmc.dat" | paste -sd' ')
[ "$einstellungen" = "$port 127.0.0.1 80 1" ] ||
    fehler "settings file begins \"$einstellungen\", not \"$port 127.0.0.1 80 1\" (port, host, SRCP 0.80, Info-Modus)"

# Datei > Öffnen of the plan of eight feedback contacts.
menue d f
dialog "Öffnen"
xdotool key ctrl+a
xdotool type --delay 20 "$work/rueck.pln"
xdotool key Return
pause 2
keine_meldung "Öffnen"
titel=$(xdotool getwindowname "$fenster")
[[ "$titel" == *"rueck.pln" ]] || fehler "window title after Öffnen: $titel"

# Datei > Host verbinden: the command session, then the info session; the
# routine returns a second after the info session's GO.
menue d v
im_log 'conn#1 < SET CONNECTIONMODE SRCP COMMAND' 10
im_log 'info#[0-9]+ \* session|session [0-9]+ \(info\)' 15
pause 2
keine_meldung "Host verbinden"
# Rückmeldung > Abfrage starten: the poll session, a second info session.
menue r s
im_log 'conn#3 < GO' 10
pause 2
keine_meldung "Abfrage starten"

# Three train positions, one step apart; the pictures are checked after
# all three are taken.
gezeigt=()
for _ in 1 2 3; do
    aufnahme
    gezeigt+=("$kontakt")
done
for k in "${gezeigt[@]}"; do
    echo "train on contact $k:"
    pruefen "$out/rueckmeldung08_kontakt$k.png" "$k"
done
[ "${gezeigt[0]}" != "${gezeigt[2]}" ] || fehler "the train did not move"

# Rückmeldung > Abfrage beenden, Datei > Host trennen, Datei > Exit: the
# window refuses to close while the command connection is open.
menue r b
menue d t
im_log 'cmd#[0-9]+ \* disconnected' 5
menue d x
for _ in $(seq 50); do kill -0 "$velmo" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$velmo" 2>/dev/null; then
    bild "$work/ende.png"
    fehler "the window did not close after Host trennen and Exit"
fi
pause 0.5
kill "$sim"
wait "$sim" 2>/dev/null || true
trap - EXIT

# The log shows both kinds of session with their opening exchange, and the
# feedback reports.
for muster in 'conn#[0-9]+ < SET CONNECTIONMODE SRCP COMMAND' 'conn#[0-9]+ < SET CONNECTIONMODE SRCP INFO' \
              'OK GO' 'named cmd#' 'named info#' 'cmd#[0-9]+ < GET 1 DESCRIPTION' 'info\* > .* 100 INFO 1 FB' \
              'info#[0-9]+ \* disconnected' 'cmd#[0-9]+ \* disconnected'; do
    grep -qE "$muster" "$log" || fehler "the simulator's log lacks: $muster"
done
[ "$(grep -cE '< SET CONNECTIONMODE SRCP INFO' "$log")" -eq 2 ] || fehler "not two info sessions (info and poll) in the log"
echo "contacts ${gezeigt[*]} shown occupied in turn, every other contact free"
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/lauf.sh" "$work" "$out" "$build/bin" "$intervall"
echo "screenshots and simulator log in $out"
