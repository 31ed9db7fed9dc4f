# Sourced by the fault scripts: a virtual screen, two network namespaces joined by veth links, a
# fresh Wine prefix whose wineserver lives in the first namespace, the program and its driver, and a
# cleanup that takes all of it down again. Needs root; a script exits 77 (skipped) without it.
# Before sourcing, set app_exe, driver_exe and fault_name.
set -uo pipefail
fault_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$fault_root/scripts/wine_env.sh"

for tool in ip python3 xdotool import convert Xvfb; do
  command -v "$tool" >/dev/null || { echo "skipped: needs $tool"; exit 77; }
done
[ "$(id -u)" -eq 0 ] || { echo "skipped: needs root for network namespaces and mounts"; exit 77; }

ns=qf-$$
peer=qf-peer-$$
work=$(mktemp -d "/tmp/quintrel-$fault_name.XXXXXX")
export WINEPREFIX=$work/prefix
app_pid=
helper_pids=()
mounts=()
failures=0

fault_cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  for pid in "${helper_pids[@]}"; do kill "$pid" 2>/dev/null; done
  # The wineserver was started inside the namespace; it must not outlive it.
  "$WINESERVER" -k >/dev/null 2>&1
  for pid in "${helper_pids[@]}"; do wait "$pid" 2>/dev/null; done
  # A helper started through a shell function leaves its real process behind in the namespace.
  for n in "$ns" "$peer"; do ip netns pids "$n" 2>/dev/null | xargs -r kill 2>/dev/null; done
  ip netns del "$ns" 2>/dev/null
  ip netns del "$peer" 2>/dev/null
  for m in "${mounts[@]}"; do umount -l "$m" 2>/dev/null; done
  stop_xvfb
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap fault_cleanup EXIT
# A timeout's signal ends the script through the cleanup too.
trap 'exit 143' TERM INT

pass() { echo "PASS: $*"; }
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
check() {  # check "description" command...
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
abort() {
  echo "FAIL: $* (cannot go on)"
  exit 1
}
finish() {
  echo
  if [ "$failures" -eq 0 ]; then
    echo "$fault_name: all checks passed"
    exit 0
  fi
  echo "$fault_name: $failures check(s) failed"
  exit 1
}

in_ns() { ip netns exec "$ns" "$@"; }
in_peer() { ip netns exec "$peer" "$@"; }
drv() { in_ns "$WINE64" "$driver_exe" "$@" 2>/dev/null | tr -d '\r'; }
# The value of key=value in the driver's output.
field() { sed -n "s/^$2=//p" <<<"$1" | head -1; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
sleep_until() {  # sleep_until <ms since run_start>
  local left=$((${1} - ($(now_ms) - run_start)))
  [ "$left" -gt 0 ] && sleep "$(printf '%d.%03d' $((left / 1000)) $((left % 1000)))"
  return 0
}
shot() {
  local file=$work/shots/$1.png
  mkdir -p "$work/shots"
  import -window root "$file"
  [ -n "${shots_dir:-}" ] && mkdir -p "$shots_dir" && cp "$file" "$shots_dir/"
  echo "$file"
}

make_namespaces() {
  ip netns add "$ns" || abort "cannot add namespace $ns"
  ip netns add "$peer" || abort "cannot add namespace $peer"
  for n in "$ns" "$peer"; do
    # Without IPv6, and with fixed neighbours, the links carry nothing but the test's datagrams.
    ip netns exec "$n" sysctl -q -w net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1
    ip netns exec "$n" ip link set lo up
  done
}

# make_link name peer-name subnet-number [mtu]: name in the program's namespace at 10.241.N.1, its
# peer at 10.241.N.2.
make_link() {
  local name=$1 other=$2 n=$3 mtu=${4:-1500}
  in_ns ip link add name "$name" mtu "$mtu" type veth peer name "$other" mtu "$mtu" netns "$peer" || return 1
  in_ns ip addr add "10.241.$n.1/24" dev "$name"
  in_peer ip addr add "10.241.$n.2/24" dev "$other"
  in_ns ip link set "$name" up
  in_peer ip link set "$other" up
  in_ns ip neigh replace "10.241.$n.2" lladdr "$(in_peer cat "/sys/class/net/$other/address")" dev "$name" nud permanent
  in_peer ip neigh replace "10.241.$n.1" lladdr "$(in_ns cat "/sys/class/net/$name/address")" dev "$other" nud permanent
}
counter() { in_ns cat "/sys/class/net/$1/statistics/$2"; }

# Datagram sinks on both sides and a paced sender: traffic.py send DEST PORT BYTES RATE [DATAGRAM].
start_traffic_helpers() {
  cat >"$work/traffic.py" <<'EOF'
import socket, sys, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
if sys.argv[1] == "sink":
    s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 1 << 20)
    s.bind(("0.0.0.0", int(sys.argv[2])))
    print("ready", flush=True)
    while True:
        s.recv(65536)
dest, port, total, rate = sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), float(sys.argv[5])
size = int(sys.argv[6]) if len(sys.argv) > 6 else 1000
payload = b"q" * size
sent, start = 0, time.monotonic()
while sent < total:
    n = min(size, total - sent)
    s.sendto(payload[:n], (dest, port))
    sent += n
    delay = start + sent / rate - time.monotonic()
    if delay > 0.002:
        time.sleep(delay)
print("sent", sent, "in", round(time.monotonic() - start, 2), flush=True)
EOF
  in_ns python3 "$work/traffic.py" sink 9100 >"$work/sink-ns.log" 2>&1 &
  helper_pids+=($!)
  in_peer python3 "$work/traffic.py" sink 9100 >"$work/sink-peer.log" 2>&1 &
  helper_pids+=($!)
  for _ in $(seq 50); do
    grep -q ready "$work/sink-ns.log" && grep -q ready "$work/sink-peer.log" && return 0
    sleep 0.1
  done
  return 1
}
send_to_program() { in_peer python3 "$work/traffic.py" send "10.241.$1.1" 9100 "${@:2}" >>"$work/send.log" 2>&1; }
send_from_program() { in_ns python3 "$work/traffic.py" send "10.241.$1.2" 9100 "${@:2}" >>"$work/send.log" 2>&1; }

