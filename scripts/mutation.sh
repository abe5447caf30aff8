#!/bin/bash
# Mutation testing: seeds one small plausible fault at a time into C++ files,
# rebuilds incrementally, runs CTest (--stop-on-failure, a time-out per
# test; the tests CTest last timed under 25 s first, the rest only when
# those pass) and records for each mutant whether a test failed (killed, and by
# which test), all passed (survived) or it did not compile. The file is
# restored after every mutant whatever happens (a backup in the build folder
# restores it at the next start even after a kill -9). Prints a table and
# the kill rate: killed / (killed + survived); survivors listed as
# equivalent in the --aequivalent file do not count.
#
# Mutations: < <= > >= == != swapped, + and - swapped, an if/while condition
# negated or one operand of its && / || dropped, an integer constant +/- 1,
# true and false swapped, a call or assignment statement removed, an early
# return (if (...) return ...;) removed.
#
#   mutation.sh [options] FILE...
#   mutation.sh [options] --bereich A..B     the src/ files that A..B changed
# options:
#   --build DIR         the built tree to test in (default build/)
#   --anzahl N          mutants sampled at random (default 40)
#   --seed S            seed of the sample (default 1)
#   --zeitlimit SEC     CTest time-out per test (default 300)
#   --aequivalent FILE  "ID reason" lines naming equivalent mutants
#   --liste             only list the sample (ID, place, mutation)
#   --nur ID,ID...      run only these mutants of the sample (to recheck survivors)
# A developer's tool: 40 mutants of src/ take about an hour on two cores.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
argumente=()
while [ $# -gt 0 ]; do
    case "$1" in
        --build) build="$2"; shift 2 ;;
        *) argumente+=("$1"); shift ;;
    esac
done
exec python3 "$root/scripts/mutation.py" --wurzel "$root" --build "$build" "${argumente[@]}"
