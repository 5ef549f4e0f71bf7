#!/usr/bin/env bash
# early_stop_test.sh - a SIGINT in sipocheck's first moments, before it has begun its run, still
# ends it with a line that says what it did, and the interruption's status.
# Usage: early_stop_test.sh SIPOCHECK SHIM
set -u
sipocheck="$1"
shim="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf '1234567897\r\nx\r\n' >"$work/in"
printf 'old ok\r\n' >"$work/ok"
LD_PRELOAD="$shim" "$sipocheck" file "$work/in" --ok "$work/ok" --bad "$work/bad" \
  --single-column 2>"$work/err"
status=$?
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
[ "$status" -eq 130 ] || fail "status $status"
[ "$(cat "$work/err")" = "sipocheck: interrupted; no file was touched" ] \
  || fail "message: $(cat -A "$work/err")"
[ "$(cat "$work/ok")" = $'old ok\r' ] && [ ! -e "$work/bad" ] || fail "outputs touched"
[ "$(ls -A "$work" | wc -l)" -eq 3 ] || fail "files left: $(ls -A "$work")"
[ "$failures" -eq 0 ] && echo "all passed"
[ "$failures" -eq 0 ]
