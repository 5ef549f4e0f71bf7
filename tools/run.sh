#!/usr/bin/env bash
# run.sh - installs what is missing, builds Sipo.exe and starts it through Wine on the current
# display (a virtual one when there is none, with a screenshot path printed).
set -euo pipefail
SIPO_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$SIPO_ROOT"

bash tools/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target Sipo

source tools/wine-env.sh
if [ -z "${DISPLAY:-}" ]; then
  echo "No display: starting a virtual one. Take a picture with: DISPLAY=$DISPLAY import -window root shot.png"
  start_virtual_display
  trap stop_wine_and_display EXIT
fi
start_wine
# The program keeps its settings beside the executable, so it runs from a folder of its own.
mkdir -p build/run
cp build/mingw/app/Sipo.exe build/run/Sipo.exe
cd build/run
wine Sipo.exe
