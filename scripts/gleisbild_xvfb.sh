#!/bin/bash
# Draws a small station with real mouse presses in the real Velmo window
# under Xvfb, gives two of its elements decoder addresses, saves the plan,
# opens it again through the file dialog and checks the plan file:
#   <out>/gleisbild_entwurf.png   design mode with the drawn station
#   <out>/gleisbild_dekoder.png   decoder mode, the panel filled for the signal
#   <out>/gleisbild_geoeffnet.png the plan opened again, in operating mode
#   <out>/gleisbild_zoom100.png   design mode at 100 % after three steps
#                                 undone and redone by keyboard
#   <out>/gleisbild_zoom300.png   the same at 300 %
#   <out>/bahnhof.pdf, <out>/bahnhof-1.png …
#                                 "Als PDF exportieren" and its pages as
#                                 pictures (pdftoppm)
#   bash scripts/gleisbild_xvfb.sh [build-dir] [out-dir]
# Exits non-zero when a step fails or the plan file is not what was drawn.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/arbeitskopie.sh"
pfade "$root" "${1:-}" "${2:-}"
fensterlauf "$root" "$build" velmo

# Compares the plan file with what was drawn. Arguments: the plan file, then
# one word per expected record in placement order, "E@C,R" (element E in
# cell C,R) or "loch" for the deleted one, then "--" and checks of the form
# "C,R:Feld=Wert" on the record in cell C,R.
cat > "$work/pruefen.py" <<'PY'
import sys

FELDER = ["Nummer", "Element", "X", "Y", "Zustand", "Dekoder1", "Dekoder2", "Dekoder3",
          "Adresse1", "Adresse2", "Adresse3", "Fahrstrasse", "Protokoll"]
pfad = sys.argv[1]
trenner = sys.argv.index("--")
erwartet, pruefungen = sys.argv[2:trenner], sys.argv[trenner + 1:]

zeilen = open(pfad, encoding="latin-1").read().split("\n")
if zeilen and zeilen[-1] == "":
    zeilen.pop()
anzahl = int(zeilen[0])
fehler = []
if len(zeilen) != 1 + 13 * anzahl:
    fehler.append("file has %d lines, %d records need %d" % (len(zeilen), anzahl, 1 + 13 * anzahl))
saetze = []
for i in range(anzahl):
    werte = zeilen[1 + 13 * i:1 + 13 * (i + 1)]
    satz = dict(zip(FELDER, werte))
    for f in FELDER[:-1]:
        satz[f] = int(satz.get(f, "0"))
    saetze.append(satz)

if anzahl != len(erwartet):
    fehler.append("record count %d, expected %d" % (anzahl, len(erwartet)))
for i, (satz, soll) in enumerate(zip(saetze, erwartet), start=1):
    if soll == "loch":
        if any(satz[f] != 0 for f in FELDER[:-1]) or satz["Protokoll"] != "":
            fehler.append("record %d should be a cleared hole: %s" % (i, satz))
        continue
    element, zelle = soll.split("@")
    c, r = (int(v) for v in zelle.split(","))
    ist = (satz["Nummer"], satz["Element"], satz["X"], satz["Y"], satz["Zustand"])
    if ist != (i, int(element), 27 * c, 27 * r, 1):
        fehler.append("record %d is (Nummer, Element, X, Y, Zustand) %s, expected %s"
                      % (i, ist, (i, int(element), 27 * c, 27 * r, 1)))

for pruefung in pruefungen:
    zelle, bedingung = pruefung.split(":")
    feld, wert = bedingung.split("=")
    c, r = (int(v) for v in zelle.split(","))
    treffer = [s for s in saetze if s["X"] == 27 * c and s["Y"] == 27 * r and s["Element"] != 0]
    if not treffer:
        fehler.append("no record in cell %s" % zelle)
    elif str(treffer[0][feld]) != wert:
        fehler.append("cell %s: %s is %r, expected %r" % (zelle, feld, treffer[0][feld], wert))

for f in fehler:
    print("FEHLER:", f)
print("%d records checked, %d field checks, %d errors" % (anzahl, len(pruefungen), len(fehler)))
sys.exit(1 if fehler else 0)
PY

cat > "$work/zeichnen.sh" <<'INNER'
#!/bin/bash
set -euo pipefail
source "$FENSTERHILFEN"
work="$1"; out="$2"
plan="$work/bahnhof.pln"
kastanie=128,0,0; oliv=128,128,0; petrol=0,128,128

