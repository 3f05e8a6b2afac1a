# Helpers that scripts/run.sh, scripts/test.sh and scripts/bench.sh share: a
# UTF-8 locale for Wine, and the configuration of a Windows build folder.
# Meant to be sourced from the repository's root.

# Wine takes file names in the locale's character set: in a locale that is
# not UTF-8 (a minimal system has none set, which is POSIX), it cannot make
# a folder whose name holds a character outside ASCII, and the program and
# the tests fail on such names. Such a locale is replaced by C.UTF-8, which
# every Debian system has, and the script says so.
use_utf8_locale() {
    [ "$(locale charmap 2>/dev/null)" = UTF-8 ] && return 0
    local current=${LC_ALL:-${LC_CTYPE:-${LANG:-POSIX}}}
    if ! locale -a 2>/dev/null | grep -qixE 'c\.utf-?8'; then
        echo "The locale $current gives no UTF-8 here, and C.UTF-8 is missing: Wine will fail on names outside ASCII." >&2
        return 0
    fi
    echo "The locale $current gives no UTF-8 here; using C.UTF-8, so that Wine can handle every character of a name."
    export LC_ALL=C.UTF-8
}

# Configures folder $1 as a release build for Windows. The toolchain file is
# named only when the folder is new: CMake reads it at the first
# configuration alone and warns of an unused variable when it is named again.
configure_windows_build() {
    local toolchain=()
    [ -f "$1/CMakeCache.txt" ] || toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake)
    cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Release "${toolchain[@]}" >/dev/null
}

# For the benchmarks: a display of its own without a window manager, from
# display number $1 on (a program's window is then mapped straight onto the
# root window, where its mapping is seen at once), its log in $2. Sets
# DISPLAY and BENCH_XVFB_PID and returns once the display answers.
start_bench_display() {
    local n=$1
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >"$2" 2>&1 &
    BENCH_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
}
