#!/bin/bash
# Time from process start to the first painted main window under a real X
# server (Xvfb), median of five runs. Baseline in the same run: a process
# that starts and ends at once (/bin/true), so the figure can be judged
# against the cost of starting any process here.
#   bash bench/startzeit.sh [build-dir]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"

source "$root/scripts/arbeitskopie.sh"
fensterlauf "$root" "$build" bench_startzeit

cat > "$work/messen.sh" <<'INNER'
#!/bin/bash
set -euo pipefail
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
"$1/bench_startzeit" >/dev/null   # warm the file cache once
for i in 1 2 3 4 5; do
    t0=$(date +%s%N); t1=$("$1/bench_startzeit"); echo $(( (t1 - t0) / 1000 ))
done | median > "$1/velmo.txt"
for i in 1 2 3 4 5; do
    t0=$(date +%s%N); /bin/true; t1=$(date +%s%N); echo $(( (t1 - t0) / 1000 ))
done | median > "$1/true.txt"
INNER
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/messen.sh" "$work"
velmo=$(cat "$work/velmo.txt")
basis=$(cat "$work/true.txt")
printf 'start to first paint: %d.%03d ms (median of 5)\n' $((velmo / 1000)) $((velmo % 1000))
printf 'baseline /bin/true:   %d.%03d ms (median of 5)\n' $((basis / 1000)) $((basis % 1000))