# Screen point in the middle of plan cell (C, R).
zelle_x() { echo $((planx + 27 * $1 + 13)); }
zelle_y() { echo $((plany + 27 * $2 + 13)); }

# Picks palette element I (1..88): spot column (I-1)%22, row (I-1)/22.
click_palette() {
    local i=$1
    xdotool mousemove $((palx + 28 * ((i - 1) % 22) + 14)) $((paly + 28 * ((i - 1) / 22) + 14)) click 1
    pause
}

# Places element I in cell (C, R): palette pick, press and release on the cell.
place() {
    local i=$1 c=$2 r=$3
    click_palette "$i"
    xdotool mousemove "$(zelle_x "$c" "$r")" "$(zelle_y "$c" "$r")" click 1
    pause
    keine_meldung "placing element $i in cell $c,$r"
}

# Places element I by a drag: press in the first cell, move with the left
# button held through the following cells, release in the last one.
drag() {
    local i=$1 c r; shift
    click_palette "$i"
    IFS=, read -r c r <<< "$1"; shift
    xdotool mousemove "$(zelle_x "$c" "$r")" "$(zelle_y "$c" "$r")" mousedown 1
    pause
    for ziel in "$@"; do
        IFS=, read -r c r <<< "$ziel"
        # Two steps per cell, as a hand moves, so the program sees motion
        # inside the cell too.
        xdotool mousemove "$(zelle_x "$c" "$r")" "$(( $(zelle_y "$c" "$r") - 6 ))"
        pause 0.15
        xdotool mousemove "$(zelle_x "$c" "$r")" "$(zelle_y "$c" "$r")"
        pause 0.3
    done
    xdotool mouseup 1
    pause
    keine_meldung "dragging element $i"
}

# Right press on cell (C, R): deletes the first record there.
delete() {
    xdotool mousemove "$(zelle_x "$1" "$2")" "$(zelle_y "$1" "$2")" click 3
    pause
    keine_meldung "deleting in cell $1,$2"
}

# Left press on a placed element in decoder mode: the panel shows its rows.
waehle() {
    xdotool mousemove "$(zelle_x "$1" "$2")" "$(zelle_y "$1" "$2")" click 1
    pause 0.5
}

# Writes TEXT into the edit at panel position (X, Y) (its top-left corner).
feld() {
    xdotool mousemove $((dekx + $1 + 45)) $((deky + $2 + 12)) click 1
    pause 0.2
    xdotool key ctrl+a
    xdotool type --delay 20 "$3"
    pause 0.2
}

# Decoder rows of the element in cell (C, R): decoder/output of positions 1
# and 2, the protocol, then "Speichern".
dekoder() {
    local c=$1 r=$2 dek1=$3 adr1=$4 dek2=$5 adr2=$6 protokoll=$7
    waehle "$c" "$r"
    feld 150 24 "$dek1"; feld 250 24 "$adr1"
    feld 150 52 "$dek2"; feld 250 52 "$adr2"
    feld 350 24 "$protokoll"
    xdotool mousemove $((dekx + 350 + 30)) $((deky + 87 + 10)) click 1
    pause 0.5
    keine_meldung "decoder rows of cell $c,$r"
}

"$work/velmo" &
velmo=$!
trap 'kill "$velmo" 2>/dev/null || true' EXIT
fenster=$(hauptfenster)
pause 1
keine_meldung "start"

# Datei > Neu: the plan "bahnhof.pln" in the work directory; design mode.
menue d n
datei_dialog "Neue Datei anlegen" "$work/bahnhof"
pause 1
titel=$(xdotool getwindowname "$fenster")
[[ "$titel" == *"Gleisbild: bahnhof.pln" ]] || fehler "window title after Neu: $titel"

# Where the plan view and the palette are: the first wide silver area and
# the maroon box, found in a screenshot rather than assumed.
bild "$work/lage.png"
read -r planx plany planb < <(planansicht "$work/lage.png") || fehler "no plan view found"
read -r palx paly palb palh < <(bildpunkte box "$work/lage.png" $kastanie) || fehler "no palette found"
eval "$(xdotool getwindowgeometry --shell "$fenster")"
echo "window at $X,$Y size ${WIDTH}x$HEIGHT; plan view at $planx,$plany, ${planb} wide; palette at $palx,$paly size ${palb}x$palh"
if [ "$palb" -ne 617 ] || [ "$palh" -ne 113 ]; then fehler "palette is ${palb}x$palh, not 617x113"; fi
if [ "$planx" -ne $((X + 1)) ] || [ "$palx" -ne $((X + 1)) ]; then
    fehler "plan view or palette not one pixel right of the window's left edge"
