#!/bin/bash
# Takes the pictures of the user guide doc/anleitung.md from the real Velmo
# window under Xvfb (1280x1024), driven with xdotool, and checks them:
#   bash scripts/bilder.sh [build-dir]            writes doc/bilder/*.png
#   bash scripts/bilder.sh --pruefen [build-dir]  for CI: the pictures go to
#                                                 <build-dir>/bilder/ only
# Both modes make the pictures in <build-dir>/bilder/ (build-dir defaults to
# build/), then check that every picture the guide names is there and not
# blank (more than 8 colours) and that the guide names every picture, and
# print how long it took; only the first mode then replaces doc/bilder/*.png.
# Two runs on the same machine give the same bytes: every picture is one
# window taken by its id once it stands still (no pointer over it, no
# blinking text cursor, no time stamps: the simulator speaks SRCP 0.7.3,
# whose replies carry none), without the PNG's date chunks; the work copy
# lies at the fixed path /tmp/velmo-anleitung, which the status bar shows,
# and the demo train is held on a known contact.
#   1. First start without a settings file: the message box, the empty
#      window (Bildschirm > 800x600), the dialogs "IP-Verbindung" and "SRCP
#      Version", then Datei > Neu and a few elements placed from the palette.
#   2. The sample layout against srcpsim (SRCP 0.7.3, demo train round
#      contacts 1 to 8): the decoder panel, route editing, connected with a
#      turnout switched and route 1 set, the train on contact 2, the
#      locomotive dialog and the throttles.
# It installs what it needs with scripts/deps.sh --window (xvfb, xauth,
# xdotool, imagemagick, x11-utils) and builds velmo and srcpsim first.
# Exits non-zero when a step or a check fails.
set -euo pipefail
start=$(date +%s.%N)
root="$(cd "$(dirname "$0")/.." && pwd)"
pruefen=0
if [ "${1:-}" = --pruefen ]; then
    pruefen=1
    shift
