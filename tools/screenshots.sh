#!/usr/bin/env bash
# screenshots.sh - takes the README's pictures of the program's windows: builds Sipo.exe, runs it
# under Wine on a virtual display in a fresh folder, opens each window and cuts it out of the
# screen by its window class. Rerun it after a change to a window; output goes to docs/.
#
# To add a picture: drive the program to the state to show (sipo_drive click/copy/wait, see
# tests/ui/sipo_drive.cpp), then call: shot CLASS FILE.
set -euo pipefail
SIPO_ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$SIPO_ROOT"
out="$SIPO_ROOT/docs"

cmake --preset mingw >/dev/null
cmake --build --preset mingw --target Sipo sipo_drive >/dev/null

# A prefix of its own, where Wine draws the title bars itself: the virtual display has no window
# manager to draw them, and a desktop's window manager should keep drawing them for tools/run.sh.
export WINEPREFIX="$SIPO_ROOT/build/wine-prefix-screenshots"
source tools/wine-env.sh
start_virtual_display
run_dir="$(mktemp -d)"
trap 'stop_wine_and_display; rm -rf "$run_dir"' EXIT
start_wine
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
[ -f /usr/share/wine/fonts/marlett.ttf ] && cp -n /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
mkdir -p "$out"
cp build/mingw/app/Sipo.exe "$run_dir/"
drive() { wine "$SIPO_ROOT/build/mingw/tests/ui/sipo_drive.exe" "$@" | tr -d '\r'; }

# shot CLASS FILE: the window of that class, frame included, once it has drawn itself.
shot() {
  drive wait "$1" >/dev/null
  sleep 1
  local geometry
  geometry="$(drive rect "$1")"
  import -window root -crop "$geometry" +repage "$out/$2"
  echo "screenshots: $out/$2 ($geometry)"
}

# Control identifiers from ui/control_ids.h.
FLOATING_CLIP_BUTTON=106
ABOUT_BUTTON=301

(cd "$run_dir" && LC_ALL=cs_CZ.UTF-8 wine Sipo.exe >/dev/null 2>&1 &)
drive wait TMainForm >/dev/null

# The floating window checking a valid number from the clipboard; closing it brings the main
# window back.
drive copy 1234567897
drive click TMainForm "$FLOATING_CLIP_BUTTON"
shot TFloatingForm floating-window.png
drive close TFloatingForm
sleep 1

# The About window.
drive click TMainForm "$ABOUT_BUTTON"
shot TAboutForm about-window.png
drive close TAboutForm
sleep 1
drive close TMainForm
