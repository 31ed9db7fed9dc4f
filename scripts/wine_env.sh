# Sourced by the scripts that run Windows code: Wine's loader, a fresh prefix and a virtual display.
WINE64=/usr/lib/wine/wine64
# The 32-bit loader (Debian's wine32); one prefix made by wine64 runs both kinds of program.
WINE32=/usr/lib/wine/wine
WINESERVER=/usr/lib/wine/wineserver
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Starts Xvfb on the first free display number and exports DISPLAY; XVFB_PID is its process.
start_xvfb() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on $DISPLAY" >&2
  return 1
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=
}

# Makes a fresh prefix under /tmp and exports WINEPREFIX.
make_wine_prefix() {
  WINEPREFIX=$(mktemp -d /tmp/quintrel-wine.XXXXXX)
  export WINEPREFIX
  "$WINE64" wineboot -i >/dev/null 2>&1
  # With no window manager on the virtual display, managed windows cost two seconds each to close.
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # The dialogs are laid out for "MS Sans Serif"; Wine's own bitmap font of that name fits them.
  cp /usr/share/wine/fonts/sserife*.fon "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  "$WINESERVER" -w
}

remove_wine_prefix() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  "$WINESERVER" -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
}

# Whether this machine runs the 32-bit build: the build's own tiny probe must answer under the
# 32-bit loader. Prints the reason when it cannot.
can_run_win32() { # can_run_win32 path/to/bitness_probe.exe
  local answer
  [ -x "$WINE32" ] || { echo "no 32-bit Wine loader ($WINE32; Debian's wine32 is not installed)"; return 1; }
  answer=$("$WINE32" "$1" 2>&1 | tr -d '\r')
  [ "$answer" = "bits=32" ] || { echo "the 32-bit loader cannot run a 32-bit program (it said: ${answer:-nothing})"; return 1; }
}