fi
[ "$paly" -gt "$plany" ] || fehler "palette above the plan view"

# The station: a through line on row 5 with a signal, a feedback contact and
# two turnouts; the first turnout leads north-east to a siding on row 4, the
# second south-west to a siding on row 6; both sidings end at buffer stops.
# Each entry of "erwartet" is the record the placement appends.
erwartet=()
setze() { place "$@"; erwartet+=("$1@$2,$3"); }
setze 1 1 5        # straight
setze 15 2 5       # signal
setze 6 3 5        # turnout W-E / W-NE
setze 1 4 5        # straight
setze 1 6 5        # straight
setze 9 7 5        # turnout E-W / E-SW
setze 1 8 5        # straight
setze 5 4 4        # curve SW-E, the northern siding
setze 1 5 4        # straight
setze 18 6 4       # buffer stop, track from the west
setze 2 6 6        # curve W-NE, the southern siding
setze 1 5 6        # straight
setze 19 4 6       # buffer stop, track from the east
# The feedback contact is dragged: pressed in cell 5,8, carried up over the
# empty cell 5,7 and the siding straight in 5,6 (which must get its picture
# back) and released in the through line at 5,5.
drag 65 5,8 5,7 5,6 5,5
erwartet+=("65@5,5")
# A spare uncoupler, placed and deleted again with the right button: its
# record stays as a cleared hole.
setze 20 10 2
delete 10 2
erwartet[-1]=loch
xdotool mousemove $((planx + 600)) $((plany + 300))
pause 0.5
bild "$out/gleisbild_entwurf.png"
# The part of the screen that the plan view shows above the palette.
sicht="${planb}x$((paly - plany))+$planx+$plany"

# Optionen > Dekoderadressen: saves the plan and shows the olive panel.
menue o d
keine_meldung "Dekoderadressen"
[ -s "$plan" ] || fehler "Dekoderadressen did not save $plan"
bild "$work/dekoderlage.png"
read -r dekx deky _ < <(bildpunkte flaeche "$work/dekoderlage.png" $oliv 300) || fehler "no decoder panel found"
# The panel takes the palette's place (its raised frame may cost a pixel).
if (( dekx < palx || dekx > palx + 1 || deky < paly || deky > paly + 1 )); then
    fehler "decoder panel at $dekx,$deky, not where the palette was ($palx,$paly)"
fi
echo "decoder panel at $dekx,$deky"
# The turnout: decoder 3 outputs 1 and 2; the signal: decoder 5 outputs 1 and 2.
dekoder 3 5 3 1 3 2 M
dekoder 2 5 5 1 5 2 M
xdotool mousemove $((planx + 600)) $((plany + 300))
pause 0.5
bild "$out/gleisbild_dekoder.png"

# Datei > Speichern writes the plan without a dialog.
menue d s
keine_meldung "Speichern"
cp "$plan" "$work/gespeichert.pln"

# Datei > Öffnen of the same file: read, drawn, operating mode.
menue d f
datei_dialog "Öffnen" "$plan"
pause 2
keine_meldung "Öffnen"
xdotool mousemove $((planx + 600)) $((plany + 300))
pause 0.5
bild "$out/gleisbild_geoeffnet.png"

# The plan file: one record per placement in order, the deleted spare as a
# cleared hole, the dragged contact where the drag ended, the decoder rows
# typed for the turnout and the signal. A wrong file is reported after the
# picture checks below, so that a run shows all it can.
echo "--- $plan"
cat "$plan"
echo "---"
datei_richtig=1
python3 "$work/pruefen.py" "$plan" "${erwartet[@]}" -- \
    5,5:Element=65 \
    3,5:Element=6 3,5:Dekoder1=3 3,5:Adresse1=1 3,5:Dekoder2=3 3,5:Adresse2=2 3,5:Protokoll=M \
    2,5:Element=15 2,5:Dekoder1=5 2,5:Adresse1=1 2,5:Dekoder2=5 2,5:Adresse2=2 2,5:Protokoll=M \
    || datei_richtig=0
# Opening switched to operating mode, which saves again: the file must be
# unchanged by the round trip.
if ! cmp -s "$plan" "$work/gespeichert.pln"; then
    diff "$work/gespeichert.pln" "$plan" || true
    echo "FEHLER: plan file changed by Öffnen"
    datei_richtig=0
