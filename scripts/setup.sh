#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when
# they are missing. Idempotent, asks nothing, fetches nothing but packages.
set -euo pipefail

packages=(
    cmake ninja-build g++ python3 python3-pytest googletest
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 fonts-wine
    xvfb xauth openbox xdotool x11-apps x11-utils imagemagick
    attr liblnk-utils
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
