#!/bin/sh
# Starts a private Xvfb, runs the shaping host on it and stops the server again.
# Exits 77 (skipped) when Xvfb is not installed.
host=$1
capture=$2
command -v Xvfb >/dev/null 2>&1 || { echo "Xvfb not installed"; exit 77; }
work=$(mktemp -d) || exit 1
Xvfb -displayfd 5 -screen 0 640x480x24 -nolisten tcp 5>"$work/display" 2>"$work/xvfb.log" &
server=$!
tries=0
while [ ! -s "$work/display" ] && [ $tries -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
if [ ! -s "$work/display" ]; then
  cat "$work/xvfb.log"
  kill "$server" 2>/dev/null
  rm -rf "$work"
  exit 1
fi
display=:$(head -n 1 "$work/display")
DISPLAY=$display QT_QPA_PLATFORM=xcb "$host" "$capture"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
rm -rf "$work"
exit $status
