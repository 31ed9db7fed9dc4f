#!/usr/bin/env bash
# Builds a network namespace with a dozen oddly named veth interfaces (their peers in a second
# namespace, one of them answering UDP datagrams), then runs the NamespaceDiscovery tests inside it.
# Usage: namespace_discovery.sh wine-loader path/to/quintrel_win_tests.exe. Needs root; exit 77 means
# skipped.
set -uo pipefail
. "$(dirname "$0")/../lib/scripted.sh"
wine=$1
tests_exe=$2
require root ip python3
require_loader
begin namespace_discovery

subnet=10.231
# Dots, parentheses, a hash: all allowed in Linux interface names (at most 15 bytes; a "%" is taken
# as a numbering template).
names=(qv0 "q.v1" "q(v2)" "q.v(3)" "qv-4" "qv_5" "q.v.6" "(q7)" "qv8)" "q#9" "qv10" "qv.11" "q(v)12")
traffic_index=2
answer_port=9999
# The answers are shorter than the datagrams, so that sent and received traffic differ.
answer_size=100

make_namespaces
for i in "${!names[@]}"; do
  make_link "${names[$i]}" "p$i" "$i" || abort "cannot add veth '${names[$i]}'"
done
interfaces=$(in_ns ip -o link show | sed -E 's/^[0-9]+: ([^:@]+)[:@].*/\1/' | tr '\n' ' ')
echo "interfaces in $ns: $interfaces"
start_answering_peer "$traffic_index" "$answer_port" "$answer_size" ||
  abort "the answering peer did not start: $(cat "$work/answer.log")"

# Wine lists the interfaces of the namespace its wineserver runs in.
make_prefix plain
in_ns env QUINTREL_NETNS_INTERFACES="$interfaces" \
  QUINTREL_NETNS_TRAFFIC="${names[$traffic_index]} $(ns_address "$traffic_index") $(peer_address "$traffic_index") $answer_port $answer_size" \
  "$wine" "$tests_exe" --gtest_filter='NamespaceDiscovery.*' 2>&1 | tee "$work/gtest.log"
status=${PIPESTATUS[0]}

check "the NamespaceDiscovery tests pass (exit code $status)" test "$status" -eq 0
check "none of them is skipped" test -z "$(grep 'SKIPPED' "$work/gtest.log")"
check "both of them ran and passed" grep -q '\[  PASSED  \] 2 tests' "$work/gtest.log"
finish
