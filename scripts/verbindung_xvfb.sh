#!/bin/bash
# What the operator sees when the server goes away and comes back, in the
# real Velmo window under Xvfb against srcpsim in its SRCP 0.8 mode with the
# demo train running round contacts 1 to 8:
#   - a copy of the sample station opened from the command line, the
#     locomotive "BR 50" (M2, address 3) in the settings file's first
#     record, "Datei > Host verbinden", "Rückmeldung > Abfrage starten",
#     "Befehle > Power on", throttle 1 dragged up;
#   - five times: the simulator killed (SIGKILL) and started again on the
#     same port a fixed time later (SECONDS, default 2). A watcher grabs the
#     window every 100 ms and reads the colour of the dots of the two
#     indicators at the status bar's right end; the time from the moment
#     the new simulator listens (the time stamp of its first log line) to
#     the first grab with the link dot green is printed per cycle, and the
#     median. Velmo tries 1 s, 3 s, 7 s, … after the loss, so the figure
#     depends on where the server's return falls between two tries: with 2 s
#     it falls about 1 s before try 2; 3 s would fall on try 2 itself and
#     make the figure jump between two values.
#   - each cycle must show the link lost (red), a try (amber) and both dots
#     green again, with no message box; the new simulator must log the new
#     command session, the feedback session, power on for every bus and the
#     locomotive's INIT and drive line (its speed kept after a loss below
#     5 s, 0 after one above 5 s). The first cycle's lines are printed.
#   - a plan cell whose decoder maps to accessory address 999 pressed in
#     "Optionen > Betrieb", against srcpd (build/srcpd/sbin/srcpd or
#     $VELMO_SRCPD, which has 256 accessories per bus) or, when srcpd is
#     not built, against srcpsim (which refuses addresses above 512): the
#     cell must get its red frame.
# Pictures (<name>.png the status bar's right end, <name>_fenster.png the
# whole window):
#   <out>/verbunden*.png        connected and driving, before the first kill
#   <out>/verloren*.png         the first grab after the kill showing the loss
#   <out>/erneut*.png           the first grab of the try that succeeds
#   <out>/wieder*.png           the first grab with the link green again
#   <out>/wieder_strom*.png     the link and the power green again
#   <out>/abgelehnt.png         the window with the refused cell framed and
#                               status panel 1 naming the refusal
#   <out>/verbindung_srcpsim*.log  the simulators' logs (neu<k>: cycle k)
#   bash scripts/verbindung_xvfb.sh [out-dir] [build-dir] [seconds]
# out-dir defaults to <build-dir>/bilder/verbindung, build-dir to build/.
# Exits non-zero when a step or a check fails; every process it started is
# ended whatever happens.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/arbeitskopie.sh"
pfade "$root" "${2:-}" "${1:-${2:-$root/build}/bilder/verbindung}"
nach="${3:-2}"
[[ "$nach" =~ ^[0-9]+(\.[0-9]+)?$ ]] || { echo "seconds must be a number: $nach" >&2; exit 2; }
fensterlauf "$root" "$build" velmo srcpsim
trap 'exit 1' INT TERM HUP
srcpd="${VELMO_SRCPD:-$build/srcpd/sbin/srcpd}"
mkdir "$work/plan" "$work/abgelehnt"
cp "$build/beispiel/bahnhof.pln" "$build/beispiel/bahnhof.fst" "$work/plan/"
# The copy for the refusal: turnout W2 at (15, 9), decoder 1 outputs 5 and
# 6, gets decoder 249: 4 * 249 + 5/2 + 1 = 999 port 0 and 4 * 249 + 6/2 =
# 999 port 1. A record is 13 lines: number, element, X, Y, position,
# decoders 1 to 3, ...
cp "$build/beispiel/bahnhof.fst" "$work/abgelehnt/"
awk 'NR == 1 { print; next }
     { i = (NR - 2) % 13; r[i] = $0
       if (i == 12) {
           if (r[1] == 8 && r[2] == 405 && r[3] == 243) { r[5] = 249; r[6] = 249; n++ }
           for (k = 0; k < 13; k++) print r[k]
       } }
     END { exit n != 1 }' "$build/beispiel/bahnhof.pln" > "$work/abgelehnt/bahnhof.pln" ||
    { echo "FEHLER: turnout W2 not found in the sample plan" >&2; exit 1; }

