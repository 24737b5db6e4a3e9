#!/usr/bin/env bash
# A window program whose X server ends (SIGKILL and SIGTERM in turn, BW_LOSS_ROUNDS times:
# a hang at exit came only now and then) ends within BW_LOSS_DEADLINE seconds, saying why,
# with a non-zero exit; SIGTERM and SIGINT end it while its display is there.
# Usage: display-loss-test.sh PROGRAM [ARG...]   (PROGRAM shows a window when started)
set -uo pipefail
source "$(dirname "$0")/xtest-helpers.sh"
bw_require_xvfb
out=${BW_LOSS_TEST_OUT:-$PWD/display-loss}
mkdir -p "$out"
failed=0
# run NAME WHAT CHECK PROGRAM...: shows the program on a fresh server, ends WHAT (server or
# app) with the signal in $sig, and waits; CHECK then judges $status from the log.
run() {
  local name=$1 what=$2 check=$3 start i pid
  shift 3
  bw_start_xvfb && BW_BACKEND=sdl bw_start_app "$out/$name.log" "$@" &&
    timeout 20 xdotool search --sync --onlyvisible --name . >/dev/null 2>&1 || {
    echo "FAILED: $name: no window" && failed=$((failed + 1)) && bw_cleanup && return
  }
  start=$EPOCHREALTIME
  { [ "$what" = server ] && kill -"$sig" "$BW_XVFB_PID" && wait "$BW_XVFB_PID"; } 2>/dev/null
  [ "$what" = app ] && kill -"$sig" "$BW_APP_PID"
  pid=$BW_APP_PID
  for ((i = 0; i < ${BW_LOSS_DEADLINE:-2} * 20; ++i)); do kill -0 "$pid" 2>/dev/null && sleep 0.05; done
  took=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%d", (b - a) * 1000 }')
  status=running
  kill -0 "$pid" 2>/dev/null || { status=0 && wait "$pid" || status=$?; }
  if $check; then echo "ok: $name (SIG$sig to the $what): status $status in $took ms"
  else echo "FAILED: $name (SIG$sig to the $what): status $status after $took ms" &&
    sed 's/^/  | /' "$out/$name.log" && failed=$((failed + 1)); fi
  bw_cleanup
}
lost() { [ "$status" != running ] && [ "$status" -gt 0 ] && [ "$status" -lt 128 ] &&
  grep -q "lost the connection to the display" "$out/$name.log"; }
ended() { [ "$status" != running ]; }
for ((round = 1; round <= ${BW_LOSS_ROUNDS:-4}; ++round)); do
  sig=$([ $((round % 2)) = 1 ] && echo KILL || echo TERM) run "loss-$round" server lost "$@"
done
# Job control gives the background program SIGINT as a terminal would (else it is ignored).
set -m
for sig in TERM INT; do run "$sig" app ended "$@"; done
[ $failed -eq 0 ] && echo "display loss test passed"
