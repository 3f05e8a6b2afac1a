#!/usr/bin/env bash
# Benchmark, not a test: the window "Ordnerverknüpfungen verwalten".
# 1. On a folder of 300 folder links whose FTP servers take the connection and
#    never greet: the time from start until every row is shown (with "wird
#    geprüft" or a state), median of five runs against half a second, and
#    whether every row was there before any check finished.
# 2. ROUNDS rounds (1,000 unless given) of Ctrl+A and F5 (sent as the list
#    view's own messages by the probe) over 50 folder links to a local
#    folder, each waited for until the states are settled: the process's
#    handle count and private memory, averaged over the first and the last
#    hundred rounds, side by side, and their course over the run.
# Runs in build/windows on an X display of its own without a window manager
# and in a Wine prefix of its own (build/windows/managerbench).
# Usage: scripts/bench_manager.sh [ROUNDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
rounds=${1:-1000}

source scripts/build_environment.sh
use_utf8_locale
build=build/windows
configure_windows_build "$build"
cmake --build "$build" --target ordnerlink ordnerlink_console manager_probe >/dev/null

start_bench_display 140 "$build/xvfb-manager.log"
export WINEPREFIX="$root/$build/managerbench" WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "$BENCH_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
fi
# One server for all runs, as on a desktop where Wine is already running.
wineserver -p
python3 scripts/bench_manager.py "$build" "$rounds"
