#!/usr/bin/env bash
# Runs a command on a private Xvfb display, for the suites whose windows need
# one under wine. Exit 77 (skipped) without Xvfb; Xvfb itself gets 10 s to start.
#   with-display.sh COMMAND ARGS...
set -u
command -v Xvfb >/dev/null || { echo "Xvfb is missing"; exit 77; }
fd_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" 2>/dev/null &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; rm -f "$fd_file"' EXIT
for _ in $(seq 100); do [ -s "$fd_file" ] && break; sleep 0.1; done
[ -s "$fd_file" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$(cat "$fd_file")
"$@"
