#!/usr/bin/env bash
# startup.sh - times Sipo.exe from its start to its visible main window under Wine, next to a bare
# Win32 window started the same way, and beside a window with the main window's standard controls
# and no logic, once as it is (no manifest: the unthemed controls) and once with Sipo.exe's
# manifest (the themed controls of version 6 that the program makes, and its DPI awareness), and
# prints the medians and their ratios to the bare window. The notice host is the build's (a name
# under .example that does not resolve), so the figure is what a user without a reachable maker's
# server waits. Usage: [RUNS=N] bench/startup.sh   (default 21 starts each)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
RUNS="${RUNS:-21}"

bash tools/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target Sipo bench_bare_window bench_controls_window \
  bench_controls_window_themed bench_start_timer >/dev/null

source tools/wine-env.sh
start_virtual_display
trap stop_wine_and_display EXIT
start_wine

work="$ROOT/build/bench-startup"
rm -rf "$work" && mkdir -p "$work/sipo" "$work/bare" "$work/controls" "$work/themed"
cp build/mingw/app/Sipo.exe "$work/sipo/"
cp build/mingw/bench/startup/bench_bare_window.exe "$work/bare/"
cp build/mingw/bench/startup/bench_controls_window.exe "$work/controls/"
cp build/mingw/bench/startup/bench_controls_window_themed.exe "$work/themed/"
# One start of each first, so that all are measured with Wine's own start-up already paid.
wine build/mingw/bench/startup/bench_start_timer.exe 1 "sipo=Z:$work/sipo/Sipo.exe=TMainForm" \
  "controls=Z:$work/controls/bench_controls_window.exe=TControlsForm" \
  "themed=Z:$work/themed/bench_controls_window_themed.exe=TControlsForm" \
  "bare=Z:$work/bare/bench_bare_window.exe=TBareForm" >/dev/null
wine build/mingw/bench/startup/bench_start_timer.exe "$RUNS" \
  "Sipo.exe=Z:$work/sipo/Sipo.exe=TMainForm" \
  "controls only=Z:$work/controls/bench_controls_window.exe=TControlsForm" \
  "controls only, themed=Z:$work/themed/bench_controls_window_themed.exe=TControlsForm" \
  "bare window=Z:$work/bare/bench_bare_window.exe=TBareForm"
