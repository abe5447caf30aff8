# The one table of bench/run, built from the samples the benchmarks printed.
#   awk -v valgrind=ja|fehlt -f bench/tabelle.awk SAMPLES ROWS
# SAMPLES: "key value" lines, any number per key, in any order.
# ROWS: "what|Velmo key|baseline key|statistic|unit|divisor" lines; the
# statistic is "median" or "p99" (nearest rank), the divisor scales both.
# A row shows both figures, their ratio Velmo/baseline and the number of
# samples. A row without samples ends the table with status 1, unless it
# counts instructions (its unit ends in "instr") and valgrind is missing.

FILENAME == ARGV[1] {
    split($0, feld, " ")
    anzahl[feld[1]]++
    wert[feld[1], anzahl[feld[1]]] = feld[2] + 0
    next
}

# Sorts the n values of `schluessel` in place (Shell sort).
function sortieren(schluessel, n,    abstand, i, j, t) {
    for (abstand = int(n / 2); abstand > 0; abstand = int(abstand / 2))
        for (i = abstand + 1; i <= n; i++) {
            t = wert[schluessel, i]
            for (j = i; j > abstand && wert[schluessel, j - abstand] > t; j -= abstand)
                wert[schluessel, j] = wert[schluessel, j - abstand]
            wert[schluessel, j] = t
        }
}

function statistik(schluessel, art,    n, i) {
    n = anzahl[schluessel]
    if (!(schluessel in sortiert)) {
        sortieren(schluessel, n)
        sortiert[schluessel] = 1
    }
    if (art == "p99") {
        i = int(0.99 * n)
        if (i < 0.99 * n) i++
        return wert[schluessel, i]
    }
    if (n % 2 == 1) return wert[schluessel, (n + 1) / 2]
    return (wert[schluessel, n / 2] + wert[schluessel, n / 2 + 1]) / 2
}

function zahl(x) {
    if (x >= 100 || x <= -100) return sprintf("%.0f", x)
    if (x >= 10 || x <= -10) return sprintf("%.1f", x)
    return sprintf("%.2f", x)
}

function zelle(zeile, spalte, text) {
    tabelle[zeile, spalte] = text
    if (length(text) > breite[spalte]) breite[spalte] = length(text)
}

{
    split($0, feld, "|")
    zeilen++
    zelle(zeilen, 1, feld[1])
    zelle(zeilen, 5, feld[5])
    velmo = anzahl[feld[2]]
    basis = anzahl[feld[3]]
    if (velmo == 0 || basis == 0) {
        if (valgrind == "fehlt" && feld[5] ~ /instr$/) {
            zelle(zeilen, 2, "valgrind missing")
            zelle(zeilen, 3, "valgrind missing")
            zelle(zeilen, 4, "-")
            zelle(zeilen, 6, "0")
            next
        }
        printf "bench/run: no samples of %s\n", (velmo == 0 ? feld[2] : feld[3]) > "/dev/stderr"
        fehlt = 1
        next
    }
    teiler = feld[6] == "" ? 1 : feld[6]
    a = statistik(feld[2], feld[4]) / teiler
    b = statistik(feld[3], feld[4]) / teiler
    zelle(zeilen, 2, zahl(a))
    zelle(zeilen, 3, zahl(b))
    zelle(zeilen, 4, b == 0 ? "-" : zahl(a / b))
    zelle(zeilen, 6, velmo == basis ? velmo : velmo "/" basis)
}

function ausgerichtet(text, spalte) {
    return sprintf("%" (spalte == 1 || spalte == 5 ? "-" : "") breite[spalte] "s", text)
}

END {
    if (fehlt) exit 1
    kopf[1] = "what"; kopf[2] = "Velmo"; kopf[3] = "baseline"; kopf[4] = "ratio"; kopf[5] = "unit"; kopf[6] = "n"
    for (s = 1; s <= 6; s++) zelle(0, s, kopf[s])
    for (z = 0; z <= zeilen; z++) {
        zeile = ausgerichtet(tabelle[z, 1], 1)
        for (s = 2; s <= 6; s++) zeile = zeile "  " ausgerichtet(tabelle[z, s], s)
        print zeile
        if (z == 0) {
            gsub(/./, "-", zeile)
            print zeile
        }
    }
}
