#!/bin/bash
# Switching pulses in the real Velmo window under Xvfb, each on its own
# timer: once against srcpsim under SRCP 0.73, once against the real SRCP
# 0.8 server srcpd (build/srcpd/sbin/srcpd, or $VELMO_SRCPD; the run is
# skipped when it is not built: bash scripts/srcpd.sh builds it).
# Each run opens a fresh copy of examples/bahnhof.pln, chooses "Datei > Host
# verbinden" (under 0.8 then "Befehle > Power on": srcpd's loopback buses
# carry out accessory commands only with power) and, with real mouse
# presses, presses the turnouts W2 (15, 9), W3 (13, 1) and W4 (10, 2) GAP ms
# apart (default 1 s), then chooses "Datei > Host trennen" 5.5 s after the
# first press, while the pulses of presses 2 and 3 still run. The first
# pulse must have ended on its own timer 5000 ms (+-50) after its "on";
# the pulses of presses 2 and 3 still run and must get their "off" at once,
# before the connection closes. The times are the server's: srcpsim's log
# of each line received, and for srcpd an SRCP 0.8 info session opened here
# that records every report with srcpd's time stamp (the time its bus
# carried the command out, which can be a millisecond or two after the
# session's end for a command received just before it). No output may stay on
# and no other output may be switched; under 0.8 each address must have
# been INITed once with the plan's protocol before its first "on". After
# the pulses' own end the cells must show the turnouts' new positions and
# no message box may be open.
#   <out>/impulse<v>_ende.png         the window at the end (v = 073 or 08)
#   <out>/impulse_srcpsim073.log      the simulator's log
#   <out>/impulse_srcpd08_info.log    what the info session heard from srcpd
#   bash scripts/impulse_xvfb.sh [build-dir] [out-dir] [gap-ms]
# GAP defaults to 1000 and may be up to 2500: "Host trennen" comes half a
# second after the first pulse's end, while the third one still runs.
# Exits non-zero when a step or a check fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/arbeitskopie.sh"
pfade "$root" "${1:-}" "${2:-}"
fensterlauf "$root" "$build" velmo srcpsim
abstand="${3:-1000}"
srcpd="${VELMO_SRCPD:-$build/srcpd/sbin/srcpd}"
mkdir "$work/vorlage"
cp "$root/examples/bahnhof.pln" "$root/examples/bahnhof.fst" "$work/vorlage/"

# An SRCP 0.8 info session on 127.0.0.1:PORT, tried for up to 5 s while the
# server starts: writes every line after the handshake to FILE as it
# arrives, the first line being "# session <id>". Exits 1 when no session
# could be opened.
cat > "$work/mitschnitt.py" <<'PY'
import socket, sys, time

port, datei = int(sys.argv[1]), sys.argv[2]
bis = time.time() + 5
while True:
    try:
        s = socket.create_connection(("127.0.0.1", port), timeout=2)
        f = s.makefile("rb")
        gruss = f.readline()
        if gruss.startswith(b"srcpd "):
            break
        s.close()
    except OSError:
        pass
    if time.time() > bis:
        sys.exit("no SRCP 0.8 server greets on port %d" % port)
    time.sleep(0.1)
s.sendall(b"SET CONNECTIONMODE SRCP INFO\r\n")
if b" 202 " not in f.readline():
    sys.exit("CONNECTIONMODE refused")
s.sendall(b"GO\r\n")
go = f.readline().split()
if go[1:4] != [b"200", b"OK", b"GO"]:
    sys.exit("GO refused")
s.settimeout(None)
with open(datei, "w", encoding="utf-8") as aus:
    aus.write("# session %s\n" % go[4].decode())
    aus.flush()
    for zeile in f:
        aus.write(zeile.decode("latin-1").rstrip("\r\n") + "\n")
        aus.flush()
PY

# Reads the server's log and the script's times, prints the table and
# checks the pulses; exit 1 on a failure.
#   auswertung.py 073|08 LOG TIMES OUTPUT1 OUTPUT2 OUTPUT3
# TIMES holds "druck <n> <ms>" (just before the press) and "trennen <ms>"
# (just before the key that chooses "Host trennen"), ms since 1970. An
# output is "<M|N> <address> <port>" under 0.73, "<bus> <address> <port>"
# under 0.8.
cat > "$work/auswertung.py" <<'PY'
import datetime, re, sys

