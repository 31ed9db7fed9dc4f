# Sourced by the soak and cost commands: the programs built for win64, a network namespace whose veth
# link carries paced UDP traffic, a Wine prefix whose wineserver lists that namespace's interfaces, and
# readings of a process's CPU time and memory from /proc. Needs root for the namespaces.
# Before sourcing, set meter_name (a short word for the temporary names).
set -uo pipefail
meter_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$meter_root/scripts/wine_env.sh"

meter_ns=q$meter_name-$$
meter_peer=q$meter_name-peer-$$
meter_link=q${meter_name}0   # the monitored link; Wine describes it by this name
meter_peer_link=q${meter_name}1
meter_ip=10.243.1.1
meter_peer_ip=10.243.1.2
meter_port=9100
meter_work=
meter_pids=()
meter_prefixes=()

meter_abort() {
  echo "$meter_name: $*" >&2
  exit 1
}

meter_require() {
  for tool in ip python3 Xvfb cmake "$@"; do
    command -v "$tool" >/dev/null || meter_abort "needs $tool"
  done
  [ "$(id -u)" -eq 0 ] || meter_abort "needs root for the network namespaces"
}

# Builds the named win64 targets into one folder (QUINTREL_TOOLS_BUILD, else build/win64-tools);
# sets the variable exe_<target> to each program's path.
meter_build() {
  local dir=${QUINTREL_TOOLS_BUILD:-$meter_root/build/win64-tools}
  mkdir -p "$dir"
  cmake -S "$meter_root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$meter_root/cmake/mingw-w64-x86_64.cmake" >"$dir.configure.log" 2>&1 ||
    meter_abort "configure failed, see $dir.configure.log"
  cmake --build "$dir" -j 2 --target "$@" >"$dir.build.log" 2>&1 || meter_abort "build failed, see $dir.build.log"
  local target
  for target in "$@"; do printf -v "exe_$target" '%s' "$dir/$target.exe"; done
}

meter_cleanup() {
  local pid prefix
  for pid in "${meter_pids[@]}"; do kill "$pid" 2>/dev/null; done
  # The wineservers were started inside the namespace; they must not outlive it.
  for prefix in "${meter_prefixes[@]}"; do WINEPREFIX=$prefix "$WINESERVER" -k >/dev/null 2>&1; done
  for pid in "${meter_pids[@]}"; do wait "$pid" 2>/dev/null; done
  ip netns del "$meter_ns" 2>/dev/null
  ip netns del "$meter_peer" 2>/dev/null
  stop_xvfb
  [ -n "$meter_work" ] && rm -rf "$meter_work"
}

# Background processes are started with ip netns exec itself, so that $! is the process.
in_ns() { ip netns exec "$meter_ns" "$@"; }
in_peer() { ip netns exec "$meter_peer" "$@"; }

# The program's namespace and the peer, joined by one veth link that carries nothing but our datagrams.
meter_namespaces() {
  ip netns add "$meter_ns" && ip netns add "$meter_peer" || meter_abort "cannot add the namespaces"
  local n
  for n in "$meter_ns" "$meter_peer"; do
    ip netns exec "$n" sysctl -q -w net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1
    ip netns exec "$n" ip link set lo up
  done
  in_ns ip link add name "$meter_link" type veth peer name "$meter_peer_link" netns "$meter_peer" ||
    meter_abort "cannot add the veth link"
  in_ns ip addr add "$meter_ip/24" dev "$meter_link"
  in_peer ip addr add "$meter_peer_ip/24" dev "$meter_peer_link"
  in_ns ip link set "$meter_link" up
  in_peer ip link set "$meter_peer_link" up
  # Fixed neighbours: no address resolution traffic on the link.
  in_ns ip neigh replace "$meter_peer_ip" lladdr "$(in_peer cat "/sys/class/net/$meter_peer_link/address")" \
    dev "$meter_link" nud permanent
  in_peer ip neigh replace "$meter_ip" lladdr "$(in_ns cat "/sys/class/net/$meter_link/address")" \
    dev "$meter_peer_link" nud permanent
}
# The kernel's own byte counter of the monitored link: rx_bytes or tx_bytes.
link_counter() { in_ns cat "/sys/class/net/$meter_link/statistics/$1"; }

