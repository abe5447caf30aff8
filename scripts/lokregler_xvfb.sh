#!/bin/bash
# The locomotive decoder dialog and the throttles in the real Velmo window
# under Xvfb, against srcpsim in its SRCP 0.8 mode, with real mouse presses
# and typing:
#   - "SRCP Version" 0.80 and host and port through their dialogs, the
#     sample layout opened from the command line (operating mode), "Host
#     verbinden";
#   - "Optionen > Lokregler", then the direction button of throttle 1 opens
#     "Lokdekoder-Einstellungen": Märklin M3, address 3, "BR 50", Vmax 100,
#     light on F1, horn on F2; throttle 2: DCC N1, address 10, "V 200",
#     Vmax 28, 4 functions, 28 speed steps, coupler on F2; "speichern";
#   - "Optionen > Betrieb", then: slider 1 dragged up and back down, F0 and
#     F2 of throttle 1, F0 of throttle 2, its direction button at
#     standstill, its F2, slider 2 dragged to the top.
# Each press must bring the drive line it stands for to the simulator;
# every locomotive is announced by one INIT before its first drive line,
# the server refuses nothing, and the panel shows the function pictures
# pixel for pixel as their files in Data/. After "Exit" the settings file
# holds both locomotives.
#   <out>/lokregler_dialog1.png  the dialog filled in for throttle 1
#   <out>/lokregler_dialog2.png  the dialog filled in for throttle 2
#   <out>/lokregler_panel.png    the throttle panel after driving
#   <out>/lokregler_srcpsim08.log the simulator's log
#   bash scripts/lokregler_xvfb.sh [build-dir] [out-dir]
# Exits non-zero when a step or a check fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/arbeitskopie.sh"
pfade "$root" "${1:-}" "${2:-}"
fensterlauf "$root" "$build" velmo srcpsim
cp "$root/examples/bahnhof.pln" "$root/examples/bahnhof.fst" "$work/"

cat > "$work/lauf.sh" <<'INNER'
#!/bin/bash
set -euo pipefail
source "$FENSTERHILFEN"
work="$1"; out="$2"; bin="$3"
log="$out/lokregler_srcpsim08.log"
# No demo train runs; its step is the simulator's default.
intervall=1000

# A left press at (X, Y) of the throttle panel.
im_panel() {
    xdotool mousemove $((rx + $1)) $((ry + $2)) click 1
    pause
}
# Throttle N's column: its direction button, its function pictures.
spalte() { echo $((24 + 40 * ($1 - 1))); }
richtung_klick() { im_panel $(($(spalte "$1") + 8)) 88; }
# funktion_klick N K: the picture of function K (0..4) of throttle N.
funktion_klick() { im_panel $(($(spalte "$1") + 28)) $((15 + 16 * $2)); }

# ziehen N VON NACH: presses slider N at height VON of the panel and moves
# the pointer to height NACH in steps, the button still held.
ziehen() {
    local x y schritt
    x=$((rx + $(spalte "$1") + 8))
    schritt=$(($3 > $2 ? 4 : -4))
    xdotool mousemove "$x" $((ry + $2)) mousedown 1
    for y in $(seq "$2" "$schritt" "$3"); do
        xdotool mousemove "$x" $((ry + y))
        sleep 0.05
    done
}
loslassen() { xdotool mouseup 1; pause; }

# In the open decoder dialog: TEXT typed into the edit at (X, Y) over
# what it held; symbol S (1..7) of the palette put on slot F K (1..4).
eintragen() {
    klick $(($1 + 48)) $(($2 + 10))
    xdotool key ctrl+a
    xdotool type --delay 20 "$3"
}
symbol() {
    klick $((248 + 24 + 24 * ($1 - 1))) 384
    klick $((172 + 32 * ($2 - 1))) 452
}
# Item I (1..5) of the decoder radio group: five columns across the group.
dekoder() { klick $((136 + 67 * ($1 - 1))) 134; }
# "speichern"; the dialog must close.
speichern() {
    klick 252 492
    pause 0.5
    ! xdotool search --onlyvisible --name '^Lokdekoder-Einstellungen$' >/dev/null 2>&1 ||
        fehler "the decoder dialog stays open after speichern"
    keine_meldung "speichern in the decoder dialog"
}

