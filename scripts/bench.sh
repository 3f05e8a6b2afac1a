#!/usr/bin/env bash
# Builds a release configuration in build/bench and measures the program
# against its references: start to mapped window and peak memory at that
# moment (against a bare window program), the stripped executable's size,
# folder links (against the bare calls), /sync of a list against /create
# /from of it, /sync /policy with an unchanged list against /list of its
# folder, and the list benchmark. Prints one
# table of medians. Not part of the test command; timings vary with the load.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/setup.sh
source scripts/build_environment.sh
build=build/bench
configure_windows_build "$build"
cmake --build "$build" --target ordnerlink ordnerlink_console bare_window folder_link_bench vxlinein_list_bench >/dev/null

start_bench_display 120 "$build/xvfb.log"
export WINEPREFIX="$root/$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "$BENCH_XVFB_PID" 2>/dev/null || true
    rm -rf "$WINEPREFIX/drive_c/linkbench"
}
trap cleanup EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
fi
rm -rf "$WINEPREFIX/drive_c/linkbench"
# One server for all runs, as on a desktop where Wine is already running.
wineserver -p
python3 scripts/bench.py "$build"
