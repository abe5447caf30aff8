#!/bin/bash
# Installs what is missing, builds Velmo and starts it together with the
# bundled SRCP simulator (base port 12345 on 127.0.0.1, a demo train on
# contacts 1 to 8) and a copy of the sample layout examples/bahnhof.pln in
# build/beispiel/. Needs a display.
#   run.sh [0.7.3|0.8]    the simulator's protocol mode, default 0.7.3
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
modus="${1:-0.7.3}"
case "$modus" in
    0.7.3|0.8) ;;
    *) echo "usage: run.sh [0.7.3|0.8]" >&2; exit 2 ;;
esac
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Velmo is a desktop program and needs a display, but none is set (DISPLAY is empty)." >&2
    echo "Start it from a graphical session, or try it under Xvfb: xvfb-run -a bash scripts/run.sh" >&2
    exit 1
fi
# The first start builds for a minute or two (on two cores); on a terminal
# one line shows how far the build is, compiler messages still show in full.
fortschritt() {
    if [ ! -t 1 ]; then cat; return; fi
    local zeile start=$SECONDS
    while IFS= read -r zeile; do
        if [[ $zeile =~ ^\[\ *([0-9]+)%\] ]]; then
            printf '\rVelmo wird gebaut: %3d %% (%d s)' "${BASH_REMATCH[1]}" $((SECONDS - start))
        fi
    done
    printf '\r%-50s\r' ''
}
"$root/scripts/deps.sh"
# Only what runs here: the program, its data and the simulator.
"$root/scripts/build.sh" "$root/build" velmo velmo_data srcpsim | fortschritt
bin="$root/build/bin"
# Velmo works on a copy of the sample layout, so that operating and saving
# never change examples/; the copy keeps what was saved until it is deleted.
beispiel="$root/build/beispiel"
mkdir -p "$beispiel"
cp -n "$root/examples/bahnhof.pln" "$root/examples/bahnhof.fst" "$beispiel/"
plan="$beispiel/bahnhof.pln"

"$bin/srcpsim" --srcp "$modus" --port 12345 --demo 8 --interval 1500 > "$root/build/srcpsim.log" 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
if [ "$modus" = 0.8 ]; then
    cat <<TEXT
The SRCP simulator speaks SRCP 0.8 on 127.0.0.1, port 12345, for every
session (command, info, feedback); its log is build/srcpsim.log.
In Velmo choose "Einstellungen > SRCP Version: SRCP 0.80" first.
TEXT
else
    cat <<TEXT
The SRCP simulator speaks SRCP 0.7.3 on 127.0.0.1, ports 12345 (commands),
12346 (feedback) and 12347 (info); its log is build/srcpsim.log.
TEXT
fi
cat <<TEXT
Velmo opens build/beispiel/bahnhof.pln, a copy of the sample layout
examples/bahnhof.pln (delete it for a fresh one). "Datei > Host verbinden"
connects, "Rückmeldung > Abfrage starten" shows the demo train on feedback
contacts 1 to 8; presses on turnouts and signals switch them, the two route
buttons set their routes.
TEXT
"$bin/velmo" "$plan"
