#!/usr/bin/env bash
# Sets up the machine, builds Quintrel and starts it under Wine.
# On a desktop (DISPLAY set) the meter runs until you pick "Exit" from its menu; its settings and
# traffic logs are kept in ~/.local/share/quintrel. Without a display it runs on a virtual one for
# the given number of seconds (default 75, so that one log line is written) and leaves a screenshot,
# the traffic logs and the profile in a folder whose path it prints.
# Usage: bash scripts/run.sh [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/run-win64
seconds=${1:-75}

bash "$root/scripts/setup.sh"
. "$root/scripts/wine_env.sh"

mkdir -p "$build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DQUINTREL_TESTS=OFF >"$build.configure.log" 2>&1 ||
  { tail -30 "$build.configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)" --target Quintrel >"$build.build.log" 2>&1 ||
  { tail -30 "$build.build.log"; exit 1; }
program=$build/Quintrel.exe

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  data=${XDG_DATA_HOME:-$HOME/.local/share}/quintrel
  export WINEPREFIX=$data/wine
  mkdir -p "$data/logs"
  if [ ! -d "$WINEPREFIX/drive_c" ]; then
    echo "preparing Quintrel's Wine prefix in $WINEPREFIX (once)..."
    "$WINE64" wineboot -i >/dev/null 2>&1
    cp /usr/share/wine/fonts/sserife*.fon "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
  echo "Quintrel is running; right-click its window or tray icon for the menu. Logs: $data/logs"
  cd "$data/logs" && exec "$WINE64" "$program"
fi

out=$root/build/run-output/$(date +%Y%m%d-%H%M%S)
mkdir -p "$out/logs"
echo "no display: running Quintrel for $seconds s on a virtual screen..."
start_xvfb
make_wine_prefix
trap 'remove_wine_prefix; stop_xvfb' EXIT
(cd "$out/logs" && "$WINE64" "$program" >/dev/null 2>&1) &
sleep "$seconds"
import -window root "$out/screen.png"
cp "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Quintrel/Quintrel.ini "$out/" 2>/dev/null || true
"$WINESERVER" -k >/dev/null 2>&1 || true
echo "screenshot, traffic logs and profile: $out"
ls "$out" "$out/logs"
