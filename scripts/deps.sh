#!/bin/bash
# Installs the Debian packages that Velmo needs to build when they are
# missing; --window adds those for running it in a window under Xvfb,
# --desktop those of the menu entry and file type (scripts/desktop.sh),
# --fuzz clang and its runtime libraries with libFuzzer, --bench valgrind
# for the instruction counts of bench/run, --test poppler-utils, whose
# pdftotext lets the tests read the text of the PDF files Velmo writes.
set -euo pipefail

packages=(cmake make g++ qt6-base-dev qt6-translations-l10n)
for wahl in "$@"; do
    case "$wahl" in
        --window) packages+=(xvfb xauth xdotool imagemagick x11-utils) ;;
        --desktop) packages+=(desktop-file-utils shared-mime-info xdg-utils libglib2.0-bin) ;;
        --fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
        --bench) packages+=(valgrind) ;;
        --test) packages+=(poppler-utils) ;;
        *) echo "deps.sh: unknown option $wahl" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
