#!/usr/bin/env bash
# screenshots.sh - remakes the pictures of the README and the guide (docs/navod.md) in docs/: the
# main window at start, during a long file run, after a file run with its closing box and with a
# clipboard list of every status, the floating clipboard window and the About window alone, drawn
# by Wine in a virtual desktop (so that the windows have their title bars) on a virtual X display.
# Usage: tools/screenshots.sh
set -euo pipefail
SIPO_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$SIPO_ROOT"

bash tools/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target Sipo screenshot_driver >/dev/null

source tools/wine-env.sh
start_virtual_display
holder_pid=""
stop_all() {
  if [ -n "$holder_pid" ]; then kill "$holder_pid" 2>/dev/null || true; fi
  stop_wine_and_display
}
trap stop_all EXIT
start_wine

# The program runs from a folder of the prefix's drive C:, as it would on a user's machine, so the
# file names it shows are ordinary Windows names.
work="$SIPO_ROOT/build/screenshots"
program="$WINEPREFIX/drive_c/Tamrix SIPO"
rm -rf "$work" "$program" && mkdir -p "$work" "$program" docs
cp build/mingw/app/Sipo.exe "$program/"
# The run in progress reads a FIFO with an export's name, which the driver feeds slowly. Held open
# for reading and writing here, it never makes an open wait for the other side.
slow_input="predpisy-SIPO-2024-07.csv"
mkfifo "$program/$slow_input"
sleep infinity <>"$program/$slow_input" &
holder_pid=$!
LC_ALL=cs_CZ.UTF-8 wine explorer /desktop=sipo,1024x768 \
  build/mingw/tools/screenshots/screenshot_driver.exe "C:\\Tamrix SIPO\\Sipo.exe" "Z:$work" \
  "$slow_input"
names=(main run-in-progress file-run clipboard-list floating-window about-window)
for name in "${names[@]}"; do
  [ -f "$work/$name.bmp" ] || { echo "screenshots: $name.bmp was not made" >&2; exit 1; }
  # -strip: no dates in the PNG, so an unchanged picture gives an unchanged file.
  convert "$work/$name.bmp" -strip "docs/$name.png"
done
echo "screenshots: ${#names[@]} pictures in docs/"
