#!/bin/bash
# Builds the real SRCP 0.8 server srcpd from ../shared/srcpd beside the
# repository into BUILDDIR/srcpd and prints the path of its executable;
# tests find it through VELMO_SRCPD. Without that folder it says so on
# standard error and prints nothing (the tests that need srcpd then skip).
#   srcpd.sh [BUILDDIR]        (default build/)
# The first build takes 1-3 minutes; later calls only print the path.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
quelle="$root/../shared/srcpd"
if [ ! -d "$quelle" ]; then
    echo "srcpd.sh: no $quelle, srcpd is not built (its tests skip)" >&2
    exit 0
fi
mkdir -p "$build"
build="$(cd "$build" && pwd)"
if ! exe="$(bash "$quelle/build.sh" "$build/srcpd")"; then
    echo "srcpd.sh: building srcpd into $build/srcpd failed" >&2
    exit 1
fi
[ -x "$exe" ] || { echo "srcpd.sh: $exe is missing after the build" >&2; exit 1; }
echo "$exe"
