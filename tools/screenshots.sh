#!/usr/bin/env bash
# screenshots.sh - remakes the README's pictures in docs/: the main window at start, during a long
# file run and after a file run, drawn by Wine in a virtual desktop (so that the windows have their
# title bars) on a virtual X display, and the floating clipboard window and the About window.
# Usage: tools/screenshots.sh
set -euo pipefail
SIPO_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$SIPO_ROOT"

bash tools/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target Sipo screenshot_driver >/dev/null

source tools/wine-env.sh
start_virtual_display
trap stop_wine_and_display EXIT
start_wine

# The program runs from a folder of the prefix's drive C:, as it would on a user's machine, so the
# file names it shows are ordinary Windows names.
work="$SIPO_ROOT/build/screenshots"
program="$WINEPREFIX/drive_c/Tamrix SIPO"
rm -rf "$work" "$program" && mkdir -p "$work" "$program" docs
cp build/mingw/app/Sipo.exe "$program/"
LC_ALL=cs_CZ.UTF-8 wine explorer /desktop=sipo,1024x768 \
  build/mingw/tools/screenshots/screenshot_driver.exe "C:\\Tamrix SIPO\\Sipo.exe" "Z:$work"
for name in main run-in-progress file-run floating-window about-window; do
  convert "$work/$name.bmp" "docs/$name.png"
done
echo "screenshots: docs/main.png docs/run-in-progress.png docs/file-run.png docs/floating-window.png docs/about-window.png"