# The lines the simulator received for locomotive address A, as sent.
lokzeilen() {
    { grep -E "^\S+ cmd#[0-9]+ < (INIT|SET) [0-9]+ GL $1 " "$log" || true; } |
        sed -E 's/^\S+ cmd#[0-9]+ < //; s/ +$//'
}
# merken A: the lines for A so far; erwarten WAS A MUSTER: waits up to 5 s
# for a line for A after them matching the extended regular expression
# MUSTER as a whole, and prints it.
merken() { gemerkt=$(lokzeilen "$1" | wc -l); }
erwarten() {
    local bis=$((SECONDS + 5)) zeile
    until zeile=$(lokzeilen "$2" | tail -n +$((gemerkt + 1)) | grep -E "^$3\$" | tail -1); do
        [ $SECONDS -lt $bis ] || fehler "$1: no line \"$3\" for locomotive $2, got: $(lokzeilen "$2" | tail -n +$((gemerkt + 1)) | paste -sd'|')"
        sleep 0.2
    done
    printf '  %-40s %s\n' "$1:" "$zeile"
}

simulator_starten 0.8 0
"$work/velmo" "$work/bahnhof.pln" &
velmo=$!
trap 'kill "$velmo" "$sim" 2>/dev/null || true' EXIT
fenster=$(hauptfenster)
pause 2
keine_meldung "start"

# The throttle panel lies at the bottom left of the window's client area,
# above the scroll bar and the status bar (17 pixels each). Its shot must
# be teal within its one-pixel frame.
eval "$(xdotool getwindowgeometry --shell "$fenster")"
rx=$((X + 1)); ry=$((Y + HEIGHT - 113 - 17 - 17))
panelbild() { import -window root -crop "570x113+$rx+$ry" +repage "$1"; }
panelbild "$work/panel.png"
teal=$(bildpunkte box "$work/panel.png" 0,128,128) || teal="none"
[ "$teal" = "1 1 568 111" ] || fehler "no throttle panel at ($rx, $ry): teal box $teal"

srcp08_verbindung "$port" 0
menue d v
im_log 'cmd#[0-9]+ < GET 3 DESCRIPTION' 10
pause 1
keine_meldung "Host verbinden"

# Optionen > Lokregler: the direction buttons open the decoder dialog.
menue o l
richtung_klick 1
dialog "Lokdekoder-Einstellungen"
klick 144 64 # Märklin/Motorola
dekoder 3
eintragen 328 168 3
eintragen 328 208 "BR 50"
eintragen 328 248 100
symbol 5 1 # light
symbol 2 2 # horn
bild "$out/lokregler_dialog1.png"
speichern

richtung_klick 2
dialog "Lokdekoder-Einstellungen"
klick 312 64 # DCC/NMRA
dekoder 2
eintragen 328 168 10
eintragen 328 208 "V 200"
eintragen 328 248 28
eintragen 328 280 4
eintragen 328 320 28
symbol 3 2 # coupler
bild "$out/lokregler_dialog2.png"
speichern

# Optionen > Betrieb builds the throttles anew; then drive. At speed 0 a
# slider's handle lies right above its lower arrow button (16 pixels).
menue o b
pause 1
keine_meldung "Betrieb"
echo "lines for the presses:"
merken 3
ziehen 1 60 50
erwarten "slider 1 up" 3 'SET 1 GL 3 [01] [1-9][0-9]* 100 0( [01])*'
ziehen 1 50 120
loslassen
erwarten "slider 1 back down" 3 'SET 1 GL 3 [01] 0 100 0( [01])*'
merken 3
funktion_klick 1 0
erwarten "F0 of throttle 1" 3 'SET 1 GL 3 [01] 0 100 1 0 0( [01])*'
merken 3
funktion_klick 1 2
erwarten "F2 of throttle 1" 3 'SET 1 GL 3 [01] 0 100 1 0 1( [01])*'

