#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine. Without a display it
# runs on a virtual one, saves a screenshot of the window, says where, and
# closes the program again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/setup.sh
build=build/windows
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build "$build" --target ordnerlink
source scripts/display.sh
prepare_wine_prefix "$build/wineprefix"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec wine "$build/app/ordnerlink.exe"
fi

start_display "$build"
trap stop_display EXIT
wine "$build/app/ordnerlink.exe" &
program=$!
xdotool search --sync --onlyvisible --name '^Entfernten Ordner Lokal einbinden$' >/dev/null
sleep 1
mkdir -p "$build/screenshots"
shot="$build/screenshots/run.png"
xwd -root -silent | convert xwd:- "$shot"
echo "No display here: Ordnerlink ran on a virtual one. Screenshot: $root/$shot"
kill "$program" 2>/dev/null || true
wineserver -k 2>/dev/null || true