cat > "$work/lauf.sh" <<'INNER'
#!/bin/bash
set -euo pipefail
source "$FENSTERHILFEN"
work="$1"; out="$2"; bin="$3"; nach="$4"; srcpd="$5"; helfer="$6"
intervall=1500
zyklen=5
log="$out/verbindung_srcpsim.log"
rm -f "$out"/verbunden*.png "$out"/verloren*.png "$out"/erneut*.png "$out"/wieder*.png \
      "$out"/abgelehnt*.png "$out"/verbindung_srcpsim*.log

# Every process started here, ended at the end whatever happens: asked
# first, killed when it is still there 3 s later.
sim=""; velmo=""; beobachter=""; server=""
aufraeumen() {
    local p
    for p in $beobachter $velmo $sim $server; do kill "$p" 2>/dev/null || true; done
    for p in $beobachter $velmo $sim $server; do
        for _ in $(seq 30); do kill -0 "$p" 2>/dev/null || break; sleep 0.1; done
        kill -KILL "$p" 2>/dev/null || true
    done
}
trap aufraeumen EXIT
trap 'exit 1' INT TERM HUP

jetzt_ms() { date +%s%3N; }
bis() {
    local rest=$(($1 - $(jetzt_ms)))
    [ "$rest" -le 0 ] || sleep "$(awk -v ms="$rest" 'BEGIN { printf "%.3f", ms / 1000 }')"
}

# The window alone into FILE; its status bar's right end from FILE into DEST.
fensterbild() { import -window root -crop "${ww}x${wh}+${wx}+${wy}" +repage "$1"; }
streifen() { convert "$1" -crop "520x20+$((ww - 520))+$((wh - 20))" +repage "$2"; }
lage() { python3 "$helfer" lage "$1"; }
# warte_lage MUSTER S: waits up to S seconds for the window's dots
# ("link power") to match the extended regular expression MUSTER.
warte_lage() {
    local ende=$((SECONDS + $2)) jetzt
    while fensterbild "$work/lage.png"; jetzt=$(lage "$work/lage.png"); ! [[ "$jetzt" =~ $1 ]]; do
        [ $SECONDS -lt $ende ] || fehler "the indicators show \"$jetzt\", not \"$1\", after $2 s"
        sleep 0.2
    done
}

# sim_starten PORT LOG: srcpsim in SRCP 0.8 mode on PORT (0: a free one)
# with the demo train, its log in LOG; sets sim, port, and lauscht (when it
# listened, ms since 1970, from its first log line).
sim_starten() {
    local zeile
    rm -f "$work/port"
    "$bin/srcpsim" --srcp 0.8 --port "$1" --demo 8 --interval "$intervall" > "$work/port" 2> "$2" &
    sim=$!
    until [ -s "$work/port" ] && zeile=$(grep -m1 ' listening on ' "$2"); do
        kill -0 "$sim" 2>/dev/null || fehler "srcpsim did not start on port $1: $(cat "$2")"
        sleep 0.01
    done
    port=$(head -1 "$work/port")
    lauscht=$(python3 "$helfer" uhr "${zeile%% *}" "$(jetzt_ms)")
}

# The settings file: the simulator's port, SRCP 0.80, no info mode, and in
# the first record "BR 50", Motorola M2, address 3, forward, Vmax 14, four
# functions.
einstellungen_mit_lok() {
    einstellungen "$work/Data/parmc.dat" "$1" 127.0.0.1 80 0
    sed -i '5s/.*/M2/; 6s/.*/BR 50/; 7s/.*/3/; 8s/.*/1/; 10s/.*/14/; 12s/.*/4/' "$work/Data/parmc.dat"
}