# A fresh prefix (in folder $1, default "prefix" in the work folder) whose wineserver runs in the
# namespace, with the shell's processes kept up by a driver that holds, so that the programs measured
# later start nothing but themselves. Exports WINEPREFIX.
meter_prefix() {
  export WINEPREFIX=${1:-$meter_work/prefix}
  meter_prefixes+=("$WINEPREFIX")
  mkdir -p "$WINEPREFIX"
  in_ns "$WINE64" wineboot -i >/dev/null 2>&1
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  cp /usr/share/wine/fonts/sserife*.fon "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  in_ns "$WINESERVER" -w
  ip netns exec "$meter_ns" "$WINE64" "$exe_qdriver" hold >/dev/null 2>&1 &
  meter_pids+=($!)
  local user_dir
  user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)
  [ -n "$user_dir" ] || meter_abort "the prefix has no user folder"
  meter_profile=$user_dir/AppData/Roaming/Quintrel/Quintrel.ini
}

drv() { in_ns "$WINE64" "$exe_qdriver" "$@" 2>/dev/null | tr -d '\r'; }
field() { sed -n "s/^$2=//p" <<<"$1" | head -1; }

# Selects the monitored link and places the window; every other setting keeps its default.
meter_seed_profile() {  # x y
  local row
  row=$(field "$(drv if-row "$meter_link")" row)
  [ -n "$row" ] || meter_abort "Wine does not list $meter_link"
  mkdir -p "$(dirname "$meter_profile")"
  printf '[Last Settings]\r\neth=%s\r\nx_pos=%s\r\ny_pos=%s\r\n' "$row" "$1" "$2" >"$meter_profile"
  meter_row=$row
}

# Datagram sinks at both ends and paced senders whose rate changes every minute, bounded in time and bytes.
meter_traffic_script() {
  cat >"$meter_work/traffic.py" <<'EOF'
import socket, sys, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
if sys.argv[1] == "sink":
    s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 1 << 20)
    s.bind(("0.0.0.0", int(sys.argv[2])))
    print("ready", flush=True)
    while True:
        s.recv(65536)
# send DEST PORT SECONDS RATES...: RATES in bytes a second, one per minute, used in turn.
dest, port, seconds = sys.argv[2], int(sys.argv[3]), float(sys.argv[4])
rates = [int(r) for r in sys.argv[5:]]
size, limit = 1000, 200 * 1000 * 1000
payload = b"q" * size
start = time.monotonic()
minute_start, minute_sent, sent = start, 0, 0
while sent < limit:
    now = time.monotonic()
    if now - start >= seconds:
        break
    minute = int((now - start) // 60)
    if start + minute * 60 != minute_start:
        minute_start, minute_sent = start + minute * 60, 0
    rate = rates[minute % len(rates)]
    due = minute_start + (minute_sent + size) / rate if rate > 0 else minute_start + 60
    if due > now:
        time.sleep(min(due - now, start + seconds - now, 0.5))
        continue
    s.sendto(payload, (dest, port))
    minute_sent += size
    sent += size
print("sent", sent, flush=True)
EOF
}

meter_start_sinks() {
  ip netns exec "$meter_ns" python3 "$meter_work/traffic.py" sink "$meter_port" >"$meter_work/sink-ns.log" 2>&1 &
  meter_pids+=($!)
  ip netns exec "$meter_peer" python3 "$meter_work/traffic.py" sink "$meter_port" >"$meter_work/sink-peer.log" 2>&1 &
  meter_pids+=($!)
  for _ in $(seq 50); do
    grep -q ready "$meter_work/sink-ns.log" && grep -q ready "$meter_work/sink-peer.log" && return 0
    sleep 0.1
  done
  meter_abort "the datagram sinks did not start"
}

# meter_send seconds "received rates" "sent rates": traffic toward the program and from it.
meter_send() {
  ip netns exec "$meter_peer" python3 "$meter_work/traffic.py" send "$meter_ip" "$meter_port" "$1" $2 \
    >>"$meter_work/send.log" 2>&1 &
  meter_pids+=($!)
  send_pids=($!)
  ip netns exec "$meter_ns" python3 "$meter_work/traffic.py" send "$meter_peer_ip" "$meter_port" "$1" $3 \
    >>"$meter_work/send.log" 2>&1 &
  meter_pids+=($!)
  send_pids+=($!)
}

# The process of our prefix whose name is $1 (as /proc shows it, e.g. Quintrel.exe, wineserver64).
prefix_pid() {
  local dir pid
  for dir in /proc/[0-9]*; do
    pid=${dir#/proc/}
    [ "$(cat "$dir/comm" 2>/dev/null)" = "$1" ] || continue
    tr '\0' '\n' 2>/dev/null <"$dir/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" && { echo "$pid"; return 0; }
  done
  return 1
}
# User plus system CPU time of a process in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
ticks_to_seconds() { awk -v t="$1" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f", t / hz }'; }
# A field of /proc/<pid>/status in kB: VmRSS, VmHWM.
status_kb() { awk -v f="$2:" '$1 == f { print $2 }' "/proc/$1/status" 2>/dev/null; }
