#!/bin/bash
# Installs what is missing, builds Velmo and runs every test; then builds the
# connection tests with ThreadSanitizer and runs them again.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build"
(cd "$root/build" && ctest --output-on-failure -j2)

echo "== connection tests under ThreadSanitizer"
tsan_tests=(test_tcpclient test_lesethread test_verbindung)
cmake -S "$root" -B "$root/build-tsan" -DVELMO_TSAN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build-tsan" -j"$(nproc)" --target "${tsan_tests[@]}"
# Address space randomisation of newer kernels can upset TSan's memory layout.
(cd "$root/build-tsan" && TSAN_OPTIONS="halt_on_error=1 suppressions=$root/tests/tsan.supp" setarch "$(uname -m)" -R \
    ctest --output-on-failure -R "^($(IFS='|'; echo "${tsan_tests[*]}"))\$")
