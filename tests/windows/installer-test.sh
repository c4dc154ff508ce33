#!/usr/bin/env bash
# Installs velkor-<version>-windows-x64-setup.exe silently into a fresh wine
# prefix, checks the files, the Start menu entry and the .vlk association,
# opens a project through the association (the window shows it), then
# uninstalls silently and checks that nothing is left.
#   installer-test.sh SETUP.EXE LINUX-VELKOR-REPORT WORK-FOLDER
# Every wine, X and xdotool call runs under a timeout.
set -euo pipefail
setup=$1 report=$2 work=$3
for tool in Xvfb xdotool /usr/lib/wine/wine64 wineserver; do
    command -v "$tool" >/dev/null || { echo "installer test: $tool is missing"; exit 77; }
done
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
wine=/usr/lib/wine/wine64
T() { timeout --kill-after=5 "$@"; }
xvfb_pid=
cleanup() {
    T 20 wineserver -k >/dev/null 2>&1 || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
fail() {
    echo "installer test FAILED: $*" >&2
    exit 1
}
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")
T 120 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 ||
    fail "the wine prefix was not created"
reg_value() { T 30 "$wine" reg query "$1" /ve 2>/dev/null | tr -d '\r' | awk -F'REG_SZ' 'NF > 1 { sub(/^[ \t]+/, "", $2); print $2 }'; }

# --- Silent install.
T 180 "$wine" "$setup" /S || fail "the installer failed"
T 60 wineserver -w || true
dir="$WINEPREFIX/drive_c/Program Files/Velkor"
for f in velkor.exe velkor-report.exe uninstall.exe README.md LICENSE.txt \
    fonts/LiberationSans-Regular.ttf fonts/LiberationSans-Bold.ttf; do
    [ -s "$dir/$f" ] || fail "$f was not installed"
done
[ -s "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Velkor.lnk" ] ||
    fail "no Start menu entry"
[ "$(reg_value 'HKLM\Software\Classes\.vlk')" = Velkor.Project ] || fail ".vlk is not associated"
[ "$(reg_value 'HKLM\Software\Classes\Velkor.Project\shell\open\command')" = \
    '"C:\Program Files\Velkor\velkor.exe" "%1"' ] || fail "the open command is wrong"
[ "$(reg_value 'HKLM\Software\Classes\Velkor.Project\DefaultIcon')" = \
    'C:\Program Files\Velkor\velkor.exe,0' ] || fail "the file icon is wrong"

# --- A project opens with Velkor through the association.
{
    printf '{"format":"velkor-project","version":1,"weights":{"technical":0.5,"cost":0.25,"schedule":0.25},"answers":['
    for i in $(seq 0 80); do
        [ "$i" -gt 0 ] && printf ','
        printf '{"question":%d,"answer":%d}' "$i" $((i % 3))
    done
    printf ']}'
} >"$work/project.json"
"$report" import "$work/project.json" "$work/project.vlk"
# The installed program is watched from outside: its window, found by its
# caption on the X display, shows the project's name.
(T 120 "$wine" start /wait /unix "$work/project.vlk" >/dev/null 2>&1
    echo $? >"$work/exit") &
wid=
for _ in $(seq 200); do
    wid=$(T 5 xdotool search --name '^Velkor - .*project\.vlk$' 2>/dev/null | head -1) || true
    [ -n "$wid" ] && break
    sleep 0.1
done
[ -n "$wid" ] || fail "the association did not open the project"
eval "$(T 5 xdotool getwindowgeometry --shell "$wid")"
T 10 xdotool mousemove --sync $((X + 300)) $((Y + 10)) click 1
sleep 0.3
T 10 xdotool key --delay 60 alt+f x
for _ in $(seq 100); do [ -e "$work/exit" ] && break; sleep 0.1; done
[ "$(cat "$work/exit" 2>/dev/null)" = 0 ] || fail "the window did not end with Exit"

# --- Silent uninstall: nothing left.
T 120 "$wine" "C:\\Program Files\\Velkor\\uninstall.exe" /S || fail "the uninstaller failed"
T 60 wineserver -w || true
[ ! -e "$dir" ] || fail "the uninstaller left $(ls -A "$dir" | tr '\n' ' ')"
[ ! -e "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Velkor.lnk" ] ||
    fail "the Start menu entry is left"
[ -z "$(reg_value 'HKLM\Software\Classes\.vlk')" ] || fail "the .vlk association is left"
if T 30 "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velkor' >/dev/null 2>&1; then
    fail "the uninstall entry is left"
fi
echo "installer test passed"
