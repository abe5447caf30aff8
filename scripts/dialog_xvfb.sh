#!/bin/bash
# Qt's own dialogs in the real Velmo window under Xvfb, which speak German
# as the program loads Qt's German texts: opens "Datei > Öffnen" and saves a
# screenshot of the file dialog to PNG, then "Befehle > freie Befehle" and
# one of the input dialog ("OK", "Abbrechen") as eingabedialog.png beside it:
#   bash scripts/dialog_xvfb.sh [PNG]   (default build/bilder/dateidialog.png)
# Exits non-zero when a dialog does not open.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/arbeitskopie.sh"
ziel="$(realpath -m "${1:-$root/build/bilder/dateidialog.png}")"
pfade "$root" "" "$(dirname "$ziel")"
fensterlauf "$root" "$build" velmo

cat > "$work/aufnehmen.sh" <<'INNER'
#!/bin/bash
set -euo pipefail
source "$FENSTERHILFEN"
work="$1"; ziel="$2"
# aufnahme TITLE PNG: the dialog TITLE alone, once it has drawn, then closed.
aufnahme() {
    dialog "$1"
    pause 1
    import -window "$(xdotool search --onlyvisible --name "^$1\$" | head -1)" "$2"
    xdotool key Escape
    pause
}
"$work/velmo" &
velmo=$!
fenster=$(hauptfenster)
pause 1
menue d f
aufnahme "Öffnen" "$ziel"
menue b b
aufnahme "Befehlseingabe" "$(dirname "$ziel")/eingabedialog.png"
kill "$velmo"
wait "$velmo" 2>/dev/null || true
INNER
im_xvfb "$work/aufnehmen.sh" "$work" "$ziel"
echo "screenshots: $ziel $(dirname "$ziel")/eingabedialog.png"
