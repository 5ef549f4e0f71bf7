#!/usr/bin/env bash
# run.sh - installs what is missing, builds Sipo.exe and starts it through Wine: on the current
# display when there is one, otherwise on a virtual display of its own, in a Wine virtual desktop
# (so that the window has its frame), with a picture of the screen saved to build/run/screen.png.
# Usage: tools/run.sh [--check]
#   --check  starts the program on a virtual display whatever DISPLAY says, waits for its main
#            window, saves the picture, closes the window as a user would and exits 0 when the
#            window showed and the program ended cleanly (what CI runs). Without it, Ctrl-C
#            closes the program the same way.
set -euo pipefail
SIPO_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$SIPO_ROOT"

usage() { sed -n '5,9s/^# \{0,1\}//p' "$0"; }
check=0
case "${1:-}" in
  "") ;;
  --check) check=1 ;;
  -h | --help) usage; exit 0 ;;
  *) echo "run.sh: unknown argument '$1'" >&2; usage >&2; exit 2 ;;
esac

bash tools/install-deps.sh
# As many compile jobs as the machine has processors (ninja alone would run two more).
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target Sipo start_and_wait

source tools/wine-env.sh
# The program keeps its settings beside the executable, so it runs from a folder of its own.
run_dir="$SIPO_ROOT/build/run"
mkdir -p "$run_dir"
cp build/mingw/app/Sipo.exe "$run_dir/Sipo.exe"

if [ "$check" -eq 0 ] && [ -n "${DISPLAY:-}" ]; then
  start_wine
  cd "$run_dir"
  exec wine Sipo.exe
fi

start_virtual_display
trap stop_wine_and_display EXIT
start_wine

state="$run_dir/state"
close_request="$run_dir/close"
picture="$run_dir/screen.png"
rm -f "$state" "$close_request" "$picture"
wine explorer /desktop=sipo,1024x768 build/mingw/tools/run/start_and_wait.exe \
  "Z:$run_dir/Sipo.exe" TMainForm "Z:$state" "Z:$close_request" &
desktop_pid=$!

# Asks the helper to close the window as a user would, and waits for the program to end, so that
# it saves its settings before Wine is stopped.
close_program() {
  touch "$close_request"
  for _ in $(seq 100); do kill -0 "$desktop_pid" 2>/dev/null || break; sleep 0.2; done
  wait "$desktop_pid" 2>/dev/null || true
}
trap 'close_program; exit 130' INT
trap 'close_program; exit 143' TERM HUP

# The helper writes "shown" once the main window is visible (it gives up after a minute).
while [ ! -s "$state" ] && kill -0 "$desktop_pid" 2>/dev/null; do sleep 0.2; done
if [ ! -s "$state" ]; then
  echo "run: the main window did not show" >&2
  exit 1
fi
sleep 1  # the first paint
import -display "$DISPLAY" -window root -crop 1024x768+0+0 +repage "$picture" || echo "run: no picture taken" >&2

if [ "$check" -eq 1 ]; then
  close_program
  if [ "$(cat "$state")" != closed ]; then
    echo "run: the program did not end cleanly when asked to close" >&2
    exit 1
  fi
  echo "run: the main window showed and closed cleanly; its picture is $picture"
  exit 0
fi

cat <<EOF
Sipo.exe runs on the virtual display $DISPLAY, in a Wine virtual desktop.
  its picture at start: $picture
  a new picture:        DISPLAY=$DISPLAY import -window root shot.png
Press Ctrl-C to close it and end (closing the program ends this script too).
EOF
wait "$desktop_pid" || true