# A fresh prefix whose wineserver lists the namespace's interfaces.
make_prefix() {
  mkdir -p "$WINEPREFIX"
  in_ns "$WINE64" wineboot -i >/dev/null 2>&1
  in_ns "$WINESERVER" -w
  local user_dir
  user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)
  [ -n "$user_dir" ] || return 1
  profile=$user_dir/AppData/Roaming/Quintrel/Quintrel.ini
}
interface_row() { field "$(drv if-row "$1")" row; }

start_app() {  # start_app working-dir
  (cd "$1" && exec ip netns exec "$ns" "$WINE64" "$app_exe" >"$work/wine-app.log" 2>&1) &
  app_pid=$!
}
wait_app() {  # wait_app: the program's exit code
  local status
  wait "$app_pid"
  status=$?
  app_pid=
  return "$status"
}
app_running() { [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null && drv main 2000 >/dev/null; }
# Exit through the menu command; the program's exit code.
exit_app() {
  drv command 537 >/dev/null
  wait_app
}

# The tray icon's tooltip, read while the pointer rests on the icon: "<received> <sent>" in KB/s.
hover_tray_icon() {
  local tray w h
  tray=$(drv tray 5000)
  icon_x=$(field "$tray" icon0_x) icon_y=$(field "$tray" icon0_y)
  w=$(field "$tray" icon0_w) h=$(field "$tray" icon0_h)
  [ -n "$icon_x" ] && [ -n "$w" ] || return 1
  xdotool mousemove $((icon_x + w / 2 - 2)) $((icon_y + h / 2 - 2))
  sleep 0.2
  xdotool mousemove $((icon_x + w / 2)) $((icon_y + h / 2))
  sleep 1.2
}
tray_rates() {
  local tip
  tip=$(field "$(drv tooltips)" tooltip0_text)
  sed -nE 's/^([0-9]+\.[0-9]{2}) KB\/s received  ([0-9]+\.[0-9]{2}) KB\/s sent$/\1 \2/p' <<<"$tip"
}

start_xvfb || abort "no virtual screen"
