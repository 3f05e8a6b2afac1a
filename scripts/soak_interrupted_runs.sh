#!/usr/bin/env bash
# The longer run of tests/e2e/test_interrupted_runs.py, outside the test
# suite: /sync, /create /from and /repair /all each ended 50 times (or
# $1 times) at moments over their run, each time followed by a whole run,
# and the folder checked. Prints the figures: kills, runs that ended before
# their kill, and half-made folder links found right after a kill (each of
# which the following run made whole, or the test fails).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
kills=${1:-50}

scripts/setup.sh || exit 1
source scripts/build_environment.sh
source scripts/display.sh
use_utf8_locale
stop_everything_on_exit

windows=build/windows
configure_windows_build "$windows" && cmake --build "$windows" || exit 1
start_display "$windows" || exit 1
prepare_wine_prefix "$windows/wineprefix" || exit 1
mkdir -p "$windows/test-results"
ORDNERLINK_KILLS=$kills /usr/bin/python3 -m pytest -q -p no:cacheprovider tests/e2e/test_interrupted_runs.py \
    -k cut_short --build-dir="$root/$windows"
status=$?
cat "$windows/test-results/interrupted-runs.txt"
exit $status
