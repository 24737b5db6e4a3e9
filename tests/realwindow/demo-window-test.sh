#!/usr/bin/env bash
# The demo on real windows: the SDL back end under Xvfb, driven with xdotool as a user
# would. A double-click opens a branch of the plan, an Effort cell is typed into (a
# letter among the digits is refused), and the Owner column's "..." button opens the
# chooser, where the next name is taken. The test then checks the pixels the X server
# shows (an xwd dump) and the plan the demo saves when it ends.
# Usage: demo-window-test.sh PATH/TO/demo PATH/TO/xwd_pixels
set -uo pipefail
demo=$1
pixels=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/realwindow/xtest-helpers.sh
source "$here/xtest-helpers.sh"
bw_require_xvfb
if ! command -v xwd >/dev/null 2>&1; then
  echo "skipped: xwd not found (apt-get install x11-apps)"
  exit 77
fi

out=${BW_DEMO_WINDOW_TEST_OUT:-$PWD/demo-window}
rm -rf "$out"
mkdir -p "$out"
failed=0
fail() {
  echo "FAILED: $*"
  failed=$((failed + 1))
}

# Where things are in the sample plan's window (the form's client area is the window): the
# grid's border is 2 pixels, rows are 21 pixels and a grid line, columns as TPlanForm sets
# them (Task 260, Owner 120, Status 96, Effort 96, ...).
row_y() { echo $((2 + 22 * $1 + 11)); }
readonly OWNER_X=323 OWNER_BUTTON_X=374 EFFORT_X=529 TREE_X=60
# Visual rows of the sample as it opens.
readonly ROW_INSPECTION_CHAMBER=9 ROW_SLAB_POUR=12 ROW_ROOF=20
# Yellow is the folder picture's fill: past the expander boxes, a level-1 folder lies in
# x 24..46, a level-2 one in 46..68.
yellow_in() { # DUMP ROW X0 X1
  local y0=$((2 + 22 * $2))
  "$pixels" "$1" "$3" "$y0" "$4" $((y0 + 21)) FFFF00
}
# A loaded machine paints late: dump the window until a test on the dump holds (10 s at
# most). The dump that was looked at last stays as FILE.
dump_until() { # FILE TEST...
  local file=$1 i
  shift
  for i in $(seq 40); do
    xwd -silent -id "$wid" -out "$file" 2>/dev/null && "$@" "$file" && return 0
    sleep 0.25
  done
  return 1
}
shows_folder() { [ "$(yellow_in "$1" "$2" "$3" "$4")" -gt 20 ]; }   # DUMP ROW X0 X1
sample_as_opened() { shows_folder "$1" 21 24 46; }  # Services' folder on row 21
roof_opened() { shows_folder "$1" 22 46 68 && [ "$(yellow_in "$1" 21 24 46)" -eq 0 ]; }
# The editor's button: button-face grey where the Owner cell is white without it.
owner_button_shown() {
  local y0=$((2 + 22 * ROW_INSPECTION_CHAMBER))
  [ "$("$pixels" "$1" 368 $((y0 + 4)) 381 $((y0 + 17)) C0C0C0)" -gt 20 ]
}

drive() {
  bw_start_xvfb || return 1
  BW_BACKEND=sdl bw_start_app "$out/demo.log" "$demo" --save-on-exit "$out/plan.form"
  wid=$(bw_wait_window "Brantwell demo: project plan") || return 1
  dump_until "$out/before.xwd" sample_as_opened || { fail "before: no folder at level 1 on row 21"; return 1; }
  bw_double_click "$wid" $TREE_X "$(row_y $ROW_ROOF)" || return 1
  dump_until "$out/after.xwd" roof_opened || fail "after the double-click: Roof's children are not shown"
  bw_click "$wid" $EFFORT_X "$(row_y $ROW_SLAB_POUR)" && bw_type "7x" && bw_key Return || return 1
  bw_click "$wid" $OWNER_X "$(row_y $ROW_INSPECTION_CHAMBER)" && bw_key F2 || return 1
  dump_until "$out/editor.xwd" owner_button_shown || { fail "no \"...\" button in the Owner cell"; return 1; }
  bw_click "$wid" $OWNER_BUTTON_X "$(row_y $ROW_INSPECTION_CHAMBER)" || return 1
  bw_wait_window "Owner" >/dev/null || return 1
  bw_key Down Return && bw_key Return || return 1
  for _ in $(seq 40); do
    xdotool search --onlyvisible --name '^Owner$' >/dev/null 2>&1 || return 0
    sleep 0.25
  done
  fail "the chooser is still open after Return"
}
if ! drive; then
  echo "FAILED: could not drive the demo"
  cat "$out/demo.log"
  exit 1
fi
# Ctrl+Q closes the demo as a user would; a signal only if it does not end.
bw_key ctrl+q
for _ in $(seq 40); do
  kill -0 "$BW_APP_PID" 2>/dev/null || break
  sleep 0.25
done
kill -0 "$BW_APP_PID" 2>/dev/null && fail "Ctrl+Q did not close the demo"
status=0
bw_stop_app || status=$?
[ $status -eq 0 ] || fail "the demo ended with status $status"

# The pixels (dumped above, as the steps went): the row under Roof showed Services'
# folder; after the double-click it shows Roof's first child, a level deeper, Covering's
# folder sits at level 2 below it and Services has moved down to row 25.
size=$("$pixels" "$out/after.xwd") || fail "cannot read the window dump"
[ "$size" = "914 600" ] || fail "the window is $size, not 914 600"
shows_folder "$out/after.xwd" 25 24 46 || fail "after: Services' folder is not on row 25"

# The saved cells: data rows are the outline's item numbers (one fixed row first).
expect_cell() { # COL DATAROW TEXT
  if grep -qxF "$(printf '%s\t%s\t%s' "$1" "$2" "$3")" "$out/plan.cells" 2>/dev/null; then
    echo "ok: column $1, data row $2 is \"$3\""
  else
    fail "column $1, data row $2: expected \"$3\", got \"$(grep -P "^$1\t$2\t" "$out/plan.cells" | cut -f3)\""
  fi
}
expect_cell 3 35 "7"           # Slab pour's effort: "7x" typed, the x refused
expect_cell 1 32 "Nina Okafor" # Inspection chamber: the name after Marek Kowal
expect_cell 0 0 "Task"
grep -q "OnButtonClick = PlanButtonClick" "$out/plan.form" || fail "the saved form lost its handlers"

if [ $failed -ne 0 ]; then
  echo "--- demo output:"
  cat "$out/demo.log"
  echo "--- window dumps: $out/*.xwd"
  exit 1
fi
echo "demo window test passed"
