# Sourced by the scripts that run Windows code: Wine's loaders, the two Windows builds, a fresh prefix
# and a virtual display.
WINE64=/usr/lib/wine/wine64
# The 32-bit loader (Debian's wine32); one prefix made by wine64 runs both kinds of program.
WINE32=/usr/lib/wine/wine
WINESERVER=/usr/lib/wine/wineserver
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine_env_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The loader that runs the programs of a Windows build: win32 (i686, the release program) or win64.
build_loader() { # build_loader win32|win64
  case $1 in
    win32) echo "$WINE32" ;;
    win64) echo "$WINE64" ;;
    *) return 1 ;;
  esac
}
build_toolchain() { # build_toolchain win32|win64
  case $1 in
    win32) echo "$wine_env_root/cmake/mingw-w64-i686.cmake" ;;
    win64) echo "$wine_env_root/cmake/mingw-w64-x86_64.cmake" ;;
    *) return 1 ;;
  esac
}

# Builds the named targets of a Windows build into a folder, logs beside it, and sets exe_<target> to
# each program's path. Prints what went wrong and fails when a step does.
build_windows_programs() { # build_windows_programs folder win32|win64 target...
  local dir=$1 toolchain target
  toolchain=$(build_toolchain "$2") || { echo "no Windows build '$2' (win32 or win64)" >&2; return 1; }
  shift 2
  mkdir -p "$dir"
  cmake -S "$wine_env_root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    >"$dir.configure.log" 2>&1 || { tail -30 "$dir.configure.log" >&2; return 1; }
  cmake --build "$dir" -j 2 --target "$@" >"$dir.build.log" 2>&1 || { tail -30 "$dir.build.log" >&2; return 1; }
  for target in "$@"; do printf -v "exe_$target" '%s' "$dir/$target.exe"; done
}

# The folder the soak and cost commands build a Windows build's programs in.
tools_build_dir() { echo "${QUINTREL_TOOLS_BUILD:-$wine_env_root/build}/$1-tools"; }

# Starts Xvfb on the first free display number, 1024 x 768 unless a size is given, and exports
# DISPLAY; XVFB_PID is its process.
start_xvfb() { # start_xvfb [WIDTHxHEIGHT]
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${1:-1024x768}x24" -nolisten tcp >/dev/null 2>&1 &
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

# Boots the new prefix $WINEPREFIX. A command given (e.g. ip netns exec NS) runs Wine under it, so
# that the prefix's wineserver starts where that command puts it.
boot_wine_prefix() { # boot_wine_prefix [command...]
  mkdir -p "$WINEPREFIX"
  "$@" "$WINE64" wineboot -i >/dev/null 2>&1
}
# The dialogs are laid out for "MS Sans Serif"; Wine's own bitmap font of that name fits them.
add_dialog_font() { cp /usr/share/wine/fonts/sserife*.fon "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null; }
# With no window manager on the virtual display, managed windows cost two seconds each to close.
make_windows_unmanaged() { # make_windows_unmanaged [command...]
  "$@" "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

# Makes a fresh prefix (in the given folder, else under /tmp) for a virtual display and exports WINEPREFIX.
make_wine_prefix() { # make_wine_prefix [folder]
  WINEPREFIX=${1:-$(mktemp -d /tmp/quintrel-wine.XXXXXX)}
  export WINEPREFIX
  boot_wine_prefix
  make_windows_unmanaged
  add_dialog_font
  "$WINESERVER" -w
}

# Keeps the prefix's wineserver and what it runs beside the programs (services, drivers, the desktop
# and its tray) up until remove_wine_prefix, held by the driver's "hold" and started with their output
# going nowhere. Otherwise the first program in an idle prefix starts them and they keep its output
# open until the prefix is idle again: ctest, which waits for a test's output to close, would count
# that test as running to the end of the suite. start returns once the driver runs.
hold_wine_prefix() { # hold_wine_prefix path/to/qdriver.exe
  local driver
  driver=$(realpath "$1") || return 1
  "$WINE64" cmd /c start "" /b "Z:${driver//\//\\}" hold </dev/null >/dev/null 2>&1
}

# Removes the prefix and forgets it, so that nothing later takes a deleted or foreign prefix for its own.
remove_wine_prefix() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  "$WINESERVER" -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  unset WINEPREFIX
}

# Whether this machine runs the 32-bit build: the build's own tiny probe must answer under the
# 32-bit loader, run under the command given if one is (e.g. ip netns exec NS, where the prefix's
# wineserver lives). Prints the reason when it cannot.
can_run_win32() { # can_run_win32 path/to/bitness_probe.exe [command...]
  local answer
  [ -x "$WINE32" ] || { echo "no 32-bit Wine loader ($WINE32; Debian's wine32 is not installed)"; return 1; }
  answer=$("${@:2}" "$WINE32" "$1" 2>&1 | tr -d '\r')
  [ "$answer" = "bits=32" ] || { echo "the 32-bit loader cannot run a 32-bit program (it said: ${answer:-nothing})"; return 1; }
}