art, logdatei, zeitdatei = sys.argv[1:4]
erwartet = sys.argv[4:7]
fehler = []

zeiten = {}
for zeile in open(zeitdatei):
    w = zeile.split()
    zeiten[" ".join(w[:-1])] = int(w[-1])
druck = [zeiten["druck %d" % n] for n in (1, 2, 3)]
trennen = zeiten["trennen"]


def uhr(ms):
    return datetime.datetime.fromtimestamp(ms / 1000).strftime("%H:%M:%S.%f")[:-3]


def tageszeit(h, m, s, ms):
    # srcpsim logs the local time of day; the day is the one of the first press.
    tag = datetime.datetime.fromtimestamp(druck[0] / 1000).replace(hour=0, minute=0, second=0, microsecond=0)
    t = int(tag.timestamp() * 1000) + ((int(h) * 60 + int(m)) * 60 + int(s)) * 1000 + int(ms)
    if t - druck[0] < -12 * 3600000:
        t += 86400000
    return t


schaltungen = []   # (ms, output, value, line number)
inits = {}         # "bus address" -> [(ms, protocol)]
schluss = None     # when the server saw Velmo's command connection end
schlusszeile = None  # srcpsim: the line number of that end
rohzeilen = []
if art == "073":
    for nummer, zeile in enumerate(open(logdatei, encoding="utf-8", errors="replace")):
        zeile = zeile.rstrip("\n")
        m = re.match(r"(\d\d):(\d\d):(\d\d)\.(\d{3}) cmd#\d+ < SET GA ([MN]) (\d+) (\d+) ([01]) (-?\d+)$", zeile)
        if m:
            schaltungen.append((tageszeit(*m.groups()[:4]), "%s %s %s" % m.groups()[4:7], int(m.group(8)), nummer))
            rohzeilen.append(zeile)
        m = re.match(r"(\d\d):(\d\d):(\d\d)\.(\d{3}) cmd#\d+ \* disconnected", zeile)
        if m and schluss is None:
            schluss, schlusszeile = tageszeit(*m.groups()), nummer
        if re.search(r"cmd#\d+ \* rejected", zeile):
            fehler.append("the simulator rejected: " + zeile)
else:
    velmo = None
    for zeile in open(logdatei, encoding="utf-8", errors="replace"):
        zeile = zeile.rstrip("\n")
        m = re.match(r"(\d+)\.(\d{3}) (\d{3}) INFO (.*?) ?$", zeile)
        if not m:
            continue
        ms, code, rest = int(m.group(1)) * 1000 + int(m.group(2)), m.group(3), m.group(4)
        g = re.match(r"(\d+) GA (\d+) (\d+) ([01])$", rest)
        if code == "100" and g:
            schaltungen.append((ms, "%s %s %s" % g.groups()[:3], int(g.group(4)), None))
            rohzeilen.append(zeile)
        g = re.match(r"(\d+) GA (\d+) (\S+)$", rest)
        if code == "101" and g:
            inits.setdefault("%s %s" % g.groups()[:2], []).append((ms, g.group(3)))
            rohzeilen.append(zeile)
        g = re.match(r"0 SESSION (\d+)( COMMAND)?$", rest)
        if g and code == "101" and g.group(2) and velmo is None:
            velmo = g.group(1)
        elif g and code == "102" and g.group(1) == velmo and schluss is None:
            schluss = ms

print("the server's accessory lines:")
for zeile in rohzeilen:
    print("  " + zeile)

# Every output switched: its "on" and "off" times in order.
ausgaenge, auszeile = {}, {}
for ms, ausgang, wert, nummer in schaltungen:
    ausgaenge.setdefault(ausgang, []).append((ms, wert))
    if wert == 0:
        auszeile.setdefault(ausgang, nummer)
