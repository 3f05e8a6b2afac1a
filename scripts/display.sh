# Helpers for the scripts that run Windows programs: a private virtual X
# display with a small window manager (click-to-focus, as on a desktop), and a
# Wine prefix that is known to be complete. Meant to be sourced.

# Starts Xvfb on a free display number and openbox on it, points DISPLAY
# there and XVFB_SCREEN at the file that holds the screen's pixels. Always a
# display of its own, even when DISPLAY is set: tests must neither see nor
# disturb the user's desktop. stop_display ends both.
start_display() {
    local logdir=$1
    mkdir -p "$logdir"
    # Xvfb picks a free display number itself and writes it to descriptor 3
    # once it accepts clients, so two runs at once never share a display.
    local numberfile="$logdir/xvfb.display"
    # The screen's own memory, as an XWD file that Xvfb keeps current: what a
    # monitor would show. Screenshots and the tests' look at the screen read
    # it. `xwd -root` is not used: it gives black where a window of a Wine
    # program lies wholly within another of its windows (every message box
    # over the main window), while this memory holds the drawn box.
    XVFB_SCREEN_DIR=$(mktemp -d "${TMPDIR:-/tmp}/ordnerlink-screen.XXXXXX")
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -fbdir "$XVFB_SCREEN_DIR" \
        3>"$numberfile" >"$logdir/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local n=
    for _ in $(seq 100); do
        n=$(cat "$numberfile" 2>/dev/null) || true
        [ -n "$n" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    if [ -z "$n" ]; then
        echo "The virtual display did not start; see $logdir/xvfb.log" >&2
        stop_display
        return 1
    fi
    export DISPLAY=":$n" XVFB_SCREEN="$XVFB_SCREEN_DIR/Xvfb_screen0"
    openbox >"$logdir/openbox.log" 2>&1 &
    OPENBOX_PID=$!
}

# Ends what start_display started, if anything; safe to call twice.
stop_display() {
    if [ -n "${OPENBOX_PID:-}" ]; then
        kill "$OPENBOX_PID" 2>/dev/null || true
        wait "$OPENBOX_PID" 2>/dev/null || true
    fi
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    if [ -n "${XVFB_SCREEN_DIR:-}" ]; then
        rm -rf "$XVFB_SCREEN_DIR"
    fi
    unset OPENBOX_PID XVFB_PID XVFB_SCREEN_DIR XVFB_SCREEN
    return 0
}

# Points Wine at the prefix in folder $1 and makes it when needed. The marker
# file is written only after wineboot has finished, so a prefix whose first
# start was interrupted (Ctrl+C, a killed job) is recognised and made again
# instead of being used half-made.
prepare_wine_prefix() {
    export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d
    WINEPREFIX=$(realpath -m "$1")
    PREPARED_WINEPREFIX=$WINEPREFIX
    local marker="$WINEPREFIX/.ordnerlink-prefix-complete"
    [ -f "$marker" ] && return 0
    if [ -e "$WINEPREFIX" ]; then
        echo "Making the Wine prefix $WINEPREFIX again: its first start did not finish."
        wineserver -k 2>/dev/null || true
        rm -rf "$WINEPREFIX"
    else
        echo "Making the Wine prefix $WINEPREFIX (a few seconds)."
    fi
    mkdir -p "$(dirname "$WINEPREFIX")"
    if ! wineboot -i >"$WINEPREFIX.log" 2>&1 || ! wineserver -w; then
        echo "Wine could not make its prefix $WINEPREFIX; see $WINEPREFIX.log" >&2
        return 1
    fi
    touch "$marker"
}

# Ends every Windows program still running in the prefix prepare_wine_prefix
# set up; never one in a prefix the user's environment names.
stop_wine() {
    if [ -n "${PREPARED_WINEPREFIX:-}" ]; then
        WINEPREFIX=$PREPARED_WINEPREFIX wineserver -k 2>/dev/null || true
    fi
}

# Whatever way the calling script ends (done, failed or interrupted), the
# Wine programs and the display it started end with it.
stop_everything_on_exit() {
    trap 'stop_wine; stop_display' EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM HUP
}