fi

# Operating mode: the teal throttle panel, no palette. Wide runs of a
# colour count, not single pixels: the signal's icon has maroon pixels of
# its own.
bildpunkte flaeche "$out/gleisbild_geoeffnet.png" $petrol 300 >/dev/null || fehler "no throttle panel after Öffnen"
if bildpunkte flaeche "$out/gleisbild_geoeffnet.png" $kastanie 300 >/dev/null; then
    fehler "palette still shown after Öffnen"
fi

# Every placed cell of the opened plan shows a picture, the deleted one is
# empty again.
gezeichnet=()
for e in "${erwartet[@]}"; do [ "$e" = loch ] || gezeichnet+=("${e#*@}"); done
leer=0
while read -r zelle n; do
    if [ "$zelle" = 10,2 ]; then
        [ "$n" -eq 0 ] || fehler "deleted cell 10,2 shows $n non-silver pixels"
    elif [ "$n" -lt 20 ]; then
        echo "cell $zelle shows no picture ($n pixels)"; leer=1
    fi
done < <(bildpunkte gezeichnet "$out/gleisbild_geoeffnet.png" "$planx" "$plany" "${gezeichnet[@]}" 10,2)
[ "$leer" -eq 0 ] || fehler "opened plan lacks pictures"

# The opened plan looks exactly as drawn: placing showed the same pictures
# that loading draws, and the drag and the deletion left nothing behind.
convert "$out/gleisbild_entwurf.png" -crop "$sicht" +repage "$work/sicht_entwurf.png"
convert "$out/gleisbild_geoeffnet.png" -crop "$sicht" +repage "$work/sicht_geoeffnet.png"
anders=$(compare -metric AE "$work/sicht_entwurf.png" "$work/sicht_geoeffnet.png" null: 2>&1 || true)
[ "$anders" = 0 ] || fehler "plan view after Öffnen differs from the drawn one in $anders pixels"

[ "$datei_richtig" -eq 1 ] || fehler "the plan file is not what was drawn"
echo "${#erwartet[@]} records (one deleted), dragged contact at 5,5, decoder rows of turnout and signal stored;" \
     "the opened plan shows the drawn station"

# Undo and redo by keyboard: three more placements in design mode, saved;
# Ctrl+Z three times and saved gives the file as it was before them, byte
# for byte; Ctrl+Y three times and saved gives the file with them again.
taste() { xdotool windowfocus --sync "$fenster"; xdotool key "$1"; pause 0.4; }
taste F2
cp "$plan" "$work/vorher.pln"
place 1 9 5
place 1 10 5
place 18 11 5
taste ctrl+s
cp "$plan" "$work/mit_dreien.pln"
bild "$work/drei.png"
cmp -s "$plan" "$work/vorher.pln" && fehler "the three placements did not change the saved file"
for _ in 1 2 3; do taste ctrl+z; done
taste ctrl+s
cmp "$plan" "$work/vorher.pln" || fehler "after three undos the saved file differs from the one before the placements"
for _ in 1 2 3; do taste ctrl+y; done
taste ctrl+s
cmp "$plan" "$work/mit_dreien.pln" || fehler "after three redos the saved file differs from the one with the placements"
echo "three placements undone and redone by keyboard; the saved files match byte for byte"

# Zoom: 100 % and 300 % (Ctrl+0, Ctrl++ twice) of the same plan.
xdotool mousemove $((planx + 600)) $((plany + 300))
taste ctrl+0
bild "$out/gleisbild_zoom100.png"
taste ctrl+plus
taste ctrl+plus
bild "$out/gleisbild_zoom300.png"
taste ctrl+0

# Datei > Als PDF exportieren: the plan page and the wiring sheet.
menue d p
datei_dialog "Als PDF exportieren" "$out/bahnhof.pdf"
pause 1
keine_meldung "Als PDF exportieren"
[ -s "$out/bahnhof.pdf" ] || fehler "no PDF written"
pdftoppm -png -r 50 "$out/bahnhof.pdf" "$out/bahnhof"
echo "PDF pages as pictures: $(ls "$out"/bahnhof-*.png | tr '\n' ' ')"

kill "$velmo"
wait "$velmo" 2>/dev/null || true
trap - EXIT
INNER
im_xvfb "$work/zeichnen.sh" "$work" "$out"
echo "screenshots in $out"
