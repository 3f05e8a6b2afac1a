# Helpers for the scripts that run Windows programs: a virtual X display with
# a small window manager (click-to-focus, as on a desktop), and a Wine prefix.
# Meant to be sourced.

start_display() {
    local logdir=$1
    if [ -n "${DISPLAY:-}" ] && [ -z "${ORDNERLINK_OWN_DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0 # a display is there already: use it
    fi
    local n=99
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >"$logdir/xvfb.log" 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n" ORDNERLINK_OWN_DISPLAY=1
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    openbox >"$logdir/openbox.log" 2>&1 &
    OPENBOX_PID=$!
}

stop_display() {
    [ -n "${OPENBOX_PID:-}" ] && kill "$OPENBOX_PID" 2>/dev/null
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    unset OPENBOX_PID XVFB_PID ORDNERLINK_OWN_DISPLAY
    return 0
}

prepare_wine_prefix() {
    export WINEPREFIX=$(realpath -m "$1") WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
}
