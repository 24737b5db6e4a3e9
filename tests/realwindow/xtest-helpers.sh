# Helpers for tests that drive a program's real windows under Xvfb with xdotool. Source
# this file from a bash script, then:
#   bw_require_xvfb              exit 77 (ctest's "skipped") with the reason when Xvfb or
#                                xdotool is missing
#   bw_start_xvfb                start Xvfb on a free display (96 dpi) and export DISPLAY
#   bw_start_app LOG CMD...      start a program in the background, output to LOG
#   bw_wait_window TITLE         wait for a visible window with exactly that title; print its id
#   bw_wait_file FILE            wait for a file to appear (a program saying it is ready)
#   bw_click WID X Y [BUTTON]    click at window coordinates (BUTTON 1 left, 3 right)
#   bw_double_click WID X Y      double-click with the left button
#   bw_type TEXT                 type text into the window that has the keyboard
#   bw_key KEY...                press keys by their X names (Return, F4, ctrl+a)
#   bw_wakeups SECONDS           how often the program's main thread woke from sleep over
#                                SECONDS (a program that waits for input wakes only for it)
#   bw_stop_app                  end the program (SIGTERM, as a desktop's logout does) and
#                                return its exit status
# Whatever was started is stopped when the script exits.

BW_XVFB_PID=
BW_APP_PID=
BW_STEP_PAUSE=${BW_STEP_PAUSE:-0.3}

bw_cleanup() {
  [ -n "$BW_APP_PID" ] && kill -KILL "$BW_APP_PID" 2>/dev/null
  [ -n "$BW_XVFB_PID" ] && kill "$BW_XVFB_PID" 2>/dev/null
  BW_APP_PID=
  BW_XVFB_PID=
  return 0
}
trap bw_cleanup EXIT

bw_require_xvfb() {
  local missing=() tool
  for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "skipped: ${missing[*]} not found (apt-get install xvfb xdotool)"
    exit 77
  fi
}

bw_start_xvfb() {
  local fdfile i
  fdfile=$(mktemp)
  # -displayfd: the server takes the first free display number and writes it to fd 3.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$fdfile" 2>/dev/null &
  BW_XVFB_PID=$!
  for i in $(seq 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  if [ ! -s "$fdfile" ]; then
    echo "Xvfb did not start" >&2
    rm -f "$fdfile"
    return 1
  fi
  export DISPLAY=":$(tr -d '[:space:]' <"$fdfile")"
  rm -f "$fdfile"
}

bw_start_app() {
  local log=$1
  shift
  "$@" >"$log" 2>&1 &
  BW_APP_PID=$!
}

bw_wait_window() {
  local wid
  if ! wid=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1) ||
    [ -z "$wid" ]; then
    echo "no window \"$1\" appeared" >&2
    return 1
  fi
  echo "$wid"
}

bw_wait_file() {
  local i
  for i in $(seq 200); do
    [ -e "$1" ] && return 0
    sleep 0.1
  done
  echo "$1 did not appear" >&2
  return 1
}

bw_click() {
  xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}"
  sleep "$BW_STEP_PAUSE"
}

bw_double_click() {
  xdotool mousemove --window "$1" "$2" "$3" click --repeat 2 --delay 80 1
  sleep "$BW_STEP_PAUSE"
}

bw_type() {
  xdotool type --delay 40 "$1"
  sleep "$BW_STEP_PAUSE"
}

bw_key() {
  xdotool key --delay 40 "$@"
  sleep "$BW_STEP_PAUSE"
}

bw_wakeups() {
  local status=/proc/$BW_APP_PID/status before after
  before=$(awk '/^voluntary_ctxt_switches/ {print $2}' "$status") || return 1
  sleep "$1"
  after=$(awk '/^voluntary_ctxt_switches/ {print $2}' "$status") || return 1
  echo $((after - before))
}

bw_stop_app() {
  local pid=$BW_APP_PID i status=0
  [ -n "$pid" ] || return 0
  kill -TERM "$pid" 2>/dev/null || true
  for i in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "the program did not end; killed" >&2
    kill -KILL "$pid" 2>/dev/null
  fi
  wait "$pid" || status=$?
  BW_APP_PID=
  return $status
}
