"""Mutation testing of the C++ sources: seeds one small plausible fault at a
time, rebuilds, runs the tests, and tells which faults the tests notice.
Called through scripts/mutation.sh, whose header describes the options."""

import argparse
import hashlib
import os
import random
import re
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path


@dataclass
class Mutant:
    datei: Path
    zeile: int       # 1-based
    spalte: int      # 0-based, in the original line
    laenge: int      # characters of the original line replaced
    ersatz: str
    art: str

    def ort(self, wurzel):
        return f"{os.path.relpath(self.datei, wurzel)}:{self.zeile}"

    def kennung(self, wurzel):
        text = f"{self.ort(wurzel)}:{self.spalte}:{self.laenge}:{self.ersatz}"
        return hashlib.sha1(text.encode()).hexdigest()[:8]


# Binary operators are taken only with a blank on both sides, as the code is
# written; templates, includes and streams never look like that.
VERGLEICHE = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
RECHNEN = {"+": "-", "-": "+"}
ZAHL = re.compile(r"(?<![\w.'])(\d+)(?![\w.'])")
WAHRHEIT = re.compile(r"\b(true|false)\b")
BINAER = re.compile(r"(?<=\S) (<=|>=|==|!=|<|>|\+|-|&&|\|\|) (?=\S)")
BEDINGUNG = re.compile(r"\b(if|while) \(")
# A call or an assignment to a name or member standing alone as a statement.
ANWEISUNG = re.compile(r"^(\s*)([A-Za-z_]\w*(?:(?:\.|->|::)[A-Za-z_]\w*)*(?:\(.*\)|(?: [-+*/|&]?= .*)|\+\+|--));\s*$")
RUECKGABE = re.compile(r"^\s*return(?: (.*))?;\s*$")
FRUEHES_ENDE = re.compile(r"^(\s*if \(.*\) )(return\b[^;]*;)\s*$")


def ohne_text(zeile, im_kommentar):
    """The line with string and character literals and comments blanked out
    (same length), and whether a block comment is still open at its end."""
    aus = []
    i = 0
    while i < len(zeile):
        if im_kommentar:
            ende = zeile.find("*/", i)
            if ende < 0:
                aus.append(" " * (len(zeile) - i))
                return "".join(aus), True
            aus.append(" " * (ende + 2 - i))
            i = ende + 2
            im_kommentar = False
            continue
        c = zeile[i]
        if zeile.startswith("//", i):
            aus.append(" " * (len(zeile) - i))
            break
        if zeile.startswith("/*", i):
            aus.append("  ")
            i += 2
            im_kommentar = True
            continue
        if c in "\"'":
            j = i + 1
            while j < len(zeile) and zeile[j] != c:
                j += 2 if zeile[j] == "\\" else 1
            aus.append(c + " " * (min(j, len(zeile)) - i - 1) + (c if j < len(zeile) else ""))
            i = j + 1
            continue
        aus.append(c)
        i += 1
    return "".join(aus), im_kommentar


def klammer_ende(text, start):
    """Index of the parenthesis closing the one opened just before start."""
    tiefe = 1
    for i in range(start, len(text)):
        if text[i] == "(":
            tiefe += 1
        elif text[i] == ")":
            tiefe -= 1
            if tiefe == 0:
                return i
    return -1


def operanden(text, start, ende):
    """The top-level && / || operands of text[start:ende] as (from, to)."""
    teile, tiefe, anfang = [], 0, start
    i = start
    while i < ende:
        if text[i] in "([{":
            tiefe += 1
        elif text[i] in ")]}":
            tiefe -= 1
        elif tiefe == 0 and text.startswith((" && ", " || "), i):
            teile.append((anfang, i))
            anfang = i + 4
            i += 4
            continue
        i += 1
    teile.append((anfang, ende))
    return teile


