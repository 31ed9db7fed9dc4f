#!/usr/bin/env bash
# Sets up the machine, builds Quintrel and starts it under Wine: the shipped 32-bit program when this
# machine runs 32-bit Windows programs, else the 64-bit build; it says which.
# On a desktop (DISPLAY set) the meter runs until you pick "Exit" from its menu; its settings and
# traffic logs are kept in ~/.local/share/quintrel. Without a display it runs on a virtual one for
# the given number of seconds (default 75, so that one log line is written), prints the interface it
# watched and its log, ends it with Exit and leaves a screenshot, the traffic log and the profile in a
# folder whose path it prints.
# Usage: bash scripts/run.sh [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-75}

bash "$root/scripts/setup.sh"
. "$root/scripts/wine_env.sh"

# Builds the program of a Windows build into build/run-<build>; sets program and loader.
build_program() { # build_program win32|win64
  build_windows_programs "$root/build/run-$1" "$1" Quintrel bitness_probe qdriver || exit 1
  program=$exe_Quintrel driver=$exe_qdriver
  loader=$(build_loader "$1")
}
# The 32-bit program if the prefix runs it, else the 64-bit one.
choose_program() {
  local reason
  if reason=$(can_run_win32 "$exe_bitness_probe"); then
    echo "running the 32-bit program, the shipped build ($program)"
  else
    echo "this machine cannot run 32-bit Windows programs: $reason; running the 64-bit build instead"
    build_program win64
  fi
}

build_program win32
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  data=${XDG_DATA_HOME:-$HOME/.local/share}/quintrel
  export WINEPREFIX=$data/wine
  mkdir -p "$data/logs"
  if [ ! -d "$WINEPREFIX/drive_c" ]; then
    echo "preparing Quintrel's Wine prefix in $WINEPREFIX (once)..."
    boot_wine_prefix
    add_dialog_font || true
  fi
  choose_program
  echo "Quintrel is running; right-click its window or tray icon for the menu. Logs: $data/logs"
  cd "$data/logs" && exec "$loader" "$program"
fi

out=$root/build/run-output/$(date +%Y%m%d-%H%M%S)
mkdir -p "$out/logs"
start_xvfb
make_wine_prefix
trap 'remove_wine_prefix; stop_xvfb' EXIT
choose_program
# A first start in all but the window's place: at (0, 0) it would cover Wine's tray, top left.
profile_dir=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming)/Quintrel
mkdir -p "$profile_dir"
printf '[Last Settings]\r\nx_pos=320\r\ny_pos=240\r\n' >"$profile_dir/Quintrel.ini"
echo "no display: running Quintrel for $seconds s on a virtual screen..."
(cd "$out/logs" && "$loader" "$program" >/dev/null 2>&1) &
meter=$!
sleep "$seconds"
import -window root "$out/screen.png"
"$loader" "$driver" command 537 >/dev/null 2>&1 || true  # Exit, which writes the window's settings
wait "$meter" 2>/dev/null || true
cp "$profile_dir/Quintrel.ini" "$out/" 2>/dev/null || true
"$WINESERVER" -k >/dev/null 2>&1 || true
for log in "$out"/logs/*_Quintrel.csv; do
  [ -e "$log" ] || { echo "no traffic log was written"; continue; }
  echo "watched: $(head -1 "$log" | tr -d '\r' | sed 's/^.*interface: //')"
  tail -n +4 "$log" | tr -d '\r' | sed 's/^/  minute line: /'
done
echo "screenshot, traffic log and profile: $out"
ls "$out" "$out/logs"
