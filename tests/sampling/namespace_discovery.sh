#!/usr/bin/env bash
# Builds a network namespace with a dozen oddly named veth interfaces (their peers in a second
# namespace, one of them answering UDP datagrams), then runs the NamespaceDiscovery tests inside it.
# Usage: namespace_discovery.sh path/to/quintrel_win_tests.exe. Needs root; exit 77 means skipped.
set -uo pipefail
tests_exe=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/wine_env.sh"

if [ "$(id -u)" -ne 0 ] || ! command -v ip >/dev/null || ! command -v python3 >/dev/null; then
  echo "skipped: needs root, ip and python3"
  exit 77
fi

ns=quintrel-ns-$$
peer=quintrel-peer-$$
# Dots, parentheses, a hash: all allowed in Linux interface names (at most 15 bytes; a "%" is taken
# as a numbering template).
names=(qv0 "q.v1" "q(v2)" "q.v(3)" "qv-4" "qv_5" "q.v.6" "(q7)" "qv8)" "q#9" "qv10" "qv.11" "q(v)12")
traffic_index=2
answer_port=9999
# The answers are shorter than the datagrams, so that sent and received traffic differ.
answer_size=100
work=$(mktemp -d /tmp/quintrel-netns.XXXXXX)
own_prefix=
answer_pid=

cleanup() {
  [ -n "$answer_pid" ] && kill "$answer_pid" 2>/dev/null && wait "$answer_pid" 2>/dev/null
  # The wineserver started inside the namespace must not outlive it.
  "$WINESERVER" -k >/dev/null 2>&1
  # $! of the answering peer is the subshell that started it, not python: end every process left
  # in the namespaces, as a namespace outlives its deleted name while a process is in it.
  for n in "$ns" "$peer"; do
    ip netns pids "$n" 2>/dev/null | xargs -r kill 2>/dev/null
    ip netns del "$n" 2>/dev/null
  done
  [ -n "$own_prefix" ] && remove_wine_prefix
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "namespace_discovery: $*" >&2
  exit 1
}

in_ns() { ip netns exec "$ns" "$@"; }
in_peer() { ip netns exec "$peer" "$@"; }

if [ -z "${WINEPREFIX:-}" ]; then
  make_wine_prefix || fail "cannot make a wine prefix"
  own_prefix=1
fi

ip netns add "$ns" || fail "cannot add namespace $ns"
ip netns add "$peer" || fail "cannot add namespace $peer"
for n in "$ns" "$peer"; do
  # Without IPv6 the pairs carry nothing but the test's traffic and one address resolution.
  ip netns exec "$n" sysctl -q -w net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1
  ip netns exec "$n" ip link set lo up
done

for i in "${!names[@]}"; do
  name=${names[$i]}
  in_ns ip link add name "$name" type veth peer name "p$i" netns "$peer" || fail "cannot add veth '$name'"
  in_ns ip addr add "10.231.$i.1/24" dev "$name" || fail "cannot address '$name'"
  in_peer ip addr add "10.231.$i.2/24" dev "p$i" || fail "cannot address p$i"
  in_ns ip link set "$name" up
  in_peer ip link set "p$i" up
done

interfaces=$(in_ns ip -o link show | sed -E 's/^[0-9]+: ([^:@]+)[:@].*/\1/' | tr '\n' ' ')
echo "interfaces in $ns: $interfaces"

in_peer python3 -u -c '
import socket, sys
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind((sys.argv[1], int(sys.argv[2])))
print("ready")
while True:
    data, sender = s.recvfrom(65536)
    s.sendto(data[:int(sys.argv[3])], sender)
' "10.231.$traffic_index.2" "$answer_port" "$answer_size" >"$work/answer.log" 2>&1 &
answer_pid=$!
for _ in $(seq 50); do
  grep -q ready "$work/answer.log" && break
  sleep 0.1
done
grep -q ready "$work/answer.log" || fail "the answering peer did not start: $(cat "$work/answer.log")"

# Wine lists the interfaces of the namespace its wineserver runs in.
"$WINESERVER" -k >/dev/null 2>&1
in_ns env QUINTREL_NETNS_INTERFACES="$interfaces" \
  QUINTREL_NETNS_TRAFFIC="${names[$traffic_index]} 10.231.$traffic_index.1 10.231.$traffic_index.2 $answer_port $answer_size" \
  "$WINE64" "$tests_exe" --gtest_filter='NamespaceDiscovery.*' 2>&1 | tee "$work/gtest.log"
status=${PIPESTATUS[0]}
"$WINESERVER" -k >/dev/null 2>&1

[ "$status" -eq 0 ] || fail "the tests failed"
grep -q 'SKIPPED' "$work/gtest.log" && fail "a test was skipped"
grep -q '\[  PASSED  \] 2 tests' "$work/gtest.log" || fail "expected two passing tests"
echo "namespace_discovery: passed"