def mutanten_der_zeile(datei, nr, zeile, code, vorige):
    gefunden = []

    def neu(spalte, laenge, ersatz, art):
        gefunden.append(Mutant(datei, nr, spalte, laenge, ersatz, art))

    def weglassen(von, bis):
        # Each top-level operand of an && / || chain dropped in turn.
        teile = operanden(code, von, bis)
        if len(teile) > 1:
            verbinder = code[teile[0][1]:teile[0][1] + 4]
            for k in range(len(teile)):
                rest = [zeile[a:b] for j, (a, b) in enumerate(teile) if j != k]
                neu(von, bis - von, verbinder.join(rest), f"operand {k + 1} of {verbinder.strip()} dropped")

    for m in BINAER.finditer(code):
        op = m.group(1)
        s = m.start(1)
        if op in VERGLEICHE:
            neu(s, len(op), VERGLEICHE[op], f"{op} -> {VERGLEICHE[op]}")
        elif op in RECHNEN:
            neu(s, 1, RECHNEN[op], f"{op} -> {RECHNEN[op]}")
    for m in ZAHL.finditer(code):
        wert = int(m.group(1), 10) if not m.group(1).startswith("0") or m.group(1) == "0" else None
        if wert is None:
            continue
        neu(m.start(), len(m.group(1)), str(wert + 1), "constant + 1")
        if wert > 0:
            neu(m.start(), len(m.group(1)), str(wert - 1), "constant - 1")
    for m in WAHRHEIT.finditer(code):
        anders = "false" if m.group(1) == "true" else "true"
        neu(m.start(), len(m.group(1)), anders, f"{m.group(1)} -> {anders}")
    for m in BEDINGUNG.finditer(code):
        auf = m.end()
        zu = klammer_ende(code, auf)
        if zu < 0:
            continue
        neu(auf, zu - auf, "!(" + zeile[auf:zu] + ")", "condition negated")
        weglassen(auf, zu)
    m = RUECKGABE.match(code)
    if m and m.group(1):
        weglassen(m.start(1), m.end(1))
    m = FRUEHES_ENDE.match(code)
    ohne_klammer = re.match(r"^\s*if \(.*\)\s*$", vorige)
    if m:
        neu(m.start(2), len(m.group(2)), "{}", "early return removed")
    elif ohne_klammer and RUECKGABE.match(code):
        # "if (...)" on the line before, the return alone on this one.
        start = len(code) - len(code.lstrip())
        neu(start, len(code.rstrip()) - start, "{}", "early return removed")
    elif ANWEISUNG.match(code) and not code.lstrip().startswith("return"):
        m = ANWEISUNG.match(code)
        neu(m.start(2), len(code.rstrip()) - m.start(2), "{}", "statement removed")
    return gefunden


def mutanten(datei):
    ergebnis = []
    im_kommentar = False
    vorige = ""
    for nr, zeile in enumerate(datei.read_text(encoding="utf-8").split("\n"), 1):
        code, im_kommentar = ohne_text(zeile, im_kommentar)
        if code.lstrip().startswith(("#", "static_assert", "Q_")):
            continue
        ergebnis += mutanten_der_zeile(datei, nr, zeile, code, vorige)
        vorige = code
    return ergebnis


def mutierte_zeile(m, zeilen):
    z = zeilen[m.zeile - 1]
    return z[:m.spalte] + m.ersatz + z[m.spalte + m.laenge:]


def anwenden(m, original):
    zeilen = original.split("\n")
    zeilen[m.zeile - 1] = mutierte_zeile(m, zeilen)
    m.datei.write_text("\n".join(zeilen), encoding="utf-8")


# "Test #5: name ....***Failed", also "...Subprocess aborted***Exception" and the like.
FEHLGESCHLAGEN = re.compile(r"Test\s+#\d+: (\S+) \.*[^*\n]*\*\*\*")


def schnelle_tests(build, grenze=25.0):
    """The tests that took under `grenze` seconds when CTest last timed them
    (times of parallel runs: the slow ones wait on servers and pauses)."""
    kosten = build / "Testing" / "Temporary" / "CTestCostData.txt"
    if not kosten.exists():
        return []
    namen = []
    for zeile in kosten.read_text(encoding="utf-8").splitlines():
        if zeile.startswith("---"):
            break
        teile = zeile.split()
        if len(teile) == 3 and float(teile[2]) < grenze:
            namen.append(teile[0])
    return namen


