#!/usr/bin/env bash
# process_test.sh - sipocheck as scripts meet it, with the real binary: standard input, a FIFO,
# a full standard output, signals that interrupt a run, a run killed outright, memory that runs
# out. Usage: process_test.sh SIPOCHECK
set -u
set -m  # background jobs keep SIGINT, as they would in an interactive shell
sipocheck="$1"
work="$(mktemp -d)"
trap 'exec 3>&- 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
temporaries() { find "$work" -maxdepth 1 -name '.sipo-*' | wc -l; }

# '-' reads standard input, a pipe included.
printf '1234567897\r\nx\r\n' | "$sipocheck" file - --ok "$work/ok" --bad "$work/bad" --single-column 2>"$work/err" \
  || fail "standard input: exit $?"
[ "$(cat "$work/ok")" = $'1234567897\r' ] || fail "standard input: ok output"
grep -q "2 lines read, 1 good, 1 bad" "$work/err" || fail "standard input: summary $(cat "$work/err")"
rm -f "$work/ok" "$work/bad"

# Standard output as an output: '-' and its aliases are written through the descriptor the caller
# set up, so an append stays an append and a pipe stays a pipe; two names of one file are refused.
printf '1234567897\r\nx\r\n' >"$work/input"
run_pair() {  # OK BAD: the run's output appended to $work/log, its status in $status
  printf 'old log\n' >"$work/log"
  rm -f "$work/bad"
  "$sipocheck" file "$work/input" --ok "$1" --bad "$2" --single-column >>"$work/log" 2>"$work/err"
  status=$?
}
for ok in - /dev/stdout /dev/fd/1 /proc/self/fd/1; do
  run_pair "$ok" "$work/bad"
  [ "$status" -eq 0 ] || fail "--ok $ok: exit $status $(cat "$work/err")"
  [ "$(cat "$work/log")" = $'old log\n1234567897\r' ] || fail "--ok $ok >> log: $(od -c "$work/log")"
  [ "$(cat "$work/bad")" = $'x\r' ] || fail "--ok $ok: bad output"
done
run_pair "$work/log" -
[ "$status" -eq 2 ] || fail "--bad - with the log as --ok: exit $status"
grep -q "are one file" "$work/err" || fail "--bad - with the log as --ok: $(cat "$work/err")"
[ "$(cat "$work/log")" = "old log" ] && [ ! -e "$work/bad" ] || fail "refused pair touched a file"
ln -s /dev/stdout "$work/to-stdout"
run_pair "$work/to-stdout" "$work/bad"
[ "$status" -eq 0 ] && [ "$(cat "$work/log")" = $'old log\n1234567897\r' ] \
  || fail "a link to /dev/stdout: exit $status, log $(od -c "$work/log")"
rm -f "$work/to-stdout"
got="$("$sipocheck" file "$work/input" --ok - --bad /dev/stdout --single-column 2>/dev/null | od -An -c)"
[ -n "$got" ] || fail "- and /dev/stdout into one pipe: nothing written"
# An output written in place on the input's own file would read back its own lines: refused
# before anything is read, whichever way the descriptor reaches the input.
printf '1234567897\r\nx\r\n' >"$work/big"
for way in append read-write fd; do
  rm -f "$work/bad"
  case "$way" in
    append) "$sipocheck" file "$work/big" --ok - --bad "$work/bad" >>"$work/big" 2>"$work/err" ;;
    read-write) "$sipocheck" file - --ok - --bad "$work/bad" <"$work/big" 1<>"$work/big" 2>"$work/err" ;;
    fd) "$sipocheck" file "$work/big" --ok "$work/ok" --bad /dev/fd/5 5>>"$work/big" 2>"$work/err" ;;
  esac
  status=$?
  [ "$status" -eq 2 ] || fail "output on the input ($way): exit $status"
  grep -q "^sipocheck: --\(ok\|bad\) .* is the same file as .*input" "$work/err" \
    || fail "output on the input ($way): $(cat "$work/err")"
  [ "$(cat "$work/big")" = $'1234567897\r\nx\r' ] || fail "output on the input ($way): input changed"
  [ ! -e "$work/bad" ] && [ ! -e "$work/ok" ] || fail "output on the input ($way): an output made"
done
rm -f "$work/big"

run_pair - "$work/missing/bad"
[ "$status" -eq 1 ] && [ "$(cat "$work/log")" = "old log" ] || fail "missing folder: exit $status"
grep -q "cannot create '$work/missing/bad' for the bad lines: No such file or directory" "$work/err" \
  || fail "missing folder: $(cat "$work/err")"
rm -f "$work/input" "$work/log" "$work/bad"

# A full disk during the run (here a limit on a file's size): the first failed write ends the run,
# so an endless input is read no further; nothing is replaced and the message gives the reason.
printf 'old ok\r\n' >"$work/ok"
timeout 20 bash -c 'ulimit -f 1024; trap "" XFSZ; yes 1234567897 | "$1" file - --ok "$2/ok" \
  --bad "$2/bad" --single-column 2>"$2/err"' _ "$sipocheck" "$work"
