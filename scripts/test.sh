#!/usr/bin/env bash
# Builds both configurations and runs every test: natively under the
# sanitizers, and the Windows build under Wine on a private virtual display
# (never the user's desktop). Ends with one line "N passed, M failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/setup.sh || exit 1
source scripts/build_environment.sh
source scripts/display.sh
use_utf8_locale

native=build/native
windows=build/windows
status=0

stop_everything_on_exit

cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORDNERLINK_SANITIZE=ON >/dev/null &&
    cmake --build "$native" || exit 1
configure_windows_build "$windows" && cmake --build "$windows" || exit 1

rm -rf "$native/test-results" "$windows/test-results"
mkdir -p "$native/test-results" "$windows/test-results"

ctest --test-dir "$native" --output-on-failure || status=1

# The tests' own prefix; scripts/run.sh uses another, so that neither ends
# the other's programs.
start_display "$windows" || exit 1
prepare_wine_prefix "$windows/wineprefix" || exit 1
ctest --test-dir "$windows" --output-on-failure --timeout 600 || status=1

python3 scripts/summarize_tests.py "$native" "$windows" || status=1
exit $status
