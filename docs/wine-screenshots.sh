#!/usr/bin/env bash
# Screenshots of velkor.exe under wine for the README: the main window, the
# Estimation page, Priority Weights, the summary and the about box, at 100 %
# (docs/windows-*.png) and the main window at 150 % and 200 % (build folder).
#   docs/wine-screenshots.sh BUILD-WINDOWS-FOLDER
# Needs Xvfb, xdotool, scrot and wine; every call runs under a timeout.
set -euo pipefail
build=$(realpath "$1")
docs=$(dirname "$(realpath "$0")")
exe=$build/ui/velkor.exe
T() { timeout --kill-after=5 "$@"; }
wine=/usr/lib/wine/wine64
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64

shoot() { # DPI OUTPUT-PREFIX WHAT...
    local dpi=$1 out=$2 work=$build/screenshots-$1
    shift 2
    rm -rf "$work" && mkdir -p "$work"
    export WINEPREFIX=$work/prefix
    Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    local xvfb=$!
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    export DISPLAY=:$(cat "$work/display")
    T 120 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
    T 60 "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    T 30 wineserver -k >/dev/null 2>&1 || true
    (T 120 "$wine" "$exe" >/dev/null 2>&1 &)
    local main
    main=$(T 30 xdotool search --sync --name '^Velkor - $' | head -1)
    sleep 2
    grab() { # WINDOW-NAME FILE
        local id x y w h
        id=$(T 10 xdotool search --sync --name "$1" | tail -1)
        eval "$(T 10 xdotool getwindowgeometry --shell "$id")"
        x=$X y=$Y w=$WIDTH h=$HEIGHT
        sleep 0.5
        T 10 scrot -o -a "$x,$y,$w,$h" "$2"
    }
    T 10 xdotool mousemove 400 5 click 1
    for what in "$@"; do
        case $what in
        main) grab '^Velkor - $' "$out-main-window.png" ;;
        estimation)
            T 10 xdotool key Tab Right Tab Right Right
            eval "$(T 10 xdotool getwindowgeometry --shell "$main")"
            T 10 xdotool mousemove --sync $((X + 80 * dpi / 96)) $((Y + 116 * dpi / 96)) click 1
            sleep 0.5
            grab '^Velkor - $' "$out-estimation-page.png" ;;
        priority)
            T 10 xdotool key alt+v p
            grab '^Priorities$' "$out-priority-dialog.png"
            T 10 xdotool key Escape ;;
        summary)
            T 10 xdotool key alt+v s
            sleep 0.5
            grab '^Velkor Summary$' "$out-summary-window.png"
            T 10 xdotool key Escape ;;
        about)
            T 10 xdotool key alt+h a
            grab '^About velkor.exe$' "$out-about-box.png"
            T 10 xdotool key Return ;;
        esac
        sleep 0.5
    done
    T 30 wineserver -k >/dev/null 2>&1 || true
    kill "$xvfb" 2>/dev/null || true
}

shoot 96 "$docs/windows" main estimation priority summary about
shoot 144 "$build/windows-150" main priority
shoot 192 "$build/windows-200" main priority
echo "written: $docs/windows-*.png, $build/windows-150-*.png, $build/windows-200-*.png"
