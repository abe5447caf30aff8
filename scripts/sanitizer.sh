#!/bin/bash
# Runs the tests again under the sanitizers, in stages that each print their
# wall time:
#   asan    every test under AddressSanitizer and UndefinedBehaviorSanitizer
#           (build-asan/, -DVELMO_ASAN=ON), the fuzz replays excepted
#   tsan    the connection tests under ThreadSanitizer (build-tsan/)
#   replay  the fuzz corpora of tests/data/fuzz/ replayed in the ASan build
#   bash scripts/sanitizer.sh [stage...]    (all three when none is named)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/stufe.sh"
"$root/scripts/deps.sh"

# The sanitizer builds run the srcpd of build/srcpd/, the one scripts/test.sh
# builds; it is a peer, not built with the sanitizers.
srcpd_option="-DVELMO_SRCPD=$root/build/srcpd/sbin/srcpd"

# A report of undefined behaviour shows its stack.
export UBSAN_OPTIONS=print_stacktrace=1

asan_ctest() {
    "$root/scripts/build.sh" "$root/build-asan" -DVELMO_ASAN=ON "$srcpd_option"
    (cd "$root/build-asan" && ctest --output-on-failure -j2 "$@")
}

asan() {
    "$root/scripts/srcpd.sh" "$root/build" >/dev/null
    asan_ctest -E '^fuzz_replay_'
}

replay() {
    asan_ctest -R '^fuzz_replay_'
}

tsan() {
    local tests=(test_tcpclient test_lesethread test_verbindung)
    cmake -S "$root" -B "$root/build-tsan" -DVELMO_TSAN=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo "$srcpd_option" >/dev/null
    cmake --build "$root/build-tsan" -j"$(nproc)" --target "${tests[@]}"
    # Address space randomisation of newer kernels can upset TSan's memory layout.
    (cd "$root/build-tsan" && TSAN_OPTIONS="halt_on_error=1 suppressions=$root/tests/tsan.supp" setarch "$(uname -m)" -R \
        ctest --output-on-failure -R "^($(IFS='|'; echo "${tests[*]}"))\$")
}

stufen=("$@")
[ ${#stufen[@]} -eq 0 ] && stufen=(asan tsan replay)
for s in "${stufen[@]}"; do
    case "$s" in
        asan|tsan|replay) stufe "$s" "$s" ;;
        *) echo "unknown stage '$s' (asan, tsan, replay)" >&2; exit 2 ;;
    esac
done
