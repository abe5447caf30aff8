#!/bin/bash
# Installs the Debian packages that Velmo needs to build (and, with an
# argument, those for running it in a window) when they are missing.
set -euo pipefail

packages=(cmake make g++ qt6-base-dev)
if [ "${1:-}" = "--window" ]; then
    packages+=(xvfb xauth xdotool imagemagick x11-utils)
fi

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
