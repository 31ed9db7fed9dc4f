#!/usr/bin/env bash
# Interim run command: sets up the machine, builds the win64 console view of the meter's interface
# discovery and shows, under Wine, the interfaces found and a few seconds of one interface's traffic.
# Usage: bash scripts/run.sh [seconds] [row]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/run-win64

bash "$root/scripts/setup.sh"
. "$root/scripts/wine_env.sh"

mkdir -p "$build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DQUINTREL_TESTS=OFF >"$build.configure.log" 2>&1 ||
  { tail -30 "$build.configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)" --target quintrel_ifstat >"$build.build.log" 2>&1 ||
  { tail -30 "$build.build.log"; exit 1; }

if [ -z "${WINEPREFIX:-}" ]; then
  echo "preparing a fresh Wine prefix..."
  make_wine_prefix
  trap remove_wine_prefix EXIT
fi
"$WINE64" "$build/quintrel_ifstat.exe" "$@"
