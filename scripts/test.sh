#!/usr/bin/env bash
# Builds both configurations and runs every test: natively under the
# sanitizers, and the Windows build under Wine on a private virtual display
# (never the user's desktop). Ends with one line "N passed, M failed".
#
#   scripts/test.sh                          every test, once
#   scripts/test.sh --repeat N TEST...       only the Windows tests named (ctest
#                                            names, such as e2e_test_manager), N
#                                            times in a row, each run reported
#                                            apart; the closing line adds up all
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

repeat=1
only=()
while [ $# -gt 0 ]; do
    case $1 in
    --repeat)
        [[ ${2:-} =~ ^[1-9][0-9]*$ ]] || { echo "--repeat takes a number of runs" >&2; exit 2; }
        repeat=$2
        shift 2
        ;;
    -*) echo "unknown option $1; see the top of $0" >&2; exit 2 ;;
    *) only+=("$1"); shift ;;
    esac
done
if [ "$repeat" -gt 1 ] && [ ${#only[@]} -eq 0 ]; then
    echo "--repeat needs the names of the tests to repeat, such as e2e_test_manager" >&2
    exit 2
fi

scripts/setup.sh || exit 1
source scripts/build_environment.sh
source scripts/display.sh
use_utf8_locale

native=build/native
windows=build/windows
status=0

stop_everything_on_exit

if [ ${#only[@]} -eq 0 ]; then
    cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORDNERLINK_SANITIZE=ON >/dev/null &&
        cmake --build "$native" || exit 1
fi
configure_windows_build "$windows" && cmake --build "$windows" || exit 1

# The tests' own prefix; scripts/run.sh uses another, so that neither ends
# the other's programs.
start_display "$windows" || exit 1
prepare_wine_prefix "$windows/wineprefix" || exit 1

if [ ${#only[@]} -eq 0 ]; then
    rm -rf "$native/test-results" "$windows/test-results"
    mkdir -p "$native/test-results" "$windows/test-results"
    ctest --test-dir "$native" --output-on-failure || status=1
    ctest --test-dir "$windows" --output-on-failure --timeout 600 || status=1
    python3 scripts/summarize_tests.py "$native" "$windows" || status=1
    exit $status
fi

# The named tests, run after run; each run's reports are kept apart.
pattern="^($(IFS='|'; echo "${only[*]}"))\$"
runs=()
for run in $(seq "$repeat"); do
    rm -rf "$windows/test-results"
    mkdir -p "$windows/test-results"
    ctest --test-dir "$windows" --output-on-failure --timeout 900 -R "$pattern" || status=1
    line=$(python3 scripts/summarize_tests.py "$windows")
    echo "run $run of $repeat: $line"
    runs+=("$line")
    kept="$windows/test-results-run-$run"
    rm -rf "$kept" && cp -r "$windows/test-results" "$kept"
done
printf '%s\n' "${runs[@]}" | awk '{ p += $1; f += $3 } END { print p " passed, " f " failed" }'
exit $status
