# shellcheck shell=bash disable=SC2154,SC2034
# Sourced by the scripts that drive the real Velmo window under Xvfb (the
# inner scripts that im_xvfb of arbeitskopie.sh runs; it names this file in
# FENSTERHILFEN). What those scripts all do, as functions; each reads the
# caller's variables named with it:
#   fehler TEXT...       prints "FEHLER: TEXT" to stderr and ends the script
#                        with status 1
#   pause [S]            waits S seconds, 0.3 without S
#   bild FILE            a screenshot of the whole screen into FILE
#   keine_meldung STEP   fails after STEP when a critical message box of the
#                        program (title "velmo") is open, saving a screenshot
#                        as $work/meldung.png
#   hauptfenster         waits for the main window and prints its id
#   dialog TITLE         waits up to 10 s for the window with that title and
#                        sets dx, dy to its top left corner
#   klick X Y            a left press at (X, Y) of the window found last by
#                        dialog
#   srcp08_verbindung PORT INFO [SHOT]
#                        Einstellungen > SRCP Version: "SRCP 0.80";
#                        Einstellungen > IP-Adresse Host: host 127.0.0.1 and
#                        PORT typed, Info-Modus ticked when INFO is 1 (it
#                        must be off before), the dialog shot into SHOT when
#                        given, "speichern"; the settings file must then
#                        begin with PORT, 127.0.0.1, 80 and INFO
#   menue KEY ITEM       a menu item by its Alt accelerators in the window
#                        $fenster, e.g. menue d n for "Datei > Neu"
#   datei_dialog TITLE PATH
#                        types PATH into the file name field of the Qt file
#                        dialog TITLE and confirms it; fails when the dialog
#                        is still open a second later
#   bildpunkte MODE SHOT ...
#                        reads a screenshot with bildpunkte.py beside this
#                        file (box, flaeche, gezeichnet, zellen: see there)
#   planansicht SHOT     "x y w" of the plan view in a screenshot: the first
#                        run of at least 200 pixels of plan silver (exit 1
#                        when there is none)
#   abweichungen SHOT C,R=ICON...
#                        "C,R ICON n" for each cell of the plan view at
#                        ($planx, $plany): n pixels differ from the picture
#                        $work/Data/ICON; fails when a picture is unreadable
#   simulator_starten SRCP DEMO
#                        starts $bin/srcpsim in protocol version SRCP on a
#                        free port with a demo train round DEMO contacts
#                        every $intervall ms, its log in $log; sets sim to
#                        its process id and port to its port
#   im_log PATTERN S     waits up to S seconds for a line of $log matching
#                        the extended regular expression PATTERN
#   meldungen            how many feedback reports the simulator has sent:
#                        lines of $log matching "$meldemuster [01]$", where
#                        meldemuster ends before a report's contact number
#   zugstelle            the contact of the latest report "occupied", where
#                        the demo train stands
#   aufnahme PREFIX      a screenshot with the train on a contact: waits for
#                        its next step, lets the window draw both reports of
#                        the step, and keeps the shot only when no step came
#                        while it was taken; saves it as PREFIX<k>.png and
#                        appends the contact k to the array gezeigt
#   srcpd_konfiguration PORT DIR
#                        writes DIR/srcpd.conf: the server on bus 0 at PORT
#                        (pid file in DIR, this user and group), two
#                        loopback buses of 16 contacts, 256 accessories and
#                        80 locomotives each, without power at start
#   beenden              Rückmeldung > Abfrage beenden, Datei > Host trennen
#                        (the simulator must log the command session's end),
#                        then programm_beenden
#   programm_beenden PNG Datei > Exit, answering "Nein" when it asks to save
#                        the plan; $velmo must end within 5 s, else the
#                        screen goes to PNG
# It sources arbeitskopie.sh beside it for `einstellungen`.

fensterhilfen_ort="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$fensterhilfen_ort/arbeitskopie.sh"

fehler() { echo "FEHLER: $*" >&2; exit 1; }
pause() { sleep "${1:-0.3}"; }
bild() { import -window root "$1"; }

keine_meldung() {
    if xdotool search --onlyvisible --name '^velmo$' >/dev/null 2>&1; then
        bild "$work/meldung.png"
        fehler "message box after: $1"
    fi
}

hauptfenster() { xdotool search --sync --onlyvisible --name "Strandor V 0.5" | head -1; }

dialog() {
    local id
    id=$(timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -1) || fehler "no window \"$1\""
    eval "$(xdotool getwindowgeometry --shell "$id")"
    dx=$X; dy=$Y
    pause 0.5
}

klick() {
    xdotool mousemove $((dx + $1)) $((dy + $2)) click 1
    pause
}

menue() {
    xdotool windowfocus --sync "$fenster"
    xdotool key "alt+$1"
    pause 0.5
    xdotool key "$2"
    pause 0.5
}

datei_dialog() {
    local titel="$1" pfad="$2" dialog
    dialog=$(xdotool search --sync --onlyvisible --name "^$titel\$" | head -1)
    xdotool windowfocus --sync "$dialog"
    pause 0.5
    xdotool key ctrl+a
    xdotool type --delay 20 "$pfad"
    xdotool key Return
    pause 1
    if xdotool search --onlyvisible --name "^$titel\$" >/dev/null 2>&1; then
        bild "$work/dialog.png"
        fehler "file dialog \"$titel\" still open"
    fi
}

