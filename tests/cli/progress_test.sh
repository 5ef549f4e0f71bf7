#!/usr/bin/env bash
# progress_test.sh - sipocheck's progress line with the real binary: shown on a terminal (a
# pseudo-terminal made by script), erased before the summary, absent in a pipe or a file unless
# forced, and off with --no-progress. Each run reads a FIFO that is fed for about 1.6 s.
# Usage: progress_test.sh SIPOCHECK
set -u
sipocheck="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
if ! script -qec true /dev/null >/dev/null 2>&1; then
  echo "script cannot make a pseudo-terminal here; skipped"
  exit 0
fi
mkfifo "$work/in"

feed() {
  for _ in $(seq "${1:-8}"); do printf '1234567897\r\nx\r\n'; sleep 0.2; done >"$work/in"
}

# run OUT [OPTIONS...]: sipocheck on the FIFO with standard error on a pseudo-terminal, whose
# bytes go to OUT.
on_terminal() {
  local out="$1"
  shift
  feed &
  script -qec "'$sipocheck' file '$work/in' --ok '$work/ok' --bad '$work/bad' --single-column $*" \
    /dev/null </dev/null >"$out"
  wait
}
# run OUT [OPTIONS...]: the same with standard error into a file.
into_file() {
  local out="$1"
  shift
  feed &
  "$sipocheck" file "$work/in" --ok "$work/ok" --bad "$work/bad" --single-column "$@" 2>"$out"
  wait
}

on_terminal "$work/tty"
grep -q 'B read | [0-9]* lines: [0-9]* good, [0-9]* bad' "$work/tty" ||
  fail "terminal: no progress line: $(cat -A "$work/tty")"
# The line is blanked before the summary starts.
grep -q $'\r  *\rsipocheck: 16 lines read, 8 good, 8 bad' "$work/tty" ||
  fail "terminal: the line is not erased before the summary: $(cat -A "$work/tty")"

# An interruption while the line shows blanks it before its own message (SIGTERM: a job started
# in the background ignores SIGINT).
feed 20 &
script -qec "'$sipocheck' file '$work/in' --ok '$work/ok' --bad '$work/bad' --single-column" \
  /dev/null </dev/null >"$work/tty-stop" &
sleep 1.6
pkill -TERM -f "^$sipocheck file $work/in" || fail "no run to interrupt"
wait
grep -q 'lines:' "$work/tty-stop" || fail "interrupted: no progress line: $(cat -A "$work/tty-stop")"
grep -q $'\r  *\rsipocheck: interrupted; the output files were not touched' "$work/tty-stop" ||
  fail "interrupted: the line is not erased before the message: $(cat -A "$work/tty-stop")"

on_terminal "$work/tty-off" --no-progress
grep -q 'lines:' "$work/tty-off" && fail "--no-progress: a progress line: $(cat -A "$work/tty-off")"

into_file "$work/err"
grep -q $'\r' "$work/err" && fail "file: progress bytes: $(cat -A "$work/err")"
[ "$(cat "$work/err")" = "sipocheck: 16 lines read, 8 good, 8 bad" ] ||
  fail "file: unexpected messages: $(cat -A "$work/err")"

into_file "$work/forced" --progress
grep -q 'lines: ' "$work/forced" || fail "--progress: no progress line: $(cat -A "$work/forced")"

[ "$failures" -eq 0 ] && echo "all passed"
[ "$failures" -eq 0 ]
