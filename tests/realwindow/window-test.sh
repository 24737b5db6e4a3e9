#!/usr/bin/env bash
# The real-window test: window_test_app on the SDL back end under Xvfb, driven with
# xdotool as a user would (a double-click on an outline item, clicks, typing, a pop-up
# that must leave the keyboard where it was), then checked through the state the program
# writes when it ends. Usage: window-test.sh PATH/TO/window_test_app
set -uo pipefail
app=$1
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/realwindow/xtest-helpers.sh
source "$here/xtest-helpers.sh"
bw_require_xvfb

out=${BW_WINDOW_TEST_OUT:-$PWD/real-window}
rm -rf "$out"
mkdir -p "$out"
show_log() {
  echo "--- program output ($out/app.log):"
  cat "$out/app.log" 2>/dev/null
}

# The user's part: each step waits a moment for the program to take it in.
drive() {
  bw_start_xvfb || return 1
  BW_BACKEND=sdl bw_start_app "$out/app.log" "$app" "$out"
  wid=$(bw_wait_window "Brantwell window test") || return 1
  bw_wait_file "$out/layout" || return 1
  declare -A at
  local name x y
  while read -r name x y; do at[$name]="$x $y"; done <"$out/layout"
  # shellcheck disable=SC2086
  bw_double_click "$wid" ${at[fruit]} &&
    bw_click "$wid" ${at[count]} &&
    bw_click "$wid" ${at[edit]} &&
    bw_type "hello" &&
    bw_key F4 &&
    bw_click "$wid" ${at[popup]} &&
    bw_type " world"
}
if ! drive; then
  echo "FAILED: could not drive the program"
  show_log
  exit 1
fi
# Left alone, the program sleeps until input comes: only the caret's blink (about twice
# a second, each with a few trips to the X server) wakes it, where looking for input
# every few milliseconds would wake it hundreds of times.
wakeups=$(bw_wakeups 2)
status=0
bw_stop_app || status=$?

failed=0
if [ -z "$wakeups" ] || [ "$wakeups" -gt 40 ]; then
  echo "FAILED: the idle program woke ${wakeups:-?} times in 2 seconds"
  failed=$((failed + 1))
else
  echo "ok: idle for 2 seconds, woke $wakeups times"
fi
expect() {
  if grep -qxF "$1" "$out/state" 2>/dev/null; then
    echo "ok: $1"
  else
    echo "FAILED: expected \"$1\", got \"$(grep "^${1%%:*}:" "$out/state" 2>/dev/null)\""
    failed=$((failed + 1))
  fi
}
if [ $status -ne 0 ]; then
  echo "FAILED: window_test_app ended with status $status"
  failed=$((failed + 1))
fi
expect "rows: Fruit|Apple|Pear|Vegetables"
expect "count: 1"
expect "edit: hello world"
expect "popup-clicks: 1"
expect "popup-visible: no"
expect "focus: edit"
expect "presented-wrong: 0"
if [ $failed -ne 0 ]; then
  show_log
  echo "--- the window as it ended: $out/window.png"
  exit 1
fi
echo "real window test passed (picture: $out/window.png)"
