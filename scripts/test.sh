#!/bin/bash
# Installs what is missing, builds Velmo into build/ and runs every test once;
# beside the suite it checks the installed folder and its desktop
# integration, after it takes the user guide's pictures afresh into
# build/bilder/ from the real window.
# CI's other stages are the benchmark smoke run (bench/run --klein) and
# the sanitizer stages (scripts/sanitizer.sh).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh" --window --desktop --test
"$root/scripts/build.sh" "$root/build"
# The real SRCP server srcpd as a peer of the tests (build/srcpd/); a failed
# build of it ends the run.
srcpd="$("$root/scripts/srcpd.sh" "$root/build")"
if [ -n "$srcpd" ]; then echo "srcpd: $srcpd"; fi
# The install check mostly copies files and waits on its own X server, so
# it runs beside the suite; its report follows the suite's.
installation="$root/build/installation_pruefen.log"
bash "$root/scripts/installation_pruefen.sh" "$root/build" >"$installation" 2>&1 &
pruefung=$!
trap 'kill "$pruefung" 2>/dev/null || true' EXIT
# Most tests wait on the server, the protocol's pauses and the simulator
# far more than they compute, so three at a time per core keep the cores
# busy without the tests crowding each other.
(cd "$root/build" && ctest --output-on-failure -j"$((3 * $(nproc)))")
status=0
wait "$pruefung" || status=$?
trap - EXIT
cat "$installation"
[ "$status" -eq 0 ] || { echo "FEHLER: scripts/installation_pruefen.sh failed" >&2; exit "$status"; }
bash "$root/scripts/bilder.sh" --pruefen "$root/build"