velmo_starten() {
    "$work/velmo" "$1" &
    velmo=$!
    fenster=$(hauptfenster)
    pause 2
    keine_meldung "start"
    eval "$(xdotool getwindowgeometry --shell "$fenster")"
    wx=$X; wy=$Y; ww=$WIDTH; wh=$HEIGHT
}

# The drive lines the simulator logged for locomotive 3, as sent.
fahrzeilen() {
    { grep -E 'cmd#[0-9]+ < SET 1 GL 3 ' "$1" || true; } | sed -E 's/^\S+ cmd#[0-9]+ < //; s/ +$//'
}
# The time of day of the first line of LOG matching MUSTER, in ms since 1970.
logzeit() {
    local zeile
    zeile=$(grep -m1 -E "$2" "$1") || fehler "$(basename "$1") lacks: $2"
    python3 "$helfer" uhr "${zeile%% *}" "$(jetzt_ms)"
}

# ---- Connected and driving ----
echo "=== connect, feedback, power, a locomotive on throttle 1 (srcpsim, SRCP 0.8)"
sim_starten 0 "$log"
einstellungen_mit_lok "$port"
# No Data/velmo.ini: the automatic reconnect is on by default.
rm -f "$work/Data/velmo.ini"
velmo_starten "$work/plan/bahnhof.pln"

menue d v
im_log 'cmd#[0-9]+ < GET 3 DESCRIPTION' 15
pause 1
keine_meldung "Host verbinden"
menue r s
im_log 'session [0-9]+ \(info\)' 15
pause 1.5
keine_meldung "Abfrage starten"
menue b n
im_log 'cmd#[0-9]+ < SET 3 POWER ON' 5
pause 0.5
keine_meldung "Power on"

# Throttle 1: its slider pressed and dragged up, the button held; the panel
# lies above the scroll bar and the status bar (17 pixels each).
rx=$((wx + 1)); ry=$((wy + wh - 113 - 17 - 17))
xdotool mousemove $((rx + 32)) $((ry + 60)) mousedown 1
for y in $(seq 60 -4 40); do xdotool mousemove $((rx + 32)) $((ry + y)); sleep 0.05; done
xdotool mouseup 1
xdotool mousemove $((wx + ww - 10)) $((wy + 40))
pause 1
fahrt=$(fahrzeilen "$log" | tail -1)
[[ "$fahrt" =~ ^SET\ 1\ GL\ 3\ 1\ [1-9][0-9]*\ 14\  ]] || fehler "throttle 1 does not drive locomotive 3: \"$fahrt\""
echo "throttle 1 drives: $fahrt"

warte_lage '^gruen gruen$' 10
fensterbild "$out/verbunden_fenster.png"
streifen "$out/verbunden_fenster.png" "$out/verbunden.png"

