#!/usr/bin/env bash
# The program as a screen reader sees it, through a real AT-SPI bus on a
# virtual display (openbox, keys through xdotool) with a session bus of its own.
#   atspi-tree.sh PATH/TO/velkor
set -euo pipefail
. "$(dirname "$0")/xsession.sh"
need dbus-run-session dbus
need openbox openbox
need xdotool xdotool
launcher=""
for f in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [ -x "$f" ] && launcher=$f
done
[ -n "$launcher" ] || { echo "SKIP: at-spi-bus-launcher is missing (Debian package at-spi2-core)"; exit 77; }
# Debian's own interpreter carries python3-pyatspi.
python=/usr/bin/python3
[ -x "$python" ] || python=$(command -v python3 || true)
[ -n "$python" ] && "$python" -c 'import pyatspi' 2>/dev/null ||
    { echo "SKIP: pyatspi is missing (Debian package python3-pyatspi)"; exit 77; }
start_display openbox
# The session bus starts the accessibility bus (at-spi-bus-launcher) on demand.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
rc=0
dbus-run-session -- "$python" "$(dirname "$0")/atspi-tree.py" "$1" || rc=$?
exit $rc
