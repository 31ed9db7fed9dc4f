#!/usr/bin/env bash
# The meter's whole-program running cost beside floor programs with the same two timers, all under
# Wine at the same time, each in a Wine prefix (and so with a wineserver) of its own, with traffic on
# the monitored link: the floor whose ticks do nothing, the floor whose ticks only read the link's
# counters as the meter must on every tick (GetIfEntry2 where the IP helper library has the 64-bit
# entry points, else GetIfEntry; the floor says which), and the meter; each of the three
# from the win32 build (the shipped program, under the 32-bit loader) and from the win64 build. For
# each: CPU seconds of the program's process and of its wineserver over the same span, and peak
# memory. The CPU of each prefix's tray shell and device host (which serves Wine's interface
# counters) is shown beside them but not counted in the ratios, which compare programs of one build.
# Usage: scripts/cost.sh [seconds, default 120] [received sent, bytes a second, default 24000 8000;
# 0 0 for an idle link]. Needs root. A machine that cannot run 32-bit Windows programs measures the
# win64 build alone.
set -uo pipefail
. "$(dirname "$0")/../tests/lib/scripted.sh"
seconds=${1:-120}
received_rate=${2:-24000}
sent_rate=${3:-8000}
warmup=10
subnet=10.243
link=qcost0
programs=(floor floor+counters Quintrel)
builds=(win32 win64)
declare -A exe_of prefix_of pid_of before

require root ip python3 Xvfb cmake
begin cost
[[ "$seconds" =~ ^[0-9]+$ ]] && [ "$seconds" -ge 10 ] || abort "seconds must be a number of at least 10"
[[ "$received_rate$sent_rate" =~ ^[0-9]+$ ]] || abort "the rates are whole bytes a second"
for build in "${builds[@]}"; do
  build_windows_programs "$(tools_build_dir "$build")" "$build" Quintrel qdriver floor_timers bitness_probe ||
    abort "the $build build failed"
  exe_of[$build/Quintrel]=$exe_Quintrel exe_of[$build/floor]=$exe_floor_timers
  exe_of[$build/floor+counters]=$exe_floor_timers exe_of[$build/qdriver]=$exe_qdriver
  exe_of[$build/probe]=$exe_bitness_probe
done

# The columns of the screen a build's three programs stand in, so that no window covers another.
column_x() { if [ "$1" = win32 ]; then echo 0; else echo 500; fi; }
# A prefix of its own for one program, its shell kept up by the build's driver; the meter's prefix
# gets a profile that selects the monitored link and places the window. Fails, saying why, when
# this machine cannot run the build's programs.
make_program_prefix() { # make_program_prefix build name
  wine=$(build_loader "$1") driver_exe=${exe_of[$1/qdriver]}
  make_prefix desktop "$work/prefix-$1-${2/+/-}"
  prefix_of[$1/$2]=$WINEPREFIX
  if [ "$1" = win32 ] && ! reason=$(can_run_win32 "${exe_of[win32/probe]}" in_ns); then
    echo "cost: this machine cannot run the win32 build ($reason); measuring the win64 build alone"
    return 1
  fi
  keep_shell_up
  [ -n "${row:-}" ] || row=$(interface_row "$link")
  [ -n "$row" ] || abort "Wine does not list $link"
  [ "$2" = Quintrel ] && seed_profile "$row" $(($(column_x "$1") + 240)) 180
  return 0
}
start_program() { # start_program build name arguments...
  local key=$1/$2
  mkdir -p "$work/run-$1-${2/+/-}"
  WINEPREFIX=${prefix_of[$key]} start_in "$ns" "$work/run-$1-${2/+/-}" "$work/run-$1-${2/+/-}.txt" \
    "$(build_loader "$1")" "${exe_of[$key]}" "${@:3}"
  pid_of[$key]=$started
  helper_pids+=("$started")
}