# ---- Kill and return, five times ----
echo "=== $zyklen cycles: the simulator killed, started again on port $port $nach s after the kill"
dauern=()
for k in $(seq "$zyklen"); do
    dir="$work/zyklus$k"
    mkdir "$dir"
    python3 "$helfer" beobachten "$wx" "$wy" "$ww" "$wh" "$dir" 60 > "$dir/bilder.txt" &
    beobachter=$!
    pause 0.5
    kill -KILL "$sim"
    wait "$sim" 2>/dev/null || true
    sim=""
    getoetet=$(jetzt_ms)
    bis $((getoetet + $(awk -v s="$nach" 'BEGIN { printf "%d", s * 1000 }')))
    neu="$out/verbindung_srcpsim_neu$k.log"
    sim_starten "$port" "$neu"
    wait "$beobachter" || fehler "cycle $k: the indicators did not both turn green again within 60 s"
    beobachter=""
    log="$neu"
    im_log 'cmd#[0-9]+ < SET 1 GL 3 ' 10
    pause 1
    keine_meldung "cycle $k"

    # The first grab showing the loss, the first of the try (amber) after
    # it, the first with the link green after that, and the last one.
    read -r verloren_ms verloren_bild erneut_ms erneut_bild wieder_ms wieder_bild ende_bild < <(awk '
        $2 == "rot" && !v { v = $1 " " $4 }
        v && $2 == "gelb" && !e { e = $1 " " $4 }
        e && $2 == "gruen" && !w { w = $1 " " $4 }
        NF == 4 { letzt = $4 }
        END { print (v ? v : "- -"), (e ? e : "- -"), (w ? w : "- -"), letzt }' "$dir/bilder.txt")
    [ "$verloren_ms" != - ] || fehler "cycle $k: the link dot never turned red"
    [ "$erneut_ms" != - ] || fehler "cycle $k: no amber grab of a try after the loss"
    [ "$wieder_ms" != - ] || fehler "cycle $k: the link dot did not turn green after the try"
    verbunden_ms=$(logzeit "$neu" 'conn#1 \* connected')
    dauer=$((wieder_ms - lauscht))
    dauern+=("$dauer")
    printf '  cycle %d: red %4d ms after the kill; listening %5d ms after the kill; Velmo connected %+5d ms and the dot green %5d ms after that\n' \
        "$k" $((verloren_ms - getoetet)) $((lauscht - getoetet)) $((verbunden_ms - lauscht)) "$dauer"

    # The resync: a new command session, the feedback session, power on for
    # every bus, the locomotive announced and driven. A loss above 5 s
    # stops it; the loss lasted until the try that succeeded began.
    for muster in 'conn#[0-9]+ < SET CONNECTIONMODE SRCP COMMAND' 'conn#[0-9]+ < SET CONNECTIONMODE SRCP INFO' \
                  'cmd#[0-9]+ < SET 1 POWER ON' 'cmd#[0-9]+ < SET 2 POWER ON' 'cmd#[0-9]+ < SET 3 POWER ON' \
                  'cmd#[0-9]+ < INIT 1 GL 3 M 2 14 [0-9]+$'; do
        grep -qE "$muster" "$neu" || fehler "cycle $k: the new simulator's log lacks: $muster"
    done
    neufahrt=$(fahrzeilen "$neu" | tail -1)
    ausfall=$((verbunden_ms - getoetet))
    angehalten=$(sed -E 's/^(SET 1 GL 3 [01] )[0-9]+ /\10 /' <<<"$fahrt")
    if [ "$ausfall" -lt 4500 ]; then
        [ "$neufahrt" = "$fahrt" ] || fehler "cycle $k: after a loss of ${ausfall} ms Velmo sent \"$neufahrt\", not \"$fahrt\""
    elif [ "$ausfall" -gt 5500 ]; then
        [ "$neufahrt" = "$angehalten" ] || fehler "cycle $k: after a loss of ${ausfall} ms Velmo sent \"$neufahrt\", not \"$angehalten\""
    fi
    fahrt="$neufahrt"

    if [ "$k" -eq 1 ]; then
        for paar in "verloren $verloren_bild" "erneut $erneut_bild" "wieder $wieder_bild" "wieder_strom $ende_bild"; do
            read -r name bild_ppm <<<"$paar"
            convert "$bild_ppm" "$out/${name}_fenster.png"
            streifen "$bild_ppm" "$out/$name.png"
        done
        [ "$(lage "$out/wieder_strom.png")" = "gruen gruen" ] || fehler "wieder_strom.png does not show both dots green"
        echo "  the new simulator's log of the resync (demo train reports left out):"
        grep -E '(conn|cmd|info)#[0-9]+ (< |\* (connected|session))|OK GO [0-9]+$' "$neu" |
            sed -n '1,/< SET 1 GL 3 /p' | sed 's/^/    /'
    fi
    pause 1
done
median=$(printf '%s\n' "${dauern[@]}" | sort -n | sed -n "$(((zyklen + 1) / 2))p")
echo "from the simulator listening again to the link dot green: ${dauern[*]} ms, median $median ms"
echo "  (the simulator restarted $nach s after each kill; grabs every 100 ms, each time the first grab showing green)"

menue r b
menue d t
im_log 'cmd#[0-9]+ \* disconnected' 5
programm_beenden "$work/ende.png"
velmo=""
kill "$sim"
wait "$sim" 2>/dev/null || true
sim=""

# ---- A refused command on its cell ----
frei_port() { python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
# srcpd in the foreground: the server on bus 0 at PORT, two loopback buses
# of 256 accessories each without power at start; sets server. Returns 1
# when it does not greet within 5 s.
srcpd_starten() {
    local dir="$work/srcpd"
    mkdir -p "$dir"
    srcpd_konfiguration "$1" "$dir"
    "$srcpd" -n -f "$dir/srcpd.conf" > "$dir/srcpd.out" 2>&1 &
    server=$!
    python3 - "$1" <<'PY'
import socket, sys, time
bis = time.time() + 5
while time.time() < bis:
    try:
        with socket.create_connection(("127.0.0.1", int(sys.argv[1])), timeout=2) as s:
            if s.makefile("rb").readline().startswith(b"srcpd "):
                sys.exit(0)
    except OSError:
        pass
    time.sleep(0.1)
sys.exit(1)
PY
}

if [ -x "$srcpd" ]; then
    gegner="srcpd ($srcpd)"
    port=$(frei_port)
    srcpd_starten "$port" || fehler "srcpd did not start on port $port: $(cat "$work/srcpd/srcpd.out")"
else
    gegner="srcpsim (no srcpd at $srcpd; bash scripts/srcpd.sh builds it)"
    sim_starten 0 "$out/verbindung_srcpsim_abgelehnt.log"
fi
echo "=== a refused command: W2 at (15, 9) on accessory address 999, against $gegner"
einstellungen_mit_lok "$port"
velmo_starten "$work/abgelehnt/bahnhof.pln"
bild "$work/start.png"
read -r planx plany planw < <(planansicht "$work/start.png") || fehler "no plan view found"
menue d v
warte_lage '^gruen ' 15
pause 1
menue b n
warte_lage '^gruen gruen$' 10
menue o b
pause 1
keine_meldung "Betrieb"
xdotool mousemove $((planx + 27 * 15 + 13)) $((plany + 27 * 9 + 13)) click 1
xdotool mousemove $((wx + ww - 10)) $((wy + 40))
# The frame is drawn once the refusal came: the bounding box of its red
# within the plan's rows must be the cell.
ende=$((SECONDS + 5))
until bild "$work/abgelehnt_schirm.png"
      convert "$work/abgelehnt_schirm.png" -crop "${planw}x324+$planx+$plany" +repage "$work/abgelehnt_plan.png"
      rahmen=$(bildpunkte box "$work/abgelehnt_plan.png" 210,30,30) || rahmen="none"
      [ "$rahmen" = "$((27 * 15)) $((27 * 9)) 27 27" ]; do
    [ $SECONDS -lt $ende ] || fehler "no red frame on cell (15, 9): red box $rahmen"
    sleep 0.2
done
pause 0.5
fensterbild "$out/abgelehnt.png"
keine_meldung "the refused press"
echo "cell (15, 9) framed red: box $rahmen in the plan"
menue d t
programm_beenden "$work/ende2.png"
velmo=""
echo "all checks passed"
INNER
im_xvfb "$work/lauf.sh" "$work" "$out" "$build/bin" "$nach" "$srcpd" "$root/scripts/verbindung_xvfb.py"
echo "pictures and simulator logs in $out"
