#!/bin/bash
# The measurements of bench/run, run under Xvfb by it. Every benchmark
# program prints "key value" lines; each line goes to the samples file as
# "<group>.<key> <value>", one line per measured value. Velmo and its
# baseline take turns (A B A B ...), RUNS times; instructions under callgrind
# CALLGRIND_RUNS times. A program that fails ends the script with status 1.
#   bash bench/messreihe.sh BUILD SAMPLES RUNS CALLGRIND_RUNS CELLS LINES PRESSES CHANGES CONNECTS IDLE_SECONDS
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$1" proben="$2" laeufe="$3" cg_laeufe="$4" zellen="$5" zeilen="$6" druecke="$7" aenderungen="$8"
verbindungen="$9" ruhe="${10}"
bin="$build/bin"
# Velmo starts from a copy of its program beside links to the generated Data/.
source "$root/scripts/arbeitskopie.sh"
velmo="$(arbeitskopie "$build" bench_startzeit)"
work="$(mktemp -d)"
simpid=""
aufraeumen() {
    if [ -n "$simpid" ]; then kill "$simpid" 2>/dev/null || true; fi
    rm -rf "$work" "$velmo"
}
trap aufraeumen EXIT
export XDG_RUNTIME_DIR="$work/laufzeit"
mkdir -m 700 "$XDG_RUNTIME_DIR"
: >"$proben"

# proben GROUP COMMAND...: runs COMMAND and adds its "key value" lines to
# the samples as "GROUP.key value".
proben() {
    local gruppe="$1" ausgabe
    shift
    if ! ausgabe="$("$@")"; then
        echo "bench/run: failed: $*" >&2
        exit 1
    fi
    awk -v gruppe="$gruppe" 'NF == 2 { print gruppe "." $1, $2 }' <<<"$ausgabe" >>"$proben"
}

# befehle GROUP VALGRIND-OPTION... -- COMMAND...: the instructions COMMAND
# executes under callgrind (all, or what the options select) as GROUP.ir.
befehle() {
    local gruppe="$1" optionen=()
    shift
    while [ "$1" != "--" ]; do optionen+=("$1"); shift; done
    shift
    if ! valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" "${optionen[@]}" "$@" \
        >/dev/null 2>"$work/valgrind.log"; then
        cat "$work/valgrind.log" >&2
        echo "bench/run: failed under callgrind: $*" >&2
        exit 1
    fi
    echo "$gruppe.ir $(awk '/^summary:/ { print $2 }' "$work/callgrind.out")" >>"$proben"
}

# Start to first paint: Velmo against the bare window, in the X server.
export QT_QPA_PLATFORM=xcb
for _ in $(seq "$laeufe"); do
    proben start_velmo "$bin/messlauf" "$velmo/bench_startzeit"
    proben start_basis "$bin/messlauf" "$bin/bench_grundfenster"
done
if command -v valgrind >/dev/null; then
    for _ in $(seq "$cg_laeufe"); do
        befehle startir_velmo -- "$velmo/bench_startzeit"
        befehle startir_basis -- "$bin/bench_grundfenster"
    done
fi

# Opening a plan: Velmo's "Öffnen" against the plain reader of the same
# file. These and the next run offscreen.
export QT_QPA_PLATFORM=offscreen
plan="$work/plan.pln"
"$bin/bench_plan" --anlegen "$zellen" "$plan"
for _ in $(seq "$laeufe"); do
    proben plan_velmo "$bin/bench_plan" "$plan"
    proben plan_basis "$bin/bench_planleser" "$plan" "$bin/Data"
done
if command -v valgrind >/dev/null; then
    for _ in $(seq "$cg_laeufe"); do
        befehle planir_velmo --collect-atstart=no '--toggle-collect=Messteil*' -- "$bin/bench_plan" "$plan"
        befehle planir_basis --collect-atstart=no '--toggle-collect=Messteil*' -- \
            "$bin/bench_planleser" "$plan" "$bin/Data"
    done
fi

# The programs that interleave Velmo and their baseline themselves.
for _ in $(seq "$laeufe"); do
    proben rueck "$bin/bench_rueckmeldung" "$zeilen"
    proben schalten "$bin/bench_schalten" "$druecke"
    proben regler "$bin/bench_regler" "$aenderungen"
done
proben srcp08 "$bin/bench_srcp08" "$verbindungen"

# Idle: Velmo connected to srcpsim and the bare window, at the same time,
# in the X server.
export QT_QPA_PLATFORM=xcb
"$bin/srcpsim" --port 0 --quiet >"$work/sim.port" 2>/dev/null </dev/null &
simpid=$!
for _ in $(seq 50); do
    [ -s "$work/sim.port" ] && break
    sleep 0.1
done
port="$(head -n1 "$work/sim.port")"
[ -n "$port" ] || { echo "bench/run: srcpsim did not start" >&2; exit 1; }
for _ in $(seq "$laeufe"); do
    proben ruhe_velmo "$velmo/bench_startzeit" "$ruhe" "$port" &
    velmolauf=$!
    proben ruhe_basis "$bin/bench_grundfenster" "$ruhe" &
    basislauf=$!
    wait "$velmolauf"
    wait "$basislauf"
done