for ausgang, folge in ausgaenge.items():
    if ausgang not in erwartet:
        fehler.append("output %s was switched, no press was meant for it" % ausgang)
    offen = None
    for ms, wert in folge:
        if wert == 1:
            if offen is not None:
                fehler.append("output %s: a second on at %s before the off of the one at %s" % (ausgang, uhr(ms), uhr(offen)))
            offen = ms
        elif offen is None:
            fehler.append("output %s: an off at %s without an on" % (ausgang, uhr(ms)))
        else:
            offen = None
    if offen is not None:
        fehler.append("output %s: on at %s, never off" % (ausgang, uhr(offen)))


def name(ausgang):
    w = ausgang.split()
    return ("GA %s %s/%s" if art == "073" else "bus %s GA %s/%s") % tuple(w)


print()
print("Host trennen chosen at %s; the server saw the connection end at %s" %
      (uhr(trennen), uhr(schluss) if schluss else "-"))
print("%-5s %-16s %-12s %-12s %-12s %-9s %s" % ("press", "output", "pressed", "on", "off", "on for", "off by"))
if schluss is None:
    fehler.append("the end of Velmo's command connection is not in the log")
for n, ausgang in enumerate(erwartet, 1):
    folge = ausgaenge.get(ausgang, [])
    an = [ms for ms, wert in folge if wert == 1]
    aus = [ms for ms, wert in folge if wert == 0]
    ein_ms = an[0] if an else None
    aus_ms = aus[0] if aus else None
    dauer = aus_ms - ein_ms if an and aus else None
    grund = "-"
    if aus_ms is not None:
        grund = "own timer" if aus_ms < trennen else "Host trennen %+d ms" % (aus_ms - trennen)
    print("%-5d %-16s %-12s %-12s %-12s %-9s %s" % (n, name(ausgang), uhr(druck[n - 1]),
          uhr(ein_ms) if ein_ms else "-", uhr(aus_ms) if aus_ms else "-",
          "%d ms" % dauer if dauer is not None else "-", grund))
    if len(an) != 1 or len(aus) != 1:
        fehler.append("press %d, %s: %d on and %d off, not one of each" % (n, name(ausgang), len(an), len(aus)))
        continue
    if not druck[n - 1] - 20 <= ein_ms <= druck[n - 1] + 1000:
        fehler.append("press %d: on %d ms after the press, not within 1 s" % (n, ein_ms - druck[n - 1]))
    if n == 1:
        if not 4950 <= dauer <= 5050:
            fehler.append("press 1: on for %d ms, not 5000 +- 50 ms" % dauer)
        if aus_ms >= trennen:
            fehler.append("press 1: its off did not come before Host trennen")
    else:
        if dauer >= 5000:
            fehler.append("press %d: on for %d ms, its pulse was not ended by Host trennen" % (n, dauer))
        if not trennen - 20 <= aus_ms <= trennen + 1000:
            fehler.append("press %d: off %+d ms from Host trennen, not at it" % (n, aus_ms - trennen))
        # srcpsim logs lines in the order received. srcpd queues an
        # accessory command for its bus and stamps the report when the bus
        # carries it out, one command a millisecond; a command received
        # just before the session ended can be stamped a little after the
        # end. Nothing reaches it after the end, so an off reported at all
        # came over the connection.
        if art == "073" and schlusszeile is not None and auszeile[ausgang] > schlusszeile:
            fehler.append("press %d: off logged after the connection ended" % n)
        if art == "08" and schluss is not None and aus_ms > schluss + 20:
            fehler.append("press %d: off at %s, %d ms after the session ended at %s" %
                          (n, uhr(aus_ms), aus_ms - schluss, uhr(schluss)))
    if art == "08":
        bus, adresse, _ = ausgang.split()
        schon = [i for i in inits.get(bus + " " + adresse, []) if i[0] <= ein_ms]
        soll = "M" if bus == "1" else "N"
        if [p for _, p in schon] != [soll]:
            fehler.append("press %d: address %s of bus %s INITed as %s before its on, not once as %s" %
                          (n, adresse, bus, [p for _, p in schon] or "nothing", soll))
for f in fehler:
    print("FEHLER:", f)
sys.exit(1 if fehler else 0)
PY

