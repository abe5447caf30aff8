#!/bin/bash
# Installs what is missing, builds Velmo into build/ and runs every test once,
# then checks the installed folder and its desktop integration and takes the
# user guide's pictures afresh into build/bilder/ and runs the benchmarks once
# with tiny counts.
# The sanitizer stages of CI are scripts/sanitizer.sh.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh" --window --desktop --test
"$root/scripts/build.sh" "$root/build"
# The real SRCP server srcpd as a peer of the tests (build/srcpd/); a failed
# build of it ends the run.
srcpd="$("$root/scripts/srcpd.sh" "$root/build")"
if [ -n "$srcpd" ]; then echo "srcpd: $srcpd"; fi
# Most tests wait on the server, the protocol's pauses and the simulator
# far more than they compute, so three at a time per core keep the cores
# busy without the tests crowding each other.
(cd "$root/build" && ctest --output-on-failure -j"$((3 * $(nproc)))")
bash "$root/scripts/installation_pruefen.sh" "$root/build"
bash "$root/scripts/bilder.sh" --pruefen "$root/build"
bash "$root/bench/run" --klein "$root/build"