merken 10
funktion_klick 2 0
erwarten "F0 of throttle 2" 10 'SET 2 GL 10 [01] 0 28 1 0 0 0 0'
richtung=$(lokzeilen 10 | tail -1 | cut -d' ' -f5)
merken 10
richtung_klick 2
erwarten "direction of throttle 2 at standstill" 10 "SET 2 GL 10 $((1 - richtung)) 0 28 1 0 0 0 0"
merken 10
funktion_klick 2 2
erwarten "F2 of throttle 2" 10 "SET 2 GL 10 $((1 - richtung)) 0 28 1 0 1 0 0"
merken 10
ziehen 2 60 -20
loslassen
erwarten "slider 2 to the top" 10 "SET 2 GL 10 $((1 - richtung)) 28 28 1 0 1 0 0"
pause 1
panelbild "$out/lokregler_panel.png"
keine_meldung "driving"

# Each locomotive: one INIT, before its first drive line, and the last
# line as driven.
for lok in "3:INIT 1 GL 3 M 3 [0-9]+ [0-9]+:SET 1 GL 3 [01] 0 100 1 0 1( [01])*" \
           "10:INIT 2 GL 10 N 2 28 5:SET 2 GL 10 $((1 - richtung)) 28 28 1 0 1 0 0"; do
    IFS=: read -r adresse init ende <<<"$lok"
    lokzeilen "$adresse" | head -1 | grep -qE "^$init\$" ||
        fehler "locomotive $adresse: the first line is not \"$init\""
    [ "$(lokzeilen "$adresse" | grep -c '^INIT')" -eq 1 ] || fehler "locomotive $adresse: not one INIT"
    lokzeilen "$adresse" | tail -1 | grep -qE "^$ende\$" ||
        fehler "locomotive $adresse: the last line is not \"$ende\""
done
! grep -E 'cmd#[0-9]+ > [0-9.]+ 4[0-9][0-9] ' "$log" || fehler "the simulator refused a command"

# F0 on in both throttles, light (off) on F1 and horn (on) on F2 of
# throttle 1, coupler (on) on F2 of throttle 2; throttle 1 still forward
# (arrow pointing left), throttle 2 turned to reverse (pointing right).
echo "pictures in the panel (pixels that differ):"
ergebnis=$(bildpunkte bilder "$out/lokregler_panel.png" "$work/Data" 45,8=Func_on.bmp 45,24=licht_aus.bmp \
    45,40=hupe_ein.bmp 85,8=Func_on.bmp 85,40=kupplung_ein.bmp 25,81=pfeil_li.bmp 65,81=pfeil_re.bmp)
sed 's/^/  /' <<<"$ergebnis"
awk '$3 != 0 { exit 1 }' <<<"$ergebnis" || fehler "the panel does not show the function and direction pictures"

beenden
trap 'kill "$sim" 2>/dev/null || true' EXIT
# Protocol, name, address and Vmax of the first two locomotive blocks.
gespeichert=$(sed -n '5,7p;10p;21,23p;26p' "$work/Data/parmc.dat" | paste -sd' ')
[ "$gespeichert" = "M3 BR 50 3 100 N1 V 200 10 28" ] || fehler "settings file holds the locomotives as: $gespeichert"

echo "lines the simulator received for the two locomotives:"
grep -E 'cmd#[0-9]+ < (INIT|SET) [0-9]+ GL (3|10) ' "$log" | sed 's/^/  /'
echo "all checks passed"
INNER
im_xvfb "$work/lauf.sh" "$work" "$out" "$build/bin"
echo "screenshots and simulator log in $out"
