#!/usr/bin/env bash
# The meter's whole-program running cost beside floor programs with the same two timers, all under
# Wine at the same time, each in a Wine prefix (and so with a wineserver) of its own, with traffic on
# the monitored link: the floor whose ticks do nothing, the floor whose ticks only read the link's
# counters with GetIfEntry (which the meter must do on every tick), and the meter. For each: CPU
# seconds of the program's process and of its wineserver over the same span, and peak memory. The
# CPU of each prefix's tray shell and device host (which serves Wine's interface counters) is shown
# beside them but not counted in the ratios.
# Usage: scripts/cost.sh [seconds, default 120]. Needs root.
set -uo pipefail
seconds=${1:-120}
meter_name=cost
. "$(dirname "$0")/meter_env.sh"
warmup=10
programs=(floor floor+counters Quintrel)

[[ "$seconds" =~ ^[0-9]+$ ]] && [ "$seconds" -ge 10 ] || meter_abort "seconds must be a number of at least 10"
meter_require
meter_build Quintrel qdriver floor_timers
meter_work=$(mktemp -d /tmp/quintrel-cost.XXXXXX)
trap meter_cleanup EXIT
trap 'exit 1' INT TERM HUP

start_xvfb || meter_abort "no virtual screen"
meter_namespaces
meter_traffic_script
meter_start_sinks
declare -A prefix_of
for name in "${programs[@]}"; do
  meter_prefix "$meter_work/prefix-${name/+/-}"
  prefix_of[$name]=$WINEPREFIX
done
meter_seed_profile 240 180
hz=$(getconf CLK_TCK)

# Clock ticks used by a prefix's tray shell and device hosts together.
helper_ticks() {
  local dir total=0
  for dir in /proc/[0-9]*; do
    case "$(cat "$dir/comm" 2>/dev/null)" in explorer.exe | winedevice.exe) ;; *) continue ;; esac
    tr '\0' '\n' 2>/dev/null <"$dir/environ" | grep -qxF "WINEPREFIX=$1" || continue
    total=$((total + $(cpu_ticks "${dir#/proc/}")))
  done
  echo "$total"
}
server_of() { WINEPREFIX=$1 prefix_pid wineserver64 || WINEPREFIX=$1 prefix_pid wineserver; }

start() {  # start name exe args...
  local name=$1 exe=$2
  shift 2
  mkdir -p "$meter_work/run-${name/+/-}"
  (cd "$meter_work/run-${name/+/-}" && export WINEPREFIX=${prefix_of[$name]} &&
    exec ip netns exec "$meter_ns" "$WINE64" "$exe" "$@" >/dev/null 2>&1) &
  pid_of[$name]=$!
  meter_pids+=($!)
}
declare -A pid_of
start floor "$exe_floor_timers" 20 300
start floor+counters "$exe_floor_timers" 220 300 "$meter_row"
start Quintrel "$exe_Quintrel"
meter_send $((seconds + warmup + 30)) "24000" "8000"
sleep "$warmup"

declare -A before
for name in "${programs[@]}"; do
  kill -0 "${pid_of[$name]}" 2>/dev/null || meter_abort "$name ended during its start"
  before[$name]="$(cpu_ticks "${pid_of[$name]}") $(cpu_ticks "$(server_of "${prefix_of[$name]}")") $(helper_ticks "${prefix_of[$name]}")"
done
sleep "$seconds"
for name in "${programs[@]}"; do
  read -r p0 s0 h0 <<<"${before[$name]}"
  echo "$name $(($(cpu_ticks "${pid_of[$name]}") - p0)) $(($(cpu_ticks "$(server_of "${prefix_of[$name]}")") - s0))" \
    "$(($(helper_ticks "${prefix_of[$name]}") - h0)) $(status_kb "${pid_of[$name]}" VmHWM)"
done >"$meter_work/cost.txt"

echo "cost over the same $seconds s after a $warmup s start; refresh 200 ms; traffic 24000 B/s in, 8000 B/s out"
awk -v hz="$hz" -v span="$seconds" '
  BEGIN {
    printf "%-15s %10s %10s %10s %12s %10s %9s\n", "program", "program s", "server s", "together", "per minute",
           "(helpers)", "VmHWM MB"
  }
  {
    p = $2 / hz; s = $3 / hz; t = p + s
    printf "%-15s %10.2f %10.2f %10.2f %12.3f %10.2f %9.1f\n", $1, p, s, t, t * 60 / span, $4 / hz, $5 / 1024
    total[$1] = t; peak[$1] = $5
  }
  END {
    if (total["floor"] > 0)
      printf "CPU ratio Quintrel / floor: %.2f (memory %.2f)\n", total["Quintrel"] / total["floor"],
             peak["Quintrel"] / peak["floor"]
    if (total["floor+counters"] > 0)
      printf "CPU ratio Quintrel / floor+counters: %.2f (memory %.2f)\n", total["Quintrel"] / total["floor+counters"],
             peak["Quintrel"] / peak["floor+counters"]
  }' "$meter_work/cost.txt"
