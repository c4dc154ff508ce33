#!/usr/bin/env bash
# The summary window is owned by the main window under a real window
# manager: transient for it, opened at the main window's client origin, and
# still above it after a click on the main window.
#   summary-stacking.sh PATH/TO/velkor
set -euo pipefail
. "$(dirname "$0")/xsession.sh"
need openbox openbox
need xprop x11-utils
need xwininfo x11-utils
need xdotool xdotool
velkor=$1
fail=0
check() { # check DESCRIPTION EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then echo "ok: $1"; else echo "FAIL: $1: expected '$2', got '$3'"; fail=1; fi
}
geometry() { # x y width height of a window's client
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
                             /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'
}

start_display openbox
start_program "$velkor"
main=$(wait_window '^Velkor - $')
xdotool windowactivate --sync "$main" key --clearmodifiers alt+v s
summary=$(wait_window '^Velkor Summary$')

transient=$(xprop -id "$summary" WM_TRANSIENT_FOR | awk '{print $NF}')
check "the summary window is transient for the main window" "$(printf '0x%x' "$main")" "$transient"

# The summary's frame stands at the main window's client area, below its menu bar.
read -r mx my mw mh <<<"$(geometry "$main")"
read -r sx sy _ _ <<<"$(geometry "$summary")"
read -r left _ top _ <<<"$(xprop -id "$summary" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
check "the summary's frame is at the main window's client origin" \
    "$mx $(( my + mh - 564 ))" "$(( sx - left )) $(( sy - top ))"

# A click on the main window's questions raises the main window, not above its summary.
xdotool mousemove $(( mx + 600 )) $(( my + mh - 80 )) click 1
sleep 0.5
stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g')
top_two=$(echo "$stacking" | awk '{print $(NF-1), $NF}')
check "the summary window stays above the main window" \
    "$(printf '0x%x 0x%x' "$main" "$summary")" "$top_two"
active=$(xprop -root _NET_ACTIVE_WINDOW | awk '{print $NF}')
check "the click activated the main window" "$(printf '0x%x' "$main")" "$active"
exit $fail