cat > "$work/lauf.sh" <<'INNER'
#!/bin/bash
set -euo pipefail
source "$FENSTERHILFEN"
work="$1"; out="$2"; bin="$3"; abstand="$4"; srcpd="$5"
# W2 (15, 9), W3 (13, 1), W4 (10, 2): each goes to "abzweigend", port 1 of
# its address; W2 is Motorola (bus 1), W3 and W4 DCC (bus 2).
weichen=("15 9" "13 1" "10 2")
ausgaenge073=("M 7 1" "N 13 1" "N 14 1")
ausgaenge08=("1 7 1" "2 13 1" "2 14 1")

jetzt_ms() { date +%s%3N; }
# Sleeps until the given time (ms since 1970).
bis() {
    local rest=$(($1 - $(jetzt_ms)))
    [ "$rest" -le 0 ] || sleep "$(awk -v ms="$rest" 'BEGIN { printf "%.3f", ms / 1000 }')"
}
# warte PATTERN FILE S: waits up to S seconds for a line of FILE matching
# the extended regular expression PATTERN.
warte() {
    local bis=$((SECONDS + $3))
    until grep -qE "$1" "$2" 2>/dev/null; do
        [ $SECONDS -lt $bis ] || fehler "not within $3 s in $(basename "$2"): $1"
        sleep 0.1
    done
}
frei_port() { python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }

# The plan with its routes, Velmo started on it; the plan view found.
velmo_starten() {
    local plan="$work/plan$v"
    mkdir -p "$plan"
    cp "$work/vorlage/bahnhof.pln" "$work/vorlage/bahnhof.fst" "$plan/"
    einstellungen "$work/Data/parmc.dat" "$port" 127.0.0.1 "$1" 0
    "$work/velmo" "$plan/bahnhof.pln" &
    velmo=$!
    fenster=$(hauptfenster)
    pause 2
    keine_meldung "start"
    bild "$work/start$v.png"
    read -r planx plany _ < <(planansicht "$work/start$v.png") || fehler "no plan view found"
}

# The three presses GAP ms apart, "Host trennen" 5.5 s after the first; the
# times go to $zeiten just before each press and before the menu key.
druecken_und_trennen() {
    local t0 n c r
    : > "$zeiten"
    xdotool mousemove 1010 750
    t0=$(($(jetzt_ms) + 500))
    for n in 1 2 3; do
        read -r c r <<<"${weichen[n - 1]}"
        bis $((t0 + (n - 1) * abstand))
        echo "druck $n $(jetzt_ms)" >> "$zeiten"
        xdotool mousemove $((planx + 27 * c + 13)) $((plany + 27 * r + 13)) click 1
        xdotool mousemove 1010 750
    done
    # Datei, then 0.5 s later its item "Host trennen".
    bis $((t0 + 5000))
    xdotool windowfocus --sync "$fenster"
    xdotool key alt+d
    bis $((t0 + 5500))
    echo "trennen $(jetzt_ms)" >> "$zeiten"
    xdotool key t
    ende=$((t0 + 2 * abstand + 5000))
}

# After the pulses' own end: no message box, the screenshot, the three
# turnouts in their new position; then Datei > Exit.
abschluss() {
    bis $((ende + 1000))
    keine_meldung "Host trennen"
    bild "$out/impulse${v}_ende.png"
    echo "cells at the end:"
    local ergebnis zelle icon n falsch=0
    ergebnis=$(abweichungen "$out/impulse${v}_ende.png" 15,9=Icon0802.bmp 13,1=Icon0902.bmp 10,2=Icon0902.bmp)
    while read -r zelle icon n; do
        printf '  cell %-6s %s: %d pixels differ\n' "$zelle" "$icon" "$n"
        [ "$n" -eq 0 ] || falsch=1
    done <<<"$ergebnis"
    [ "$falsch" -eq 0 ] || fehler "a turnout does not show its new position"
    programm_beenden "$out/impulse${v}_exit.png"
    wait "$velmo" 2>/dev/null || true
    unset velmo
}

