#!/bin/bash
# Takes screenshots of the real Velmo main window under Xvfb:
#   <out>/velmo_start.png      the window after start-up
#   <out>/velmo_ip_dialog.png  "Einstellungen > IP-Adresse Host" opened by keyboard
#   bash scripts/screenshot.sh [build-dir] [out-dir]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
out="$(realpath -m "${2:-$build/screenshots}")"
mkdir -p "$out"

source "$root/scripts/arbeitskopie.sh"
fensterlauf "$root" "$build" velmo

cat > "$work/aufnehmen.sh" <<'INNER'
#!/bin/bash
set -euo pipefail
work="$1"; out="$2"
"$work/velmo" &
velmo=$!
window=$(xdotool search --sync --onlyvisible --name "Strandor V 0.5" | head -1)
sleep 1
import -window root "$out/velmo_start.png"
xdotool windowfocus --sync "$window"
xdotool key alt+e
sleep 0.5
xdotool key i
sleep 1
import -window root "$out/velmo_ip_dialog.png"
kill "$velmo"
wait "$velmo" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/aufnehmen.sh" "$work" "$out"
echo "screenshots in $out"
