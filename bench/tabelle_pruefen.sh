#!/bin/bash
# Checks the figures bench/tabelle.awk prints: one case per line, its
# samples of Velmo (v) and baseline (b), "v 1..100" standing for the values
# 1 to 100, the valgrind state, the statistic, unit and divisor of the row,
# and the row the table must show (spaces squeezed), or "fails" when the
# table must end with status 1.
#   bash bench/tabelle_pruefen.sh
set -euo pipefail
awkdatei="$(cd "$(dirname "$0")" && pwd)/tabelle.awk"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

faelle=(
    "v 3;v 1;v 2;b 1;b 1;b 1|ja|median|ms||x 2.00 1.00 2.00 ms 3"
    "v 4;v 1;v 3;v 2;b 2;b 2;b 2;b 2|ja|median|ms||x 2.50 2.00 1.25 ms 4"
    "v 100;v 9;v 10;b 5;b 5;b 5|ja|median|ms||x 10.0 5.00 2.00 ms 3"
    "v 1..200;b 1..100|ja|p99|us||x 198 99.0 2.00 us 200/100"
    "v 1..3;b 1..2|ja|p99|us||x 3.00 2.00 1.50 us 3/2"
    "v 3000000;b 1500000|ja|median|M instr|1e6|x 3.00 1.50 2.00 M instr 1"
    "v 1234.4;b 12.34|ja|median|ms||x 1234 12.3 100 ms 1"
    "v 4;b 0|ja|median|count||x 4.00 0.00 - count 1"
    "v 4|ja|median|ms||fails"
    "b 4|fehlt|median|ms||fails"
    "|fehlt|median|M instr|1e6|x valgrind missing valgrind missing - M instr 0"
    "|ja|median|M instr|1e6|fails"
)

fehler=0
for fall in "${faelle[@]}"; do
    IFS='|' read -r proben valgrind statistik einheit teiler erwartet <<<"$fall"
    : >"$work/proben"
    IFS=';' read -ra eintraege <<<"$proben"
    for eintrag in "${eintraege[@]}"; do
        read -r schluessel werte <<<"$eintrag"
        if [[ $werte == *..* ]]; then
            seq "${werte%..*}" "${werte#*..}" | sed "s/^/$schluessel /" >>"$work/proben"
        else
            echo "$schluessel $werte" >>"$work/proben"
        fi
    done
    echo "x|v|b|$statistik|$einheit|$teiler" >"$work/zeilen"
    if ergebnis="$(awk -v valgrind="$valgrind" -f "$awkdatei" "$work/proben" "$work/zeilen" 2>/dev/null)"; then
        ergebnis="$(sed -n 3p <<<"$ergebnis" | tr -s ' ')"
    else
        ergebnis=fails
    fi
    if [ "$ergebnis" != "$erwartet" ]; then
        echo "FAIL: $fall"
        echo "      got: $ergebnis"
        fehler=1
    fi
done
[ "$fehler" = 0 ] && echo "tabelle.awk: ${#faelle[@]} cases passed"
exit "$fehler"
