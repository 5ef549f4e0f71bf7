#!/usr/bin/env bash
# startup_steps.sh - where Sipo.exe's start goes: a build that notes the end of each step of its
# start (SIPO_START_STEPS) is started RUNS times, alternating with the bare window of
# bench/startup.sh, and the median of each step's end and of its length is printed, in ms since
# the process was created. "entry" is the main window's creation being called, so everything
# before it is Wine loading the program, the runtime's start and the common controls' set-up.
# Usage: [RUNS=N] bench/startup_steps.sh   (default 21 starts)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
RUNS="${RUNS:-21}"
BUILD=build/mingw-steps

bash tools/install-deps.sh
cmake --preset mingw -B "$BUILD" -DSIPO_START_STEPS=ON >/dev/null
cmake --build "$BUILD" --target Sipo >/dev/null
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target bench_bare_window bench_start_timer >/dev/null

source tools/wine-env.sh
start_virtual_display
trap stop_wine_and_display EXIT
start_wine

work="$ROOT/build/bench-startup-steps"
rm -rf "$work" && mkdir -p "$work/sipo" "$work/bare"
cp "$BUILD/app/Sipo.exe" "$work/sipo/"
cp build/mingw/bench/startup/bench_bare_window.exe "$work/bare/"
timer=build/mingw/bench/startup/bench_start_timer.exe
sipo="Sipo.exe=Z:$work/sipo/Sipo.exe=TMainForm"
bare="bare window=Z:$work/bare/bench_bare_window.exe=TBareForm"
wine "$timer" 1 "$sipo" "$bare" >/dev/null  # Wine's own start-up paid first
export SIPO_START_STEPS_FILE="Z:$work/steps.txt"
wine "$timer" "$RUNS" "$sipo" "$bare"
# Each line: name ms name ms ...; per step the median of its end and of its length.
median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", v[int((NR + 1) / 2)] }'; }
steps="$work/steps.txt"
read -r -a first <"$steps"
for ((i = 0; i < ${#first[@]}; i += 2)); do
  ends=$(awk -v f=$((i + 2)) '{ print $f }' "$steps" | median)
  takes=$(awk -v f=$((i + 2)) '{ print $f - (f > 2 ? $(f - 2) : 0) }' "$steps" | median)
  printf '%-9s ends at %7s ms, takes %6s ms\n' "${first[i]}" "$ends" "$takes"
done
echo "(medians over $(wc -l <"$steps") starts)"