srcp08_verbindung() {
    local beginn
    menue e s
    dialog "SRCP Version"
    klick 230 60
    klick 110 124
    menue e i
    dialog "IP-Verbindung"
    klick 260 60
    xdotool key ctrl+a
    xdotool type --delay 20 127.0.0.1
    klick 206 108
    xdotool key ctrl+a
    xdotool type --delay 20 "$1"
    [ "$2" = 0 ] || klick 182 152
    [ -z "${3:-}" ] || bild "$3"
    klick 188 204
    keine_meldung "the connection dialog"
    beginn=$(head -4 "$work/Data/parmc.dat" | paste -sd' ')
    [ "$beginn" = "$1 127.0.0.1 80 $2" ] ||
        fehler "settings file begins \"$beginn\", not \"$1 127.0.0.1 80 $2\" (port, host, SRCP 0.80, Info-Modus)"
}

bildpunkte() { python3 "$fensterhilfen_ort/bildpunkte.py" "$@"; }
planansicht() { bildpunkte flaeche "$1" 192,192,192 200; }

abweichungen() {
    local schuss="$1"
    shift
    bildpunkte zellen "$schuss" "$planx" "$plany" "$work/Data" "$@" || fehler "$(basename "$schuss"): cells not compared"
}

simulator_starten() {
    rm -f "$work/port"
    "$bin/srcpsim" --srcp "$1" --port 0 --demo "$2" --interval "$intervall" > "$work/port" 2> "$log" &
    sim=$!
    until [ -s "$work/port" ]; do
        kill -0 "$sim" 2>/dev/null || fehler "srcpsim did not start"
        sleep 0.1
    done
    port=$(head -1 "$work/port")
}

im_log() {
    local bis=$((SECONDS + $2))
    until grep -qE "$1" "$log"; do
        [ $SECONDS -lt $bis ] || fehler "the simulator did not log: $1"
        sleep 0.2
    done
}

meldungen() { grep -cE "$meldemuster [01]\$" "$log" || true; }
zugstelle() { grep -E "$meldemuster 1\$" "$log" | tail -1 | awk '{print $(NF-1)}'; }

aufnahme() {
    local vorher bis=$((SECONDS + 3 * intervall / 1000 + 3)) kontakt
    vorher=$(meldungen)
    while [ "$(meldungen)" = "$vorher" ]; do
        [ $SECONDS -lt $bis ] || fehler "the demo train does not move"
        sleep 0.05
    done
    sleep "$(awk -v ms="$intervall" 'BEGIN { print ms / 3000 }')"
    vorher=$(meldungen)
    kontakt=$(zugstelle)
    bild "$work/aufnahme.png"
    [ "$(meldungen)" = "$vorher" ] || fehler "the demo train moved while the screenshot was taken"
    mv "$work/aufnahme.png" "$1$kontakt.png"
    gezeigt+=("$kontakt")
}

beenden() {
    menue r b
    menue d t
    im_log 'cmd#[0-9]+ \* disconnected' 5
    programm_beenden "$work/ende.png"
}

# Datei > Exit. A plan whose turnouts changed position in operation asks
# whether to save it: "Nein" (the press at the button's place in the box).
# The program must end within 5 s, else the screen goes to $1.
programm_beenden() {
    menue d x
    if xdotool search --onlyvisible --name '^Gleisbild$' >/dev/null 2>&1; then
        dialog Gleisbild
        echo "Exit asks whether to save the plan: Nein"
        klick 324 59
    fi
    for _ in $(seq 50); do kill -0 "$velmo" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$velmo" 2>/dev/null; then
        bild "$1"
        fehler "the window did not close after Host trennen and Exit"
    fi
}

srcpd_konfiguration() {
    local benutzer gruppe bus
    benutzer=$(id -un 2>/dev/null || true)
    gruppe=$(id -gn 2>/dev/null || true)
    {
        printf '<?xml version="1.0"?>\n<srcpd version="2.0">\n  <bus number="0">\n    <server>\n'
        printf '      <tcp-port>%s</tcp-port>\n      <pid-file>%s</pid-file>\n' "$1" "$2/srcpd.pid"
        [ -z "$benutzer" ] || printf '      <username>%s</username>\n' "$benutzer"
        [ -z "$gruppe" ] || printf '      <groupname>%s</groupname>\n' "$gruppe"
        printf '    </server>\n    <verbosity>3</verbosity>\n  </bus>\n'
        for bus in 1 2; do
            printf '  <bus number="%s">\n    <loopback>\n      <number_fb>16</number_fb>\n' "$bus"
            printf '      <number_ga>256</number_ga>\n      <number_gl>80</number_gl>\n    </loopback>\n'
            printf '    <use_watchdog>no</use_watchdog>\n    <verbosity>3</verbosity>\n'
            printf '    <auto_power_on>no</auto_power_on>\n  </bus>\n'
        done
        printf '</srcpd>\n'
    } > "$2/srcpd.conf"
}