# Clock ticks used by a prefix's tray shell and device hosts together.
helper_ticks() {
  local pid total=0
  for pid in $(prefix_pids "$1" explorer.exe winedevice.exe); do total=$((total + $(cpu_ticks "$pid"))); done
  echo "$total"
}
server_ticks() { cpu_ticks "$(prefix_pids "$1" wineserver64 wineserver | head -1)"; }
# Program, server and helper ticks of one program now.
ticks_of() { echo "$(cpu_ticks "${pid_of[$1]}") $(server_ticks "${prefix_of[$1]}") $(helper_ticks "${prefix_of[$1]}")"; }

start_screen
make_namespaces
make_link "$link" qcost1 1 || abort "cannot add the veth link"
start_sinks || abort "the datagram sinks did not start"
measured=()
for build in "${builds[@]}"; do
  for name in "${programs[@]}"; do make_program_prefix "$build" "$name" || continue 2; done
  measured+=("$build")
done
for build in "${measured[@]}"; do
  x=$(column_x "$build")
  start_program "$build" floor $((x + 20)) 300
  start_program "$build" floor+counters $((x + 220)) 300 "$row"
  start_program "$build" Quintrel
done
[ "$received_rate" -gt 0 ] || [ "$sent_rate" -gt 0 ] &&
  send_by_minute 1 $((seconds + warmup + 30)) "$received_rate" "$sent_rate"
sleep "$warmup"

for build in "${measured[@]}"; do
  for name in "${programs[@]}"; do
    kill -0 "${pid_of[$build/$name]}" 2>/dev/null || abort "$name of the $build build ended during its start"
    before[$build/$name]=$(ticks_of "$build/$name")
  done
done
sleep "$seconds"
for build in "${measured[@]}"; do
  for name in "${programs[@]}"; do
    read -r p0 s0 h0 <<<"${before[$build/$name]}"
    read -r p1 s1 h1 <<<"$(ticks_of "$build/$name")"
    echo "$build $name $((p1 - p0)) $((s1 - s0)) $((h1 - h0)) $(status_kb "${pid_of[$build/$name]}" VmHWM)"
  done
done >"$work/cost.txt"

echo "cost over the same $seconds s after a $warmup s start; refresh 200 ms; traffic $received_rate B/s in, $sent_rate B/s out"
awk -v hz="$(getconf CLK_TCK)" -v span="$seconds" '
  BEGIN {
    printf "%-5s %-15s %10s %10s %10s %12s %10s %9s\n", "build", "program", "program s", "server s", "together",
           "per minute", "(helpers)", "VmHWM MB"
  }
  {
    p = $3 / hz; s = $4 / hz; t = p + s
    printf "%-5s %-15s %10.2f %10.2f %10.2f %12.3f %10.2f %9.1f\n", $1, $2, p, s, t, t * 60 / span, $5 / hz, $6 / 1024
    total[$1, $2] = t; peak[$1, $2] = $6
    if (!($1 in seen)) { seen[$1] = 1; order[++builds] = $1 }
  }
  END {
    for (i = 1; i <= builds; i++) {
      b = order[i]
      if (total[b, "floor"] > 0)
        printf "%s: CPU ratio Quintrel / floor: %.2f (memory %.2f)\n", b, total[b, "Quintrel"] / total[b, "floor"],
               peak[b, "Quintrel"] / peak[b, "floor"]
      if (total[b, "floor+counters"] > 0)
        printf "%s: CPU ratio Quintrel / floor+counters: %.2f (memory %.2f)\n", b,
               total[b, "Quintrel"] / total[b, "floor+counters"], peak[b, "Quintrel"] / peak[b, "floor+counters"]
    }
  }' "$work/cost.txt"
# The meter takes the 64-bit entry point under the same rule as the floor, from the same library.
for build in "${measured[@]}"; do
  entry=$(sed -n 's/^counters=//p' "$work/run-$build-floor-counters.txt" | tr -d '\r')
  echo "$build: the floor reading the counters and the meter read them with ${entry:-an unknown entry point}"
done
