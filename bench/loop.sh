#!/usr/bin/env bash
# loop.sh - times the file run's line loop alone (bench_loop): each layout's input is held in
# memory and sorted REPEAT times into two outputs on the null device, and the best and median
# processor time a line are printed, beside the plain block-by-block copy that the loop's reads
# make ("own" is the loop's time less that copy: what the run's user time is made of). No disk and
# no page cache, so the figure is steadier than bench/run.sh's and fit for comparing two builds.
# Usage: [REPEAT=N] [LAYOUTS=...] bench/loop.sh [LINES]   (default 10000000 lines, 9 repeats)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
lines="${1:-10000000}"
data="${SIPO_BENCH_DATA:-$ROOT/bench/data}"
mkdir -p "$data"

cmake --preset release -Wno-dev >/dev/null
cmake --build --preset release --target bench_loop bench_make_input >/dev/null
loop="$ROOT/build/release/bench/bench_loop"
make_input="$ROOT/build/release/bench/bench_make_input"

for layout in ${LAYOUTS:-single delimited quoted delimited-u16}; do
  input="$data/$layout-$lines.txt"
  encoding=()
  [ "${layout%-u16}" = "$layout" ] || encoding=(utf16)
  [ -f "$input" ] || "$make_input" "${layout%-u16}" "$lines" "$input" "${encoding[@]}"
  printf "%-14s %s\n" "$layout" "$("$loop" "$input" "${layout%-u16}" "${REPEAT:-9}")"
  [ "${KEEP_INPUTS:-0}" = 1 ] || rm -f "$input"
done
