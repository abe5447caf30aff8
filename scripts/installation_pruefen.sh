#!/bin/bash
# Checks the installed program folder and its desktop integration, in
# scratch folders only:
#   - cmake --install into a scratch prefix lays out velmo, srcpsim, Data/
#     (catalogue, pictures, icon; no settings file), examples/, doc/ and
#     desktop.sh; cpack -G TGZ packs the same tree;
#   - the installed velmo, started under Xvfb with the sample plan, draws
#     the plan's cells with the pictures of its own Data/;
#   - desktop.sh in a scratch HOME writes a menu entry that passes
#     desktop-file-validate, and the file type application/x-velmo-plan is
#     what xdg-mime names for a plan and opens it with Velmo.
#   bash scripts/installation_pruefen.sh [build-dir]
# Exits non-zero when a check fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/arbeitskopie.sh"
pfade "$root" "${1:-}" ""
"$root/scripts/deps.sh" --window --desktop
cmake --build "$build" -j"$(nproc)" --target velmo srcpsim velmo_data >/dev/null
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
fehler() { echo "FEHLER: $*" >&2; exit 1; }

prefix="$scratch/velmo"
cmake --install "$build" --prefix "$prefix" >/dev/null
for datei in velmo libvelmo_drucker.so srcpsim desktop.sh Data/Elemente1.dat Data/Icon0801.bmp Data/func_on.bmp Data/velmo.png Data/velmo64.png \
             examples/bahnhof.pln examples/bahnhof.fst doc/README.md; do
    [ -e "$prefix/$datei" ] || fehler "installed folder without $datei"
done
[ ! -e "$prefix/Data/parmc.dat" ] || fehler "a settings file was installed"
"$prefix/srcpsim" --help >/dev/null || fehler "the installed srcpsim does not run"
(cd "$build" && cpack -G TGZ -B "$scratch/paket" >/dev/null)
paket=$(ls "$scratch"/paket/velmo-*.tar.gz)
tar -tzf "$paket" | sed -e 's|^[^/]*/||' -e 's|/$||' | grep -v '^$' | sort > "$scratch/paket.txt"
(cd "$prefix" && find . -mindepth 1 | sed 's|^\./||' | sort) > "$scratch/ordner.txt"
diff -q "$scratch/paket.txt" "$scratch/ordner.txt" >/dev/null || fehler "$(basename "$paket") differs from the installed folder"
echo "installed: $(find "$prefix" -maxdepth 1 -mindepth 1 -printf '%f ' ) ($(ls "$prefix/Data" | wc -l) files in Data/); package $(basename "$paket")"

# The installed program on its own Data/: a settings file keeps the first
# start's message box away; the cells are compared with the installed pictures.
einstellungen "$prefix/Data/parmc.dat" 12345 localhost 70 0
cat > "$scratch/fenster.sh" <<'INNER'
#!/bin/bash
set -euo pipefail
source "$FENSTERHILFEN"
work="$1"
"$work/velmo" "$work/examples/bahnhof.pln" &
velmo=$!
trap 'kill "$velmo" 2>/dev/null || true' EXIT
fenster=$(hauptfenster)
pause 2
bild "$work/start.png"
read -r planx plany _ < <(planansicht "$work/start.png") || fehler "no plan view on the screen"
while read -r zelle icon n; do
    [ "$n" -eq 0 ] || fehler "cell $zelle does not show $icon of the installed Data/ ($n pixels differ)"
done < <(abweichungen "$work/start.png" 15,9=Icon0801.bmp 13,1=Icon0901.bmp 7,9=Icon6501.bmp)
echo "the installed velmo draws the sample plan with its own pictures"
INNER
im_xvfb "$scratch/fenster.sh" "$prefix"

# The desktop entry and the file type, for a user whose HOME is scratch.
export HOME="$scratch/home" XDG_DATA_HOME="$scratch/home/.local/share"
mkdir -p "$HOME"
bash "$prefix/desktop.sh" >/dev/null
desktop-file-validate "$XDG_DATA_HOME/applications/velmo.desktop" || fehler "the menu entry is not valid"
grep -qx "Exec=\"$prefix/velmo\" %f" "$XDG_DATA_HOME/applications/velmo.desktop" || fehler "the menu entry does not start $prefix/velmo"
# xdg-mime asks GLib's file-type database, as the desktops do; its plain
# fallback (File::MimeInfo) lets the system's list win whatever the weight.
typ=$(XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype "$root/examples/bahnhof.pln")
[ "$typ" = application/x-velmo-plan ] || fehler "xdg-mime names $typ for a plan"
oeffnet=$(xdg-mime query default application/x-velmo-plan)
[ "$oeffnet" = velmo.desktop ] || fehler "a plan opens with $oeffnet"
echo "desktop entry valid; xdg-mime: examples/bahnhof.pln is $typ, opened by $oeffnet"
