#!/bin/bash
# Feedback over SRCP 0.8 in the real Velmo window under Xvfb, against
# srcpsim in its 0.8 mode whose demo train runs round contacts 1 to 8 of
# bus 1. As a user would: "SRCP Version" set to 0.80, "IP-Adresse Host" to
# the simulator's port with Info-Modus on, the plan of eight feedback
# contacts (written by build/bin/rueckplan) opened through "Öffnen", "Host
# verbinden" (command and info session), "Abfrage starten" (poll session);
# at three train positions a screenshot must show the contact the simulator
# last occupied in the occupied picture and every other contact free, pixel
# for pixel as Icon6502.bmp / Icon6501.bmp; then "Abfrage beenden", "Host
# trennen" and "E&xit".
#   <out>/rueckmeldung08_ip_dialog.png  the connection dialog filled in
#   <out>/rueckmeldung08_kontakt<k>.png the train on contact k (three steps)
#   <out>/srcpsim08.log                 the simulator's log of all sessions
#   bash scripts/rueckmeldung08_xvfb.sh [build-dir] [out-dir] [interval-ms]
# Exits non-zero when a step or a check fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/arbeitskopie.sh"
pfade "$root" "${1:-}" "${2:-}"
fensterlauf "$root" "$build" velmo srcpsim rueckplan
intervall="${3:-1500}"
"$build/bin/rueckplan" "$work" 8 >/dev/null

cat > "$work/lauf.sh" <<'INNER'
#!/bin/bash
set -euo pipefail
source "$FENSTERHILFEN"
work="$1"; out="$2"; bin="$3"; intervall="$4"
log="$out/srcpsim08.log"
kontakte=8
# The demo train's reports to the info sessions, up to the contact number.
meldemuster='info\* > .* 100 INFO 1 FB [0-9]+'

# Contact k lies in plan cell (k-1, 0). Every cell must equal the occupied
# picture for the train's contact and the free one for the others.
pruefen() {
    local schuss="$1" zug="$2" k auftraege=() ergebnis zelle icon n besetzt frei falsch=0
    local -A aus
    for k in $(seq "$kontakte"); do
        auftraege+=("$((k - 1)),0=Icon6502.bmp" "$((k - 1)),0=Icon6501.bmp")
    done
    ergebnis=$(abweichungen "$schuss" "${auftraege[@]}")
    while read -r zelle icon n; do aus["$zelle $icon"]=$n; done <<<"$ergebnis"
    for k in $(seq "$kontakte"); do
        besetzt=${aus["$((k - 1)),0 Icon6502.bmp"]}
        frei=${aus["$((k - 1)),0 Icon6501.bmp"]}
        echo "  contact $k: $besetzt pixels off the occupied picture, $frei off the free one"
        if [ "$k" -eq "$zug" ]; then
            [ "$besetzt" = 0 ] || falsch=1
        else
            [ "$frei" = 0 ] || falsch=1
        fi
    done
    [ "$falsch" -eq 0 ] || fehler "$(basename "$schuss"): not exactly contact $zug shown occupied"
}

simulator_starten 0.8 "$kontakte"
"$work/velmo" &
velmo=$!
trap 'kill "$velmo" "$sim" 2>/dev/null || true' EXIT
fenster=$(hauptfenster)
pause 1
keine_meldung "start"

# The plan view: the first wide run of plan silver, found before a plan is
# drawn into it.
bild "$work/start.png"
read -r planx plany _ < <(planansicht "$work/start.png") || fehler "no plan view found"

# SRCP 0.80, host and port, Info-Modus on, through the two dialogs.
srcp08_verbindung "$port" 1 "$out/rueckmeldung08_ip_dialog.png"

# Datei > Öffnen of the plan of eight feedback contacts.
menue d f
datei_dialog "Öffnen" "$work/rueck.pln"
pause 1
keine_meldung "Öffnen"
titel=$(xdotool getwindowname "$fenster")
[[ "$titel" == *"rueck.pln" ]] || fehler "window title after Öffnen: $titel"

# Datei > Host verbinden: the command session, then the info session; the
# routine returns a second after the info session's GO.
menue d v
im_log 'conn#1 < SET CONNECTIONMODE SRCP COMMAND' 10
im_log 'info#[0-9]+ \* session|session [0-9]+ \(info\)' 15
pause 2
keine_meldung "Host verbinden"
# Rückmeldung > Abfrage starten: the poll session, a second info session.
menue r s
im_log 'conn#3 < GO' 10
pause 2
keine_meldung "Abfrage starten"

# Three train positions, one step apart; the pictures are checked after
# all three are taken.
gezeigt=()
for _ in 1 2 3; do aufnahme "$out/rueckmeldung08_kontakt"; done
for k in "${gezeigt[@]}"; do
    echo "train on contact $k:"
    pruefen "$out/rueckmeldung08_kontakt$k.png" "$k"
done
[ "${gezeigt[0]}" != "${gezeigt[2]}" ] || fehler "the train did not move"

# Rückmeldung > Abfrage beenden, Datei > Host trennen, Datei > Exit: the
# window refuses to close while the command connection is open.
beenden
pause 0.5
kill "$sim"
wait "$sim" 2>/dev/null || true
trap - EXIT

# The log shows both kinds of session with their opening exchange, and the
# feedback reports.
for muster in 'conn#[0-9]+ < SET CONNECTIONMODE SRCP COMMAND' 'conn#[0-9]+ < SET CONNECTIONMODE SRCP INFO' \
              'OK GO' 'named cmd#' 'named info#' 'cmd#[0-9]+ < GET 1 DESCRIPTION' 'info\* > .* 100 INFO 1 FB' \
              'info#[0-9]+ \* disconnected' 'cmd#[0-9]+ \* disconnected'; do
    grep -qE "$muster" "$log" || fehler "the simulator's log lacks: $muster"
done
[ "$(grep -cE '< SET CONNECTIONMODE SRCP INFO' "$log")" -eq 2 ] || fehler "not two info sessions (info and poll) in the log"
echo "contacts ${gezeigt[*]} shown occupied in turn, every other contact free"
INNER
im_xvfb "$work/lauf.sh" "$work" "$out" "$build/bin" "$intervall"
echo "screenshots and simulator log in $out"