lauf073() {
    v=073
    log="$out/impulse_srcpsim073.log"
    zeiten="$work/zeiten073"
    echo "=== SRCP 0.73 against srcpsim"
    rm -f "$work/port"
    "$bin/srcpsim" --srcp 0.7.3 --port 0 > "$work/port" 2> "$log" &
    sim=$!
    trap 'kill "$sim" ${velmo:+"$velmo"} 2>/dev/null || true' EXIT
    until [ -s "$work/port" ]; do
        kill -0 "$sim" 2>/dev/null || fehler "srcpsim did not start"
        sleep 0.1
    done
    port=$(head -1 "$work/port")
    velmo_starten 70
    # Datei > Host verbinden: under 0.73 Velmo switches the power on itself.
    menue d v
    warte 'cmd#1 < SET POWER ON' "$log" 10
    pause 1
    keine_meldung "Host verbinden"
    druecken_und_trennen
    warte 'cmd#1 \* disconnected' "$log" 5
    abschluss
    kill "$sim"
    wait "$sim" 2>/dev/null || true
    trap - EXIT
    python3 "$work/auswertung.py" 073 "$log" "$zeiten" "${ausgaenge073[@]}"
}

# srcpd in the foreground with a configuration of its own: the server on
# bus 0 (a free port, the pid file beside the configuration, this user and
# group), two loopback buses without power at start; the info session
# recorder started on it. A port taken before srcpd binds it makes srcpd
# end at once; then another one is tried.
srcpd_starten() {
    local dir="$work/srcpd"
    mkdir -p "$dir"
    for _ in 1 2 3; do
        port=$(frei_port)
        srcpd_konfiguration "$port" "$dir"
        "$srcpd" -n -f "$dir/srcpd.conf" > "$dir/srcpd.out" 2>&1 &
        server=$!
        rm -f "$info"
        python3 "$work/mitschnitt.py" "$port" "$info" 2> "$dir/mitschnitt.err" &
        mitschnitt=$!
        for _ in $(seq 60); do
            [ -s "$info" ] && return 0
            kill -0 "$mitschnitt" 2>/dev/null || break
            sleep 0.1
        done
        kill "$mitschnitt" "$server" 2>/dev/null || true
        wait "$mitschnitt" "$server" 2>/dev/null || true
        echo "srcpd on port $port: $(cat "$dir/mitschnitt.err" "$dir/srcpd.out")" >&2
    done
    fehler "srcpd did not start"
}

lauf08() {
    v=08
    info="$out/impulse_srcpd08_info.log"
    zeiten="$work/zeiten08"
    if [ ! -x "$srcpd" ]; then
        echo "=== SRCP 0.8 against srcpd: SKIPPED, no srcpd at $srcpd (bash scripts/srcpd.sh builds it)"
        uebersprungen=" (the SRCP 0.8 run skipped)"
        return 0
    fi
    echo "=== SRCP 0.8 against srcpd ($srcpd)"
    srcpd_starten
    trap 'kill "$mitschnitt" "$server" ${velmo:+"$velmo"} 2>/dev/null || true' EXIT
    velmo_starten 80
    # Datei > Host verbinden: the command session's start is reported; then
    # Velmo asks for the buses' descriptions.
    menue d v
    warte '101 INFO 0 SESSION [0-9]+ COMMAND' "$info" 10
    pause 2
    keine_meldung "Host verbinden"
    # Befehle > Power on: both buses.
    menue b n
    warte '100 INFO 1 POWER ON' "$info" 5
    warte '100 INFO 2 POWER ON' "$info" 5
    pause 1
    keine_meldung "Power on"
    druecken_und_trennen
    warte '102 INFO 0 SESSION' "$info" 5
    abschluss
    kill "$mitschnitt" "$server" 2>/dev/null || true
    wait "$mitschnitt" "$server" 2>/dev/null || true
    trap - EXIT
    python3 "$work/auswertung.py" 08 "$info" "$zeiten" "${ausgaenge08[@]}"
}

beginn=$SECONDS
uebersprungen=""
lauf073
lauf08
echo "all checks passed$uebersprungen ($((SECONDS - beginn)) s in the window)"
INNER
im_xvfb "$work/lauf.sh" "$work" "$out" "$build/bin" "$abstand" "$srcpd"
echo "screenshots and server logs in $out"
