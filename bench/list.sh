#!/usr/bin/env bash
# list.sh - times the clipboard list of the real Sipo.exe under Wine on a virtual display: an
# import of LINES copied lines (classified, grid drawn), a jump to the grid's last row, and an
# export of the rows, each next to the same clipboard text read or put by a trivial program (the
# benchmark itself) in the same run. Best of REPEAT runs (default 5).
# Usage: [REPEAT=N] bench/list.sh [LINES]   (default 100000)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"
lines="${1:-100000}"

cmake --preset mingw >/dev/null
cmake --build --preset mingw --target list_bench >/dev/null

source tools/wine-env.sh
start_virtual_display
trap stop_wine_and_display EXIT
start_wine
LC_ALL=cs_CZ.UTF-8 wine build/mingw/tests/ui/list_bench.exe "$lines" "${REPEAT:-5}" | tr -d '\r'