fi
source "$root/scripts/arbeitskopie.sh"
pfade "$root" "${1:-}" "${1:-$root/build}/bilder"
rm -f "$out"/*.png
fensterlauf "$root" "$build" velmo srcpsim

# The work copy moves to the path the pictures show; one run at a time.
fest=/tmp/velmo-anleitung
exec 9>"$fest.lock"
flock -w 300 9 || { echo "FEHLER: $fest is in use by another run" >&2; exit 1; }
rm -rf "$fest"
mv "$work" "$fest"
work="$fest"
rm "$work/Data/parmc.dat"
cp "$root/examples/bahnhof.pln" "$root/examples/bahnhof.fst" "$work/"

cat > "$work/aufnehmen.sh" <<'INNER'
#!/bin/bash
set -euo pipefail
source "$FENSTERHILFEN"
work="$1"; out="$2"; bin="$3"
log="$work/srcpsim.log"
intervall=1000
demo=8
meldemuster='fb\* > INFO FB S88 [0-9]+'
# The demo contacts of the sample: server contact, cell, element.
kontakte=(1:7,9:65 2:11,9:65 3:18,6:87 4:18,4:87 5:15,1:65 6:8,1:65 7:1,4:87 8:1,6:87)

maus_weg() { xdotool mousemove 1279 1023; pause 0.2; }
fenster_von() { timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -1; }

# fensterbild ID FILE [CROP]: window ID (cut to CROP, WxH+X+Y) into FILE
# once two grabs 0.3 s apart are the same, as PNG without date chunks.
fensterbild() {
    local id="$1" ziel="$2" schnitt=() n
    [ -z "${3:-}" ] || schnitt=(-crop "$3" +repage)
    import -window "$id" "${schnitt[@]}" "$work/vorher.ppm"
    for n in $(seq 20); do
        pause
        import -window "$id" "${schnitt[@]}" "$work/jetzt.ppm"
        cmp -s "$work/vorher.ppm" "$work/jetzt.ppm" && break
        mv "$work/jetzt.ppm" "$work/vorher.ppm"
        [ "$n" -lt 20 ] || fehler "window $id does not stand still for $(basename "$ziel")"
    done
    convert "$work/jetzt.ppm" -strip -define png:exclude-chunks=date,time "png:$ziel"
}

# bild_mit S FILE C,R=ICON...: the main window into FILE once its cells show
# those pictures of Data/; status 1 when they do not within S seconds.
bild_mit() {
    local bis=$((SECONDS + $1)) ziel="$2"
    shift 2
    until fensterbild "$fenster" "$ziel" && abweichungen "$ziel" "$@" | awk '$3 != 0 { exit 1 }'; do
        [ $SECONDS -lt $bis ] || return 1
    done
}

# A left press on plan cell (C, R) of the main window.
zelle_druecken() {
    xdotool mousemove $((FX + planx + 27 * $1 + 13)) $((FY + plany + 27 * $2 + 13)) click 1
    pause
}

# The plan view's top left in the main window: the first wide run of plan
# silver (row 0 of both plans is empty); FX, FY, FWIDTH, FHEIGHT: the
# window on the screen (X, Y and their kin belong to the dialog helper).
planlage() {
    maus_weg
    fensterbild "$fenster" "$work/lage.png"
    read -r planx plany _ < <(planansicht "$work/lage.png") || fehler "no plan view found"
    eval "$(xdotool getwindowgeometry --shell --prefix F "$fenster")"
}

# The window as a user first sees it: 800x600 from the menu "Bildschirm".
klein() {
    menue s 8
    pause 1
}

# ---- 1. First start without a settings file, a new plan --------------
"$work/velmo" &
velmo=$!
trap 'kill "$velmo" 2>/dev/null || true' EXIT
meldung=$(fenster_von Fehler) || fehler "no message box about the missing settings file"
maus_weg
fensterbild "$meldung" "$out/parameterdatei.png"
xdotool windowfocus --sync "$meldung" key Return
fenster=$(hauptfenster)
pause 1
klein
maus_weg
fensterbild "$fenster" "$out/erster_start.png"

menue e i
dialog "IP-Verbindung"
maus_weg
fensterbild "$(fenster_von IP-Verbindung)" "$out/ip_verbindung.png"
klick 276 204 # abbrechen
menue e s
dialog "SRCP Version"
klick 230 60 # SRCP 0.80
maus_weg
fensterbild "$(fenster_von "SRCP Version")" "$out/srcp_version.png"
klick 221 124 # abbrechen
keine_meldung "the settings dialogs"

# Datei > Neu, then the west end of the sample station from the palette:
# Gleis 1 with the three-way turnout and a feedback contact, the curves
# into Gleis 2 and the stub siding.
menue d n
datei_dialog "Neue Datei anlegen" "$work/anlage"
pause 1
planlage
read -r palx paly _ < <(bildpunkte box "$work/lage.png" 128,0,0) || fehler "no palette found"
for teil in 1@3,9 10@4,9 1@5,9 1@6,9 65@7,9 47@5,8 1@6,8 68@5,10 1@6,10; do
    element=${teil%@*}
    IFS=, read -r c r <<< "${teil#*@}"
    xdotool mousemove $((FX + palx + 28 * ((element - 1) % 22) + 14)) $((FY + paly + 28 * ((element - 1) / 22) + 14)) click 1
    pause 0.2
    zelle_druecken "$c" "$r"
done
keine_meldung "placing"
maus_weg
bild_mit 5 "$out/entwurf.png" 4,9=Icon1001.bmp 7,9=Icon6501.bmp 5,8=Icon4701.bmp 5,10=Icon6801.bmp ||
    fehler "the placed elements do not show"
programm_beenden "$work/ende.png"
wait "$velmo" 2>/dev/null || true

# ---- 2. The sample layout against the simulator -----------------------
simulator_starten 0.7.3 "$demo"
trap 'kill -CONT "$sim"; kill "$sim" "$velmo" 2>/dev/null || true' EXIT
einstellungen "$work/Data/parmc.dat" "$port" 127.0.0.1 70 0
"$work/velmo" "$work/bahnhof.pln" &
velmo=$!
fenster=$(hauptfenster)
pause 1
keine_meldung "opening the sample layout"
klein
planlage

# The decoder panel of the three-way turnout W1; route editing of route 1.
menue o d
zelle_druecken 4 9
maus_weg
fensterbild "$fenster" "$out/dekoder.png"
menue o e
maus_weg
bild_mit 5 "$out/fahrstrassen_bearbeiten.png" 4,9=Icon1011.bmp 15,9=Icon0811.bmp ||
    fehler "route editing does not show route 1"

# Operating: Host verbinden, W2 to "abzweigend" (decoder 1, output 6), then
# route 1; each picture once the pulse is over and the cells show it.
menue o b
menue d v
im_log 'cmd#1 < SET POWER ON' 10
zelle_druecken 15 9
maus_weg
im_log 'cmd#1 < SET GA M 7 1 0 -1' 10
bild_mit 5 "$out/weiche.png" 15,9=Icon0802.bmp || fehler "W2 does not show abzweigend"
zelle_druecken 11 10
maus_weg
im_log 'cmd#1 < SET GA M 10 0 0 -1' 10
bild_mit 5 "$out/fahrstrasse.png" 4,9=Icon1011.bmp 13,9=Icon1512.bmp 15,9=Icon0811.bmp 13,8=Icon1511.bmp ||
    fehler "route 1 does not show set"

# Rückmeldung > Abfrage starten; the train held on contact 2 (Gleis 1,
# before S1).
letzte_meldung() { grep -E "$meldemuster [01]\$" "$log" | tail -1 | awk '{ print $(NF-1), $NF }'; }

# zug_halten K FILE: the main window into FILE with the demo train on
# contact K. The simulator logs a report before it writes it to the
# socket, so it is stopped a moment after its step onto K, and the shot is
# kept when the window shows K occupied and the other contacts free;
# otherwise the train runs on to its next round.
zug_halten() {
    local frei="$(($1 == 1 ? demo : $1 - 1)) 0" ziel="$2" bis=$((SECONDS + 3 * demo * intervall / 1000 + 10))
    local k nummer zelle element zellen=()
    for k in "${kontakte[@]}"; do
        IFS=: read -r nummer zelle element <<< "$k"
        zellen+=("$zelle=Icon${element}0$((nummer == $1 ? 2 : 1)).bmp")
    done
    while [ $SECONDS -lt $bis ]; do
        if [ "$(letzte_meldung)" = "$frei" ]; then
            sleep 0.1
            kill -STOP "$sim"
            if [ "$(letzte_meldung)" = "$frei" ] && bild_mit 3 "$ziel" "${zellen[@]}"; then
                kill -CONT "$sim"
                return 0
            fi
            kill -CONT "$sim"
            while [ "$(letzte_meldung)" = "$frei" ] && [ $SECONDS -lt $bis ]; do sleep 0.05; done
        fi
        sleep 0.05
    done
    return 1
}
menue r s
im_log 'fb#1 ' 10
zug_halten 2 "$out/rueckmeldung.png" || fehler "the demo train was not caught on contact 2"

# Locomotive 1 in the decoder dialog: Märklin M3, address 3, "BR 50",
# Vmax 100, light on F1, horn on F2. The last click goes to a radio button,
# so that no edit has the blinking text cursor in the picture.
eintragen() {
    klick $(($1 + 48)) $(($2 + 10))
    xdotool key ctrl+a
    xdotool type --delay 20 "$3"
}
symbol() {
    klick $((272 + 24 * ($1 - 1))) 384
    klick $((172 + 32 * ($2 - 1))) 452
}
# The throttle panel: the bottom strip above the scroll bar and the status
# bar (17 pixels each).
streifen=$((FHEIGHT - 113 - 17 - 17))
rx=$((FX + 1)); ry=$((FY + streifen))
menue o l
xdotool mousemove $((rx + 32)) $((ry + 88)) click 1
dialog "Lokdekoder-Einstellungen"
klick 144 64  # Märklin/Motorola
klick 270 134 # M3
eintragen 328 168 3
eintragen 328 208 "BR 50"
eintragen 328 248 100
symbol 5 1
symbol 2 2
klick 270 134
maus_weg
fensterbild "$(fenster_von Lokdekoder-Einstellungen)" "$out/lokdialog.png"
klick 252 492 # speichern
keine_meldung "speichern in the decoder dialog"

# Optionen > Betrieb; throttle 1 pulled up and its light F0 switched on.
menue o b
xdotool mousemove $((rx + 32)) $((ry + 60)) mousedown 1
for y in $(seq 56 -4 40); do
    xdotool mousemove $((rx + 32)) $((ry + y))
    sleep 0.05
done
xdotool mouseup 1
pause
xdotool mousemove $((rx + 52)) $((ry + 15)) click 1
im_log 'cmd#1 < SET GL M3 3 [01] [0-9]+ 100 1 ' 10
echo "throttle 1 sent: $(grep -E 'cmd#1 < SET GL ' "$log" | tail -1 | sed -E 's/^\S+ cmd#1 < //')"
maus_weg
fensterbild "$fenster" "$out/lokregler.png" "570x113+1+$streifen"

beenden
kill "$sim"
wait "$sim" 2>/dev/null || true
trap - EXIT
INNER
FENSTERHILFEN="$root/scripts/fensterhilfen.sh" xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash "$work/aufnehmen.sh" "$work" "$out" "$build/bin"

# Every picture the guide names is there and not blank; the guide names
# every picture.
anleitung="$root/doc/anleitung.md"
mapfile -t genannt < <(grep -oE '\]\(bilder/[a-z0-9_]+\.png\)' "$anleitung" | sed -E 's/^\]\(bilder\/(.*)\)$/\1/' | sort -u)
[ ${#genannt[@]} -gt 0 ] || { echo "FEHLER: $anleitung names no picture" >&2; exit 1; }
falsch=0
for name in "${genannt[@]}"; do
    if [ ! -s "$out/$name" ]; then
        echo "FEHLER: $name, named in the guide, was not made" >&2; falsch=1; continue
    fi
    farben=$(identify -format %k "$out/$name")
    printf '  %-30s %s, %d colours, %d bytes\n' "$name" "$(identify -format %wx%h "$out/$name")" "$farben" "$(stat -c %s "$out/$name")"
    [ "$farben" -gt 8 ] || { echo "FEHLER: $name is blank ($farben colours)" >&2; falsch=1; }
done
for datei in "$out"/*.png; do
    printf '%s\n' "${genannt[@]}" | grep -qxF "$(basename "$datei")" ||
        { echo "FEHLER: the guide does not name $(basename "$datei")" >&2; falsch=1; }
done
[ "$falsch" -eq 0 ] || exit 1

if [ "$pruefen" -eq 0 ]; then
    mkdir -p "$root/doc/bilder"
    rm -f "$root/doc/bilder"/*.png
    cp "$out"/*.png "$root/doc/bilder/"
    ziel="$root/doc/bilder"
else
    ziel="$out"
fi
echo "bilder.sh: ${#genannt[@]} pictures in $ziel, $(du -ch "$ziel"/*.png | tail -1 | cut -f1) together," \
     "$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }') s"
