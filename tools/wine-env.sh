# wine-env.sh - sourced by the run and test scripts: a quiet Wine prefix of the project's own and,
# when asked, a virtual X display.

SIPO_ROOT="${SIPO_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko install prompts
export WINEPREFIX="${WINEPREFIX:-$SIPO_ROOT/build/wine-prefix}"

# Starts Xvfb on a free display and exports DISPLAY; the EXIT trap stops it.
start_virtual_display() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  SIPO_XVFB_PID=$!
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  export DISPLAY=":$n"
}

# Creates the prefix once and keeps one wineserver running for the whole session.
start_wine() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w
  fi
  install_wine_fonts
  wineserver -p >/dev/null 2>&1 || true
  # Wine's helper processes start with the first program and keep its output open; started here,
  # they hold /dev/null instead of a test's output pipe, which would never close.
  wine cmd.exe /c exit >/dev/null 2>&1 || true
}

# A user's Windows has Tahoma; without it Wine draws every label in a wider substitute, and what
# the tests measure is not what a user sees. A new prefix does not see Wine's own copy by itself.
# Marlett draws the title bars' buttons.
install_wine_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
  mkdir -p "$fonts"
  for font in tahoma.ttf tahomabd.ttf marlett.ttf; do
    if [ ! -f "$fonts/$font" ] && [ -f "/usr/share/wine/fonts/$font" ]; then
      cp "/usr/share/wine/fonts/$font" "$fonts/"
    fi
  done
}

stop_wine_and_display() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${SIPO_XVFB_PID:-}" ]; then kill "$SIPO_XVFB_PID" 2>/dev/null || true; fi
}
