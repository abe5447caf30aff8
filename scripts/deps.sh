#!/bin/bash
# Installs the Debian packages that Velmo needs to build when they are
# missing; --window adds those for running it in a window under Xvfb,
# --fuzz clang and its runtime libraries with libFuzzer.
set -euo pipefail

packages=(cmake make g++ qt6-base-dev)
case "${1:-}" in
    --window) packages+=(xvfb xauth xdotool imagemagick x11-utils) ;;
    --fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
esac

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