status=$?
[ "$status" -eq 1 ] || fail "full disk: exit status $status"
grep -q "cannot write '$work/ok' for the good lines: File too large" "$work/err" \
  || fail "full disk: $(cat "$work/err")"
grep -q "the rest of the input was not read; the output files were not touched" "$work/err" \
  || fail "full disk: $(cat "$work/err")"
[ "$(cat "$work/ok")" = $'old ok\r' ] && [ ! -e "$work/bad" ] && [ "$(temporaries)" -eq 0 ] \
  || fail "full disk: outputs $(ls -A "$work")"
rm -f "$work/ok" "$work/err"

# A full standard output is a failure with a message and check's status of its own (5, apart
# from 1 for a text that is not valid), also while standard input never ends.
"$sipocheck" check 1234567897 >/dev/full 2>"$work/err"
[ $? -eq 5 ] || fail "full standard output: exit status"
grep -q "cannot write to standard output: No space left on device" "$work/err" \
  || fail "full standard output: message $(cat "$work/err")"
timeout 20 bash -c 'yes 1234567897 | "$1" check >/dev/full 2>"$2"' _ "$sipocheck" "$work/err"
status=$?
[ "$status" -eq 5 ] || fail "endless input to a full standard output: exit status $status"
grep -q "cannot write to standard output: No space left on device" "$work/err" \
  || fail "endless input: message $(cat "$work/err")"

# check writes in one encoding, the locale's (UTF-8 under the C locale too): an unmarked line is
# Windows-1250 (0xE8 is c with caron), a marked one and an argument keep their characters.
for locale in C.UTF-8 C; do
  got="$( { printf 'x\xe8\n'; } | LC_ALL=$locale "$sipocheck" check; \
          printf '\xef\xbb\xbfy\xd0\x96\n' | LC_ALL=$locale "$sipocheck" check; \
          LC_ALL=$locale "$sipocheck" check $'z\xc4\x8d' )"
  [ "$got" = $'"x\xc4\x8d";"nen\xc3\xad \xc4\x8d\xc3\xadslo"\n"y\xd0\x96";"nen\xc3\xad \xc4\x8d\xc3\xadslo"\n"z\xc4\x8d";"nen\xc3\xad \xc4\x8d\xc3\xadslo"' ] \
    || fail "check's encoding under $locale: $got"
done

# From a pipe, each line is answered as soon as it is read, before the input ends.
coproc CHECK { "$sipocheck" check 2>/dev/null; }
check_pid=$CHECK_PID  # bash unsets CHECK_PID as soon as the coprocess has ended
printf '1234567897\n' >&"${CHECK[1]}"
IFS= read -r -t 10 answer <&"${CHECK[0]}" || answer="(none within 10 s)"
[[ "$answer" == '"1234567897";"platn'* ]] || fail "check from a pipe: answer $answer"
exec {CHECK[1]}>&-
wait "$check_pid"

# A closed standard input is said to be closed; the outputs stay untouched.
echo "old" >"$work/ok"
"$sipocheck" file - --ok "$work/ok" --bad "$work/bad" <&- 2>"$work/err"
status=$?
[ "$status" -eq 1 ] || fail "closed standard input: exit status $status"
grep -q "standard input is closed" "$work/err" || fail "closed standard input: $(cat "$work/err")"
[ "$(cat "$work/ok")" = "old" ] && [ ! -e "$work/bad" ] || fail "closed standard input: outputs"
"$sipocheck" check <&- 2>"$work/err"
status=$?
grep -q "standard input is closed" "$work/err" || fail "check, closed input: $(cat "$work/err")"
[ "$status" -eq 5 ] || fail "check, closed input: exit status $status"

# A FIFO output is written in place once a reader opens it, as with cat > fifo.
mkfifo "$work/out"
printf '1234567897\r\nx\r\n' >"$work/input"
"$sipocheck" file "$work/input" --ok "$work/out" --bad "$work/bad" --single-column 2>/dev/null &
pid=$!
got="$(timeout 10 cat "$work/out")"
wait "$pid" || fail "FIFO output: exit $?"
[ "$got" = $'1234567897\r' ] || fail "FIFO output: read $got"
[ -p "$work/out" ] || fail "FIFO output: no longer a FIFO"
rm -f "$work/out" "$work/bad" "$work/input"

# A signal during a run (the input a FIFO that is still open) removes the temporaries and ends
# the process as the signal does; the outputs stay untouched.
mkfifo "$work/in"
for signal in INT TERM HUP; do
  echo "old" >"$work/ok"
  "$sipocheck" file "$work/in" --ok "$work/ok" --bad "$work/bad" --single-column 2>"$work/err" &
  pid=$!
  exec 3>"$work/in"
  printf '1234567897\r\n' >&3
  for _ in $(seq 100); do [ "$(temporaries)" -eq 2 ] && break; sleep 0.05; done
  [ "$(temporaries)" -eq 2 ] || fail "$signal: the run did not start"
  kill -s "$signal" "$pid"
  wait "$pid"
  status=$?
  exec 3>&-
  [ "$status" -eq $((128 + $(kill -l "$signal"))) ] || fail "$signal: exit status $status"
  [ "$(temporaries)" -eq 0 ] || fail "$signal: temporaries left: $(ls -A "$work")"
  [ "$(cat "$work/ok")" = "old" ] || fail "$signal: ok output changed"
  [ -e "$work/bad" ] && fail "$signal: bad output created"
  [ "$(cat "$work/err")" = "sipocheck: interrupted; the output files were not touched" ] \
    || fail "$signal: message $(cat "$work/err")"
