#!/bin/bash
# Checks scripts/mutation.sh on the tiny project beside this script, copied
# to a scratch folder: of its two mutants one is killed by test_klein and one
# survives, and the mutated file is byte for byte what it was. The mutants
# the script makes of arten.cpp, one line for each kind, are those listed in
# arten.txt.
set -euo pipefail
hier="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$hier/../.." && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cp -r "$hier" "$scratch/probe"
cmake -S "$scratch/probe" -B "$scratch/build" >/dev/null
cmake --build "$scratch/build" >/dev/null
bash "$root/scripts/mutation.sh" --build "$scratch/build" --zeitlimit 20 "$scratch/probe/klein.cpp" | tee "$scratch/aus.txt"
grep -q "< -> <=  *survived" "$scratch/aus.txt"
grep -q "+ -> -  *killed by test_klein" "$scratch/aus.txt"
grep -q "2 mutants, 1 killed, 1 survived, 0 equivalent, 0 not compiled; kill rate 50.0 %" "$scratch/aus.txt"
cmp "$hier/klein.cpp" "$scratch/probe/klein.cpp"
diff <(bash "$root/scripts/mutation.sh" --liste --anzahl 1000 "$hier/arten.cpp") "$hier/arten.txt"
echo "mutation.sh: the mutants of arten.cpp as listed; one mutant killed, one survived, klein.cpp restored"
