#!/bin/bash
# Fuzzes one target of fuzz/ with libFuzzer:
#   bash scripts/fuzz.sh <target> <seconds>
# <target> is parameter, katalog, plandatei, fahrstrassen or zeilen (fuzz_<target> works
# too). Installs clang and libFuzzer when missing, builds build-fuzz/ with
# clang and runs the target for the given time on a scratch copy of its
# corpus tests/data/fuzz/<target>/, which the run leaves in
# build-fuzz/lauf/<target>/korpus/. An input that fails is kept in
# build-fuzz/funde/<target>/. The run ends with a minimised corpus in
# build-fuzz/lauf/<target>/minimiert/: the seeds plus the new inputs that
# reach code the seeds do not, and a summary line.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ $# -ne 2 ] || ! [[ "$2" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: bash scripts/fuzz.sh <target> <seconds>" >&2
    exit 2
fi
ziel="${1#fuzz_}"
sekunden="$2"
seeds="$root/tests/data/fuzz/$ziel"
if [ ! -f "$root/fuzz/fuzz_$ziel.cpp" ] || [ ! -d "$seeds" ]; then
    echo "no fuzz target '$ziel'; there are: $(cd "$root/fuzz" && ls fuzz_*.cpp | sed 's/^fuzz_//; s/\.cpp$//' | tr '\n' ' ')" >&2
    exit 2
fi

"$root/scripts/deps.sh" --fuzz
build="$root/build-fuzz"
cmake -S "$root" -B "$build" -DVELMO_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target "fuzz_$ziel"
programm="$build/bin/fuzz_$ziel"

lauf="$build/lauf/$ziel"
funde="$build/funde/$ziel"
rm -rf "$lauf"
mkdir -p "$lauf/korpus" "$lauf/minimiert" "$funde"
cp "$seeds"/* "$lauf/korpus/"
cp "$seeds"/* "$lauf/minimiert/"
# The targets write their input to a file and the writers sync every file
# to disk: a file system in memory keeps that cheap.
scratch=/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch=/dev/shm
vorher=$(find "$funde" -type f | wc -l)

status=0
TMPDIR="$scratch" "$programm" -max_total_time="$sekunden" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$funde/" "$lauf/korpus" 2>&1 | tee "$lauf/log" || status=$?
TMPDIR="$scratch" "$programm" -merge=1 "$lauf/minimiert" "$lauf/korpus" >"$lauf/merge.log" 2>&1 \
    || echo "merging the corpus failed, see $lauf/merge.log" >&2

# The last status line of libFuzzer ("#<runs> ... cov: <n> ft: <n> ...").
letzte=$(grep -E '^#[0-9]+' "$lauf/log" | tail -1 || true)
wert() { sed -nE "s/.*$1: ([0-9]+).*/\\1/p" <<<"$letzte"; }
laeufe=$(sed -nE 's/^stat::number_of_executed_units: ([0-9]+)/\1/p' "$lauf/log" | tail -1)
funde_neu=$(( $(find "$funde" -type f | wc -l) - vorher ))
neu=$(( $(find "$lauf/minimiert" -type f | wc -l) - $(find "$seeds" -type f | wc -l) ))
korpus=$(sed -nE 's/.* corp: ([0-9]+)\/([0-9]+[a-zA-Z]*) .*/\1 inputs, \2/p' <<<"$letzte")
echo "fuzz $ziel: runs ${laeufe:-?}, cov $(wert cov), ft $(wert ft), corpus ${korpus:-?}," \
     "minimised +$neu new ($(du -s --apparent-size -k "$lauf/minimiert" | cut -f1) KiB in all), crashes $funde_neu"
if [ "$funde_neu" -gt 0 ] || [ "$status" -ne 0 ]; then
    echo "failing inputs in $funde/; once fixed, add each to $seeds/ as crash-<what>" >&2
    exit 1
fi
