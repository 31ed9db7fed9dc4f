#!/usr/bin/env bash
# Sets up the machine, builds Quintrel and starts it under Wine: the 64-bit program, the one the main
# setup program installs (the 32-bit build is for 32-bit Windows only).
# On a desktop (DISPLAY set) the meter runs until you pick "Exit" from its menu; its settings and
# traffic logs are kept in ~/.local/share/quintrel. Without a display it runs on a virtual one for
# the given number of seconds (default 75, so that one log line is written), prints the interface it
# watched and its log, ends it with Exit and leaves a screenshot, the traffic log and the profile in a
# folder whose path it prints.
# Without a display it watches the interface named (one of this machine's, as Wine lists it: eth0);
# with none named, a link of its own that carries traffic, since a server's own link often carries
# nothing: a veth link into a network namespace with a bounded UDP transfer over it both ways. That
# needs root; without it the run says so and watches this machine's links as a first start chooses.
# Usage: bash scripts/run.sh [seconds] [interface], in either order; on a desktop, choose the
# interface in Configure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=75
interface=
for argument in "$@"; do
  if [[ $argument =~ ^[0-9]+$ ]]; then seconds=$argument; else interface=$argument; fi
done

bash "$root/scripts/setup.sh"
. "$root/scripts/wine_env.sh"

# The 64-bit program and its driver, built into build/run-win64.
build_windows_programs "$root/build/run-win64" win64 Quintrel qdriver || exit 1
program=$exe_Quintrel driver=$exe_qdriver
loader=$(build_loader win64)
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  data=${XDG_DATA_HOME:-$HOME/.local/share}/quintrel
  export WINEPREFIX=$data/wine
  mkdir -p "$data/logs"
  if [ ! -d "$WINEPREFIX/drive_c" ]; then
    echo "preparing Quintrel's Wine prefix in $WINEPREFIX (once)..."
    boot_wine_prefix
    add_dialog_font || true
  fi
  echo "Quintrel is running ($program); right-click its window or tray icon for the menu. Logs: $data/logs"
  cd "$data/logs" && exec "$loader" "$program"
fi

out=$root/build/run-output/$(date +%Y%m%d-%H%M%S)
mkdir -p "$out/logs"
# The test library's namespaces, prefix, traffic and its one cleanup of them all at the end; its
# functions are written for scripts that go on after a failed command.
. "$root/tests/lib/scripted.sh"
set +e
own_link=
if [ -z "$interface" ]; then
  if [ "$(id -u)" -eq 0 ]; then
    own_link=quintrel0
  else
    echo "not root, so no network namespace: watching this machine's own links, which may carry nothing"
  fi
fi
begin run
start_screen
if [ -n "$own_link" ]; then
  make_namespaces
  make_link "$own_link" quintrel1 1 || abort "cannot make the veth link $own_link"
  start_sinks || abort "the datagram sinks did not start"
fi
# UDP traffic over the run's own link one way, its rate changing every four seconds until the run
# has ended. At most 18 KB/s on the wire (datagrams of 200 bytes, 242 there) fits the first start's
# graph, whose full scale is 4 KB in each column of 200 ms; small datagrams keep the columns even.
changing_traffic() { # changing_traffic send_to_program|send_from_program rate...
  local send=$1 end=$((SECONDS + seconds + 20)) rate
  shift
  while [ "$SECONDS" -lt "$end" ]; do
    for rate in "$@"; do "$send" 1 $((rate * 4)) "$rate" 200; done
  done
}
# Where the prefix's wineserver runs: in the namespace when there is one, so that Wine lists its links.
where() { if [ -n "$ns" ]; then in_ns "$@"; else "$@"; fi; }
boot_wine_prefix where
make_windows_unmanaged where
add_dialog_font
where "$WINESERVER" -w
# A first start in all but the window's place (at (0, 0) it would cover Wine's tray, top left) and
# the interface named.
profile_dir=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming)/Quintrel
mkdir -p "$profile_dir"
printf '[Last Settings]\r\nx_pos=320\r\ny_pos=240\r\npxpos=1\r\n' >"$profile_dir/Quintrel.ini"
if [ -n "$interface" ]; then
  row=$(field "$(where "$loader" "$driver" if-row "$interface" 2>/dev/null | tr -d '\r')" row)
  [[ $row =~ ^[0-9]+$ ]] || {
    echo "Wine lists no interface '$interface'; it lists: $(where "$loader" "$driver" if-list 2>/dev/null |
      sed -n 's/^row[0-9]*: .*descr=//p' | tr -d '\r' | paste -sd, -)"
    exit 1
  }
  printf 'eth=%s\r\n' "$row" >>"$profile_dir/Quintrel.ini"
fi
if [ -n "$own_link" ]; then
  echo "no display and no interface named: watching a link of its own, $own_link, with a UDP transfer over it"
  changing_traffic send_to_program 4000 10000 15000 12000 7000 3000 9000 14000 &
  helper_pids+=($!)
  changing_traffic send_from_program 2500 4500 8000 5500 2000 6500 10000 3500 &
  helper_pids+=($!)
  sleep 2
fi
echo "no display: running Quintrel for $seconds s on a virtual screen..."
if [ -n "$ns" ]; then
  start_in "$ns" "$out/logs" /dev/null "$loader" "$program"
  app_pid=$started
else
  (cd "$out/logs" && exec "$loader" "$program" >/dev/null 2>&1) &
  app_pid=$!
fi
sleep "$seconds"
import -window root "$out/screen.png"
where "$loader" "$driver" command 537 >/dev/null 2>&1  # Exit, which writes the window's settings
wait_app
cp "$profile_dir/Quintrel.ini" "$out/" 2>/dev/null
where "$WINESERVER" -k >/dev/null 2>&1
for log in "$out"/logs/*_Quintrel.csv; do
  [ -e "$log" ] || { echo "no traffic log was written"; continue; }
  echo "watched: $(head -1 "$log" | tr -d '\r' | sed 's/^.*interface: //')"
  tail -n +4 "$log" | tr -d '\r' | sed 's/^/  minute line: /'
done
echo "screenshot, traffic log and profile: $out"
ls "$out" "$out/logs"
