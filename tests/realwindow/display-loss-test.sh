#!/usr/bin/env bash
# A window program whose display goes away ends at once (within BW_LOSS_DEADLINE seconds)
# with a non-zero status and says why on stderr, however the X server goes (SIGTERM and
# SIGKILL in turn, BW_LOSS_ROUNDS rounds since a hang at exit came only now and then);
# and SIGTERM or SIGINT ends it while its display is there.
# Usage: display-loss-test.sh PROGRAM [ARG...]   (PROGRAM shows a window when started)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/realwindow/xtest-helpers.sh
source "$here/xtest-helpers.sh"
bw_require_xvfb

rounds=${BW_LOSS_ROUNDS:-4}
deadline=${BW_LOSS_DEADLINE:-2}
out=${BW_LOSS_TEST_OUT:-$PWD/display-loss}
rm -rf "$out"
mkdir -p "$out"
failed=0
fail() {
  echo "FAILED: $*"
  [ -n "${log:-}" ] && sed 's/^/  | /' "$log"
  failed=$((failed + 1))
}

# start_program LOG: a fresh X server and the program on it, shown.
start_program() {
  log=$1
  shift
  bw_start_xvfb || return 1
  BW_BACKEND=sdl bw_start_app "$log" "$@"
  timeout 20 xdotool search --sync --onlyvisible --name . >/dev/null 2>&1
}

# ends_within SECONDS: waits for the program from the time in start; sets status and took
# (milliseconds).
ends_within() {
  local i
  for ((i = 0; i < $1 * 20; ++i)); do
    kill -0 "$BW_APP_PID" 2>/dev/null || break
    sleep 0.05
  done
  took=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%d", (b - a) * 1000 }')
  kill -0 "$BW_APP_PID" 2>/dev/null && return 1
  status=0
  wait "$BW_APP_PID" || status=$?
  BW_APP_PID=
}

for ((round = 1; round <= rounds; ++round)); do
  how=$([ $((round % 2)) -eq 1 ] && echo KILL || echo TERM)
  log=$out/loss-$round.log
  if ! start_program "$log" "$@"; then
    fail "round $round: the program showed no window"
    bw_cleanup
    continue
  fi
  start=$EPOCHREALTIME
  # (Quietly: the shell would report the killed server.)
  { kill -"$how" "$BW_XVFB_PID" && wait "$BW_XVFB_PID"; } 2>/dev/null
  BW_XVFB_PID=
  if ! ends_within "$deadline"; then
    fail "round $round: still running ${deadline}s after the X server got SIG$how"
  elif [ "$status" -eq 0 ] || [ "$status" -gt 128 ]; then
    fail "round $round: ended with status $status (wanted a non-zero exit, not a signal)"
  elif ! grep -q "lost the connection to the display" "$log"; then
    fail "round $round: no word on stderr of the lost display"
  else
    echo "ok: round $round, X server got SIG$how: ended in ${took} ms with status $status"
  fi
  bw_cleanup
done

# With job control on, a program started in the background keeps SIGINT as a terminal
# would give it, where otherwise the shell ignores it for the program.
set -m
for signal in TERM INT; do
  log=$out/$signal.log
  if ! start_program "$log" "$@"; then
    fail "SIG$signal: the program showed no window"
  else
    start=$EPOCHREALTIME
    kill -"$signal" "$BW_APP_PID"
    if ends_within "$deadline"; then
      echo "ok: SIG$signal ended the program in ${took} ms (status $status)"
    else
      fail "SIG$signal: still running ${deadline}s later"
    fi
  fi
  bw_cleanup
done
[ $failed -eq 0 ] || exit 1
echo "display loss test passed"
