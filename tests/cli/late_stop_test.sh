#!/usr/bin/env bash
# late_stop_test.sh - a SIGINT that comes between the two outputs' renames no longer stops the
# run: both outputs are replaced, the summary says so, and the status is 0. And a rename the
# system refuses: the message gives its reason, and the other output is not replaced either.
# Usage: late_stop_test.sh SIPOCHECK SHIM
set -u
sipocheck="$1"
shim="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf '1234567897\r\nx\r\n' >"$work/in"
printf 'old ok\r\n' >"$work/ok"
printf 'old bad\r\n' >"$work/bad"
LD_PRELOAD="$shim" "$sipocheck" file "$work/in" --ok "$work/ok" --bad "$work/bad" \
  --single-column 2>"$work/err"
status=$?
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
[ "$status" -eq 0 ] || fail "status $status"
[ "$(cat "$work/ok")" = $'1234567897\r' ] || fail "ok output: $(cat -A "$work/ok")"
[ "$(cat "$work/bad")" = $'x\r' ] || fail "bad output: $(cat -A "$work/bad")"
expected=$'sipocheck: 2 lines read, 1 good, 1 bad\nsipocheck: the stop came while the outputs were being replaced, too late to keep them; both were replaced'
[ "$(cat "$work/err")" = "$expected" ] || fail "messages: $(cat -A "$work/err")"
[ "$(ls -A "$work" | wc -l)" -eq 4 ] || fail "files left: $(ls -A "$work")"

printf 'old ok\r\n' >"$work/ok"
printf 'old bad\r\n' >"$work/bad"
SIPO_SHIM_RENAME_EACCES=1 LD_PRELOAD="$shim" "$sipocheck" file "$work/in" --ok "$work/ok" \
  --bad "$work/bad" --single-column 2>"$work/err"
status=$?
[ "$status" -eq 1 ] || fail "refused rename: status $status"
grep -q "^sipocheck: cannot write '$work/bad' for the bad lines: Permission denied$" "$work/err" \
  || fail "refused rename: messages $(cat -A "$work/err")"
grep -q "^sipocheck: no output file was replaced$" "$work/err" \
  || fail "refused rename: messages $(cat -A "$work/err")"
[ "$(cat "$work/ok")" = $'old ok\r' ] && [ "$(cat "$work/bad")" = $'old bad\r' ] \
  || fail "refused rename: outputs $(cat -A "$work/ok" "$work/bad")"
[ "$(ls -A "$work" | wc -l)" -eq 4 ] || fail "refused rename: files left: $(ls -A "$work")"
[ "$failures" -eq 0 ] && echo "all passed"
[ "$failures" -eq 0 ]
