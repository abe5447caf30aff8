#!/bin/bash
# Installs what is missing, builds Velmo into build/ and runs every test once.
# The sanitizer stages of CI are scripts/sanitizer.sh.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build"
(cd "$root/build" && ctest --output-on-failure -j2)