done

# A stop while standard output is an output: the file output is untouched, and the message says
# that standard output is not.
echo "old" >"$work/bad"
"$sipocheck" file "$work/in" --ok - --bad "$work/bad" --single-column >"$work/log" 2>"$work/err" &
pid=$!
exec 3>"$work/in"
printf '1234567897\r\nx\r\n' >&3
for _ in $(seq 100); do [ "$(temporaries)" -eq 1 ] && break; sleep 0.05; done
kill -s INT "$pid"
wait "$pid"
status=$?
exec 3>&-
[ "$status" -eq 130 ] && [ "$(temporaries)" -eq 0 ] && [ "$(cat "$work/bad")" = "old" ] \
  || fail "a stop with standard output: exit $status, bad $(cat "$work/bad")"
[ "$(cat "$work/err")" = "sipocheck: interrupted; the output file '$work/bad' was not touched; \
standard output may already have received some of the good lines" ] \
  || fail "a stop with standard output: message $(cat "$work/err")"
rm -f "$work/log" "$work/bad"

# A stop at any moment of a file run says what it did, from the process's first moments on.
exec 3<>"$work/in"  # a writer that never writes: the run waits for its input
silent=0
for delay in 0 1 2 3 4 5 6 8 10 12 15 20 25 30 40; do
  "$sipocheck" file "$work/in" --ok "$work/ok" --bad "$work/bad" 2>"$work/err" &
  pid=$!
  # The loader's and the runtime's moments before the program's entry cannot be helped (under the
  # sanitizers they last tens of milliseconds): wait until the process catches SIGINT, which its
  # entry arranges before anything else.
  for _ in $(seq 5000); do
    caught=$(awk '/^SigCgt:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
    [ -n "$caught" ] && (( (16#$caught >> 1) & 1 )) && break
  done
  sleep 0.0"$(printf '%02d' $((delay + 3)))"
  kill -s INT "$pid" 2>/dev/null
  wait "$pid"
  status=$?
  [ "$status" -eq 130 ] && ! grep -q "^sipocheck: interrupted; " "$work/err" && silent=$((silent + 1))
done
exec 3>&-
[ "$silent" -eq 0 ] || fail "early stops: $silent of 15 ended with no message"
[ "$(temporaries)" -eq 0 ] || fail "early stops: temporaries left: $(ls -A "$work")"

# A reader that closes standard output early (head) is no interruption: the run says what
# happened, ends by SIGPIPE (141) and leaves a file output untouched.
echo "old" >"$work/ok"
yes x | head -n 300000 >"$work/many"
"$sipocheck" file "$work/many" --ok "$work/ok" --bad - --single-column 2>"$work/err" | head -n 1 >/dev/null
status=${PIPESTATUS[0]}
[ "$status" -eq 141 ] || fail "closed pipe: exit status $status"
grep -q "was closed by its reader; the output file '$work/ok' was not touched" "$work/err" \
  || fail "closed pipe: message $(cat "$work/err")"
[ "$(cat "$work/ok")" = "old" ] && [ "$(temporaries)" -eq 0 ] || fail "closed pipe: ok output changed"
rm -f "$work/many"

# A run killed outright leaves its temporaries; the next run for the same outputs removes them.
"$sipocheck" file "$work/in" --ok "$work/ok" --bad "$work/bad" --single-column 2>/dev/null &
pid=$!
exec 3>"$work/in"
for _ in $(seq 100); do [ "$(temporaries)" -eq 2 ] && break; sleep 0.05; done
kill -s KILL "$pid"
wait "$pid" 2>/dev/null
exec 3>&-
[ "$(temporaries)" -eq 2 ] || fail "killed run: expected its two temporaries"
printf '1234567897\r\n' >"$work/input"
"$sipocheck" file "$work/input" --ok "$work/ok" --bad "$work/bad" --single-column 2>/dev/null \
  || fail "run after the killed one: exit $?"
[ "$(temporaries)" -eq 0 ] || fail "killed run: temporaries not removed: $(ls -A "$work")"

# Memory that runs out (a line longer than the memory allowed) gives a message and status 1.
if [ "${SIPO_SKIP_MEMORY_LIMIT:-0}" != 1 ]; then
  ( ulimit -v 60000; head -c 80000000 /dev/zero | tr '\0' 1 | "$sipocheck" check >/dev/null 2>"$work/err" )
  status=$?
  [ "$status" -eq 5 ] || fail "out of memory: exit status $status"
  grep -q "out of memory" "$work/err" || fail "out of memory: message $(cat "$work/err")"
fi

[ "$failures" -eq 0 ] && echo "all passed"
[ "$failures" -eq 0 ]
