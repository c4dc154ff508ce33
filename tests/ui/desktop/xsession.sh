# Sourced by the desktop tests: a virtual X display of their own, optionally
# with a window manager, torn down on exit. A missing tool skips the test
# (exit 77) with a message saying which package brings it.

# need TOOL PACKAGE...: skip unless TOOL is on the PATH.
need() {
    command -v "$1" >/dev/null 2>&1 && return 0
    echo "SKIP: '$1' is missing (Debian package ${2:-$1})"
    exit 77
}

xsession_pids=""
xsession_cleanup() {
    for pid in $xsession_pids; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap xsession_cleanup EXIT

# start_display [openbox]: Xvfb on a free display number, DISPLAY exported.
start_display() {
    need Xvfb xvfb
    local num=$(( 100 + RANDOM % 400 ))
    while [ -e "/tmp/.X$num-lock" ] || [ -e "/tmp/.X11-unix/X$num" ]; do num=$(( num + 1 )); done
    Xvfb ":$num" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xsession_pids="$! $xsession_pids"
    export DISPLAY=":$num"
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$num" ] && break
        sleep 0.1
    done
    if [ "${1:-}" = openbox ]; then
        openbox --sm-disable >/dev/null 2>&1 &
        xsession_pids="$! $xsession_pids"
        sleep 0.5
    fi
}

# start_program COMMAND...: runs it in the background; its pid is in $program_pid.
start_program() {
    "$@" &
    program_pid=$!
    xsession_pids="$program_pid $xsession_pids"
}

# wait_window TITLE-REGEX: the id of the first visible window so titled.
wait_window() {
    local wid=""
    for _ in $(seq 60); do
        wid=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
        [ -n "$wid" ] && { echo "$wid"; return 0; }
        sleep 0.2
    done
    echo "no window titled '$1' appeared" >&2
    return 1
}
