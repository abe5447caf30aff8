#!/bin/bash
# Gives an installed Velmo folder (cmake --install build --prefix DIR) a
# menu entry "Velmo Gleisbildstellwerk" with its icon and the file type
# application/x-velmo-plan for *.pln, so that a double-click on a plan opens
# it in Velmo. For the current user only, in the XDG data folder
# (${XDG_DATA_HOME:-~/.local/share}); nothing outside it is touched.
#   desktop.sh [DIR]      DIR defaults to the folder this script lies in
# The plan glob weighs more than the default, since the common file-type
# list gives *.pln to another program (PlanPerfect).
# The caches of the menu and of the file types are renewed when their tools
# are there (Debian: desktop-file-utils, shared-mime-info, xdg-utils).
set -euo pipefail
dir="$(realpath -m "${1:-$(dirname "$0")}")"
[ -x "$dir/velmo" ] && [ -f "$dir/Data/velmo.png" ] || {
    echo "usage: desktop.sh DIR  (DIR: a folder made by cmake --install, holding velmo and Data/)" >&2
    exit 2
}
daten="${XDG_DATA_HOME:-$HOME/.local/share}"
mkdir -p "$daten/applications" "$daten/icons/hicolor/256x256/apps" "$daten/icons/hicolor/64x64/apps" "$daten/mime/packages"

cp "$dir/Data/velmo.png" "$daten/icons/hicolor/256x256/apps/velmo.png"
cp "$dir/Data/velmo64.png" "$daten/icons/hicolor/64x64/apps/velmo.png"

# Exec takes the program's path quoted, as a path may hold blanks; a
# quoted argument escapes ", `, $ and \ with a backslash.
programm=$(printf '%s' "$dir/velmo" | sed 's/[\\"`$]/\\&/g')
cat > "$daten/applications/velmo.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=Velmo Gleisbildstellwerk
GenericName=Gleisbildstellwerk
Comment=Modellbahn nach Gleisbild stellen und fahren (SRCP)
Exec="$programm" %f
Icon=velmo
Terminal=false
Categories=Utility;
MimeType=application/x-velmo-plan;
Keywords=Modellbahn;Stellwerk;SRCP;Gleisbild;
DESKTOP

cat > "$daten/mime/packages/velmo-plan.xml" <<'MIME'
<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="application/x-velmo-plan">
    <comment>Velmo track plan</comment>
    <comment xml:lang="de">Velmo-Gleisbild</comment>
    <sub-class-of type="text/plain"/>
    <glob pattern="*.pln" weight="80"/>
  </mime-type>
</mime-info>
MIME

if command -v update-mime-database >/dev/null; then update-mime-database "$daten/mime"; fi
if command -v update-desktop-database >/dev/null; then update-desktop-database "$daten/applications"; fi
if command -v xdg-mime >/dev/null; then xdg-mime default velmo.desktop application/x-velmo-plan; fi
echo "Velmo Gleisbildstellwerk: $daten/applications/velmo.desktop, file type application/x-velmo-plan (*.pln)"
