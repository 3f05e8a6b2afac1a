#!/usr/bin/env bash
# Builds the Windows program (the window program ordnerlink.exe and its
# console companion ordnerlink.com beside it) and starts the window program
# under Wine, in a Wine prefix of its own (the tests use another). On the
# user's X display when there is one; otherwise on a virtual one, where it
# saves a screenshot of the window, says where, and closes the program again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/setup.sh
source scripts/build_environment.sh
use_utf8_locale
build=build/windows
program="$build/app/ordnerlink.exe"
title='Entfernten Ordner Lokal einbinden'
window_timeout=60

configure_windows_build "$build"
cmake --build "$build" --target ordnerlink ordnerlink_console
source scripts/display.sh
prepare_wine_prefix "$build/wineprefix-run"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec wine "$program"
fi

stop_everything_on_exit
start_display "$build"

log="$build/run.log"
wine "$program" >"$log" 2>&1 &
pid=$!
window=
for _ in $(seq $((window_timeout * 2))); do
    window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | tail -n 1) || true
    [ -n "$window" ] && break
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid" && code=0 || code=$?
        echo "Ordnerlink ended (exit status $code) before its window appeared; Wine's output: $root/$log" >&2
        exit 1
    fi
    sleep 0.5
done
if [ -z "$window" ]; then
    echo "Ordnerlink's window \"$title\" did not appear within $window_timeout seconds;" \
        "Wine's output: $root/$log" >&2
    exit 1
fi

sleep 1 # let the window finish painting
mkdir -p "$build/screenshots"
shot="$build/screenshots/run.png"
convert "xwd:$XVFB_SCREEN" "$shot"
echo "No display here: Ordnerlink ran on a virtual one. Screenshot: $root/$shot"
