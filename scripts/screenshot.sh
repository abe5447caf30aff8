#!/bin/bash
# Takes screenshots of the real Velmo main window under Xvfb:
#   <out>/velmo_start.png      the window after start-up
#   <out>/velmo_ip_dialog.png  "Einstellungen > IP-Adresse Host" opened by keyboard
#   bash scripts/screenshot.sh [build-dir] [out-dir]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/arbeitskopie.sh"
pfade "$root" "${1:-}" "${2:-}"
fensterlauf "$root" "$build" velmo

cat > "$work/aufnehmen.sh" <<'INNER'
#!/bin/bash
set -euo pipefail
source "$FENSTERHILFEN"
work="$1"; out="$2"
"$work/velmo" &
velmo=$!
fenster=$(hauptfenster)
pause 1
bild "$out/velmo_start.png"
# Einstellungen > IP-Adresse Host; the dialog gets a second to draw.
menue e i
pause 0.5
bild "$out/velmo_ip_dialog.png"
kill "$velmo"
wait "$velmo" 2>/dev/null || true
INNER
im_xvfb "$work/aufnehmen.sh" "$work" "$out"
echo "screenshots in $out"
