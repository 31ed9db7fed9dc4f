#!/usr/bin/env bash
# The monitored interface vanishes while the meter runs and comes back under the same name with a
# new index, as adapters do after sleep, docking or a VPN reconnect. The real program under Wine
# keeps running, shows no traffic while the link is gone, finds it again and counts on, and its
# minute line holds exactly the bytes the kernel counted, with no jump from the restarted counters.
# Usage: interface_outage.sh wine-loader Quintrel.exe qdriver.exe [screenshot-folder].
# Needs root; exit 77 means skipped.
set -uo pipefail
. "$(dirname "$0")/../lib/scripted.sh"
wine=$1 app_exe=$2 driver_exe=$3
require root ip python3 xdotool import convert Xvfb
require_loader
begin interface_outage
screenshots_in "${4:-$work/shots}"
start_screen

link=qf0
gone_for=8

rates_are() {  # rates_are <received-test> <sent-test>, each an awk condition on r or s
  local rates
  rates=$(tray_rates)
  echo "  tray tooltip: ${rates:-none} (received, sent KB/s)"
  [ -n "$rates" ] && awk -v r="${rates% *}" -v s="${rates#* }" "BEGIN { exit !($1 && $2) }"
}

echo "== setting up: namespaces, link $link, Wine prefix"
make_namespaces
make_link "$link" qp0 0 || abort "cannot make $link"
start_sinks || abort "the datagram sinks did not start"
make_prefix plain
row=$(interface_row "$link")
[ -n "$row" ] && [ "$row" -ge 0 ] || abort "Wine does not list $link: $(drv if-list)"
mkdir -p "$(dirname "$profile")" "$work/run"
printf '[Last Settings]\r\neth=%d\r\nx_pos=300\r\ny_pos=200\r\nr_sel=3\r\ns_sel=3\r\n' "$row" >"$profile"

echo "== the meter on $link (row $row)"
start_app "$work/run"
drv main 20000 >/dev/null || abort "the main window never showed: $(app_output)"
run_start=$(now_ms)
rx0=$(link_counter "$link" rx_bytes) tx0=$(link_counter "$link" tx_bytes)
old_index=$(in_ns cat "/sys/class/net/$link/ifindex")

sleep_until 2000
hover_tray_icon || fail "no tray icon"
send_to_program 0 400000 200000 &
receiving=$!
send_from_program 0 100000 50000
wait "$receiving"
check "traffic before the outage shows in the tray tooltip" rates_are "r > 100" "s > 20"
rx_a=$(link_counter "$link" rx_bytes) tx_a=$(link_counter "$link" tx_bytes)
# What an interface counted after the meter's last reading vanishes with it; let a reading pass.
sleep 1.5
in_ns ip link del "$link" || abort "cannot delete $link"
echo "== $link deleted"
sleep 3
check "the program keeps running while the interface is gone" app_running
check "it says nothing about it" drv no-msgbox
for i in 1 2 3; do
  check "while gone, no traffic is shown ($i)" rates_are "r == 0" "s == 0"
  sleep 1
done
shot outage-gone >/dev/null

sleep $((gone_for - 6))
make_link "$link" qp0 0 || abort "cannot make $link again"
new_index=$(in_ns cat "/sys/class/net/$link/ifindex")
check "$link came back with a new index ($old_index -> $new_index)" test "$new_index" != "$old_index"
rx_b0=$(link_counter "$link" rx_bytes) tx_b0=$(link_counter "$link" tx_bytes)
sleep 3
# Five seconds of traffic: the tip read two seconds in may first need the pointer to rest on the
# icon anew, which takes almost two seconds more.
send_to_program 0 1000000 200000 &
receiving=$!
send_from_program 0 250000 50000 &
sending=$!
sleep 2
check "traffic after the return shows again" rates_are "r > 100" "s > 20"
wait "$receiving" "$sending"
shot outage-back >/dev/null
rx_b1=$(link_counter "$link" rx_bytes) tx_b1=$(link_counter "$link" tx_bytes)
received=$((rx_a - rx0 + rx_b1 - rx_b0)) sent=$((tx_a - tx0 + tx_b1 - tx_b0))
echo "kernel counters: received $((rx_a - rx0)) + $((rx_b1 - rx_b0)), sent $((tx_a - tx0)) + $((tx_b1 - tx_b0))"

log=$work/run/${link}_Quintrel.csv
sleep_until 62000
line=$(sed -n 4p "$log" 2>/dev/null | tr -d '\r')
echo "log line: $line"
if [[ $line =~ ^[0-9]{4},([0-9]+,){6}([0-9]+),([0-9]+),$ ]]; then
  check "the minute line holds the bytes sent before and after the outage (${BASH_REMATCH[2]} of $sent)" \
    test "${BASH_REMATCH[2]}" = "$sent"
  check "and the bytes received, with no jump (${BASH_REMATCH[3]} of $received)" \
    test "${BASH_REMATCH[3]}" = "$received"
else
  fail "no minute line in the log of $link"
fi
check "the log of the row's interface goes on in its one file" test "$(ls "$work/run" | grep -c "^${link}_")" = 1
check "the program is still running a minute on" app_running
exit_app
code=$?
check "Exit ends it with code 0 (code $code)" test "$code" = 0
finish
