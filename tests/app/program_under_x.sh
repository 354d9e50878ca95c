#!/usr/bin/env bash
# The program as a user meets it: started on an image under a real X server (Xvfb),
# driven by key presses sent through the server (xdotool). F5 traces the whole image,
# Ctrl+S saves the map, Alt+F and X exit; the map must hold the contours morvane-trace finds
# in the same image, a restart without arguments must bring the image back, and a
# missing control library must be reported instead of ending in an abort.
#
# Usage: program_under_x.sh BIN_FOLDER SAMPLE_IMAGE
# Exits 77 (skipped) when Xvfb or xdotool is missing.
set -euo pipefail

bin=$(cd "$1" && pwd)
sample=$2
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || {
  echo "Xvfb or xdotool is missing: skipped"
  exit 77
}

tmp=$(mktemp -d)
xvfb_pid=
program_pid=
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*" >&2
  [ -s "$tmp/program.log" ] && tail -20 "$tmp/program.log" >&2
  exit 1
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
  local limit=$1
  shift
  local deadline=$((SECONDS + limit))
  until "$@"; do
    [ $SECONDS -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

# A program folder of its own, so that the settings written beside the program stay in
# this test: the program is copied (its folder is where it runs from), the libraries it
# hosts are linked beside it.
prog="$tmp/program"
mkdir -p "$prog" "$tmp/home" "$tmp/work"
cp "$bin/morvane" "$prog/"
for f in "$bin"/lib*.so "$bin"/*.topics; do ln -s "$f" "$prog/"; done
cp "$sample" "$tmp/work/shapes.gif"
image="$tmp/work/shapes.gif"
map="$tmp/work/shapes.htm"

# A display number drawn at random, not the first free one: tests start and end servers in
# parallel, and a server that takes a number another is just giving up can lose its socket
# to the old server's clean-up. A number in use makes Xvfb end at once: draw again.
mkfifo "$tmp/display"
exec {display_fd}<>"$tmp/display"
display=
for _ in 1 2 3 4 5 6 7 8; do
  number=$((1000 + RANDOM % 59000))
  Xvfb ":$number" -displayfd "$display_fd" -screen 0 1280x900x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do
    kill -0 "$xvfb_pid" 2>/dev/null || break
    if read -r -t 0.2 -u "$display_fd" display; then break; fi
  done
  [ "$display" = "$number" ] && break
  display=
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=
done
[ -n "$display" ] || fail "Xvfb did not start"
export DISPLAY=":$display"
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config"
# The program runs on this X server, whatever platform the other tests were given.
unset QT_QPA_PLATFORM

window_of() { xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | head -1; }
has_window() { [ -n "$(window_of)" ]; }
has_ended() { ! kill -0 "$program_pid" 2>/dev/null; }
start_program() {
  "$prog/morvane" "$@" >>"$tmp/program.log" 2>&1 &
  program_pid=$!
  wait_for 30 has_window || fail "no window appeared"
  xdotool windowfocus --sync "$(window_of)"
  sleep 0.5
}
stop_program() {
  # File > Exit from the keyboard (Alt+F4 belongs to the window manager, and there is
  # none here).
  xdotool key alt+f
  sleep 0.5
  xdotool key x
  wait_for 20 has_ended || fail "File > Exit did not end the program"
  wait "$program_pid" || fail "the program ended with an error: $(tail -5 "$tmp/program.log")"
  program_pid=
}

start_program "$image"
xdotool key F5
# A save pressed while the run still goes is refused, as every command but Stop is:
# press Ctrl+S again until the map is there.
saved() {
  xdotool key ctrl+s
  sleep 0.5
  test -s "$map"
}
wait_for 30 saved || fail "Ctrl+S wrote no map"

"$bin/morvane-trace" create "$image" --connected --output "$tmp/work/expected.htm" >/dev/null
coords() { grep -o "coords='[^']*'" "$1"; }
diff <(coords "$map") <(coords "$tmp/work/expected.htm") >/dev/null ||
  fail "the saved map's areas differ from morvane-trace's"
[ "$(coords "$map" | wc -l)" -ge 1 ] || fail "the saved map has no area"

stop_program
grep -q "shapes.gif" "$prog/Morvane.dat" || fail "the settings file does not list the image"

# Started again without arguments, the program shows the image it had.
start_program
title=$(xdotool getwindowname "$(window_of)")
case "$title" in
  *shapes.gif*) ;;
  *) fail "after a restart the window shows \"$title\", not the image" ;;
esac
stop_program

# Without the zoom view's library beside it the program cannot build its window: it
# says why, in a box and on standard error, and ends with 1 once the box is closed.
rm "$prog/libScopel.so"
: >"$tmp/program.log"
"$prog/morvane" "$image" >>"$tmp/program.log" 2>&1 &
program_pid=$!
wait_for 30 has_window || fail "no box said why the program cannot start"
xdotool windowfocus --sync "$(window_of)"
xdotool key Return
wait_for 20 has_ended || fail "the program went on without its zoom view"
status=0
wait "$program_pid" || status=$?
program_pid=
[ "$status" -eq 1 ] || fail "the program ended with $status, not 1"
grep -q "cannot start" "$tmp/program.log" || fail "standard error does not say why"
