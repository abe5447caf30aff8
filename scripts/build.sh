#!/bin/bash
# Configures and builds Velmo into build/ (or the directory given).
#   build.sh [DIR] [-DOPTION=VALUE...] [TARGET...]
# Options go to the configuration; without targets everything is built.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
shift || true
optionen=() ziele=()
for arg in "$@"; do
    if [[ $arg == -* ]]; then optionen+=("$arg"); else ziele+=(--target "$arg"); fi
done
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${optionen[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" "${ziele[@]}"