def pruefen(build, zeitlimit, parallel):
    """'not compiled', 'killed by NAME' or 'survived'."""
    bau = subprocess.run(["cmake", "--build", str(build), f"-j{parallel}"],
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if bau.returncode != 0:
        return "not compiled"
    # The quick tests first: most mutants fail one of them within seconds,
    # and the slow ones (servers, the protocol's pauses) need not run then.
    schnell = schnelle_tests(build)
    muster = "^(" + "|".join(re.escape(n) for n in schnell) + ")$"
    for auswahl in ([["-R", muster], ["-E", muster]] if schnell else [[]]):
        # The tests mostly wait on servers and pauses: three per core, as scripts/test.sh runs them.
        lauf = subprocess.run(["ctest", "--test-dir", str(build), "--stop-on-failure", f"-j{3 * parallel}",
                               "--timeout", str(zeitlimit), *auswahl],
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        if lauf.returncode != 0:
            namen = FEHLGESCHLAGEN.findall(lauf.stdout)
            return "killed by " + (namen[0] if namen else "ctest")
    return "survived"


def geaenderte_dateien(wurzel, bereich):
    aus = subprocess.run(["git", "-C", str(wurzel), "diff", "--name-only", bereich, "--", "src/*.cpp", "src/*.h"],
                         check=True, stdout=subprocess.PIPE, text=True).stdout
    return [wurzel / d for d in aus.split() if (wurzel / d).exists()]


def aequivalente(pfad):
    liste = {}
    if pfad and pfad.exists():
        for zeile in pfad.read_text(encoding="utf-8").splitlines():
            if zeile.strip() and not zeile.startswith("#"):
                kennung, _, grund = zeile.partition(" ")
                liste[kennung] = grund.strip()
    return liste


class Abbruch(Exception):
    pass


def abbrechen(*_):
    raise Abbruch()


def main():
    p = argparse.ArgumentParser(prog="mutation.sh")
    p.add_argument("dateien", nargs="*", type=Path)
    p.add_argument("--build", type=Path, required=True)
    p.add_argument("--wurzel", type=Path, required=True)
    p.add_argument("--bereich")
    p.add_argument("--anzahl", type=int, default=40)
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--zeitlimit", type=int, default=300)
    p.add_argument("--parallel", type=int, default=os.cpu_count() or 2)
    p.add_argument("--aequivalent", type=Path)
    p.add_argument("--liste", action="store_true")
    p.add_argument("--nur", default="")
    a = p.parse_args()
    wurzel = a.wurzel.resolve()
    dateien = [d.resolve() for d in a.dateien]
    if a.bereich:
        dateien += geaenderte_dateien(wurzel, a.bereich)
    if not dateien:
        sys.exit("mutation.sh: no files given (FILE... or --bereich A..B)")

    alle = [m for d in sorted(set(dateien)) for m in mutanten(d)]
    auswahl = random.Random(a.seed).sample(alle, min(a.anzahl, len(alle)))
    auswahl.sort(key=lambda m: (str(m.datei), m.zeile, m.spalte, m.ersatz))
    if a.nur:
        nur = set(a.nur.split(","))
        auswahl = [m for m in auswahl if m.kennung(wurzel) in nur]
    if a.liste:
        for m in auswahl:
            zeile = mutierte_zeile(m, m.datei.read_text(encoding="utf-8").split("\n"))
            print(f"{m.kennung(wurzel)}  {m.ort(wurzel)}  {m.art}: {zeile.strip()}")
        return

    gleich = aequivalente(a.aequivalent)
    # A file is restored whatever ends the run; a backup beside the build
    # restores it even after the run itself was killed.
    sicherung = a.build / "mutation-original"
    if sicherung.exists():
        ziel = Path(sicherung.read_text(encoding="utf-8").split("\n", 1)[0])
        ziel.write_text(sicherung.read_text(encoding="utf-8").split("\n", 1)[1], encoding="utf-8")
        sicherung.unlink()
    for s in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(s, abbrechen)

    if pruefen(a.build, a.zeitlimit, a.parallel) != "survived":
        sys.exit("mutation.sh: the unmutated tree does not build or its tests fail")
    print(f"{len(alle)} mutants in {len(set(dateien))} files, {len(auswahl)} sampled with seed {a.seed}")
    print(f"{'id':8}  {'place':40}  {'mutation':28}  result")
    zaehler = {"killed": 0, "survived": 0, "not compiled": 0, "equivalent": 0}
    beginn = time.monotonic()
    for m in auswahl:
        original = m.datei.read_text(encoding="utf-8")
        kennung = m.kennung(wurzel)
        try:
            sicherung.write_text(f"{m.datei}\n{original}", encoding="utf-8")
            anwenden(m, original)
            seit = time.monotonic()
            ergebnis = pruefen(a.build, a.zeitlimit, a.parallel)
            dauer = time.monotonic() - seit
        finally:
            m.datei.write_text(original, encoding="utf-8")
            sicherung.unlink(missing_ok=True)
        if ergebnis == "survived" and kennung in gleich:
            ergebnis = "equivalent: " + gleich[kennung]
        zaehler[ergebnis.split(" by ")[0].split(":")[0]] += 1
        print(f"{kennung:8}  {m.ort(wurzel):40}  {m.art:28}  {ergebnis} ({dauer:.0f} s)", flush=True)
    gezaehlt = zaehler["killed"] + zaehler["survived"]
    rate = 100.0 * zaehler["killed"] / gezaehlt if gezaehlt else 0.0
    print(f"seed {a.seed}: {len(auswahl)} mutants, {zaehler['killed']} killed, {zaehler['survived']} survived, "
          f"{zaehler['equivalent']} equivalent, {zaehler['not compiled']} not compiled; "
          f"kill rate {rate:.1f} % ({time.monotonic() - beginn:.0f} s)")
    # Rebuild the restored tree, so that the build matches the sources again.
    subprocess.run(["cmake", "--build", str(a.build), f"-j{a.parallel}"], stdout=subprocess.DEVNULL)


if __name__ == "__main__":
    try:
        main()
    except Abbruch:
        sys.exit("mutation.sh: stopped; the mutated file is restored")
