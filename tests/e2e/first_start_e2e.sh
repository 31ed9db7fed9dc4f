#!/usr/bin/env bash
# A first start on a machine with many interfaces, as a current Windows PC lists them: the loopback,
# a dozen idle links and one that carries traffic. With no profile the meter watches the busy link,
# and a log appears only for an interface that is watched: the busy one at start, another one when it
# is clicked in Configure.
# Usage: first_start_e2e.sh wine-loader Quintrel.exe qdriver.exe [screenshot-folder].
# Needs root; exit 77 means skipped.
set -uo pipefail
. "$(dirname "$0")/../lib/scripted.sh"
wine=$1 app_exe=$2 driver_exe=$3
require root ip xdotool import convert Xvfb python3
require_loader
begin first_start_e2e
screenshots_in "${4:-$PWD/first-start-screenshots}" fresh

# The busy link stands in the middle of the table, behind six idle ones.
idle_links=(qi0 qi1 qi2 qi3 qi4 qi5 qi6 qi7 qi8 qi9 qi10 qi11)
busy=qbusy busy_n=20
clicked=qi2
frame=1042 rate=20 count=1200  # 20 datagrams of 1000 bytes a second for a minute, both ways
payload=$((frame - 42))

# Green trace pixels above the received graph's zero row in the panel of a window at (x, y).
raised_green() { # raised_green shot x y
  pixels "$1" $(($2 + 10)) $(($3 + 11)) 160 100 | awk '$4 == 255 && $3 == 0 && $5 == 0 && $2 < 46 { n++ } END { print n + 0 }'
}
csv_files() { (cd "$run" && ls -- *_Quintrel.csv 2>/dev/null); }

echo "== setting up: screen, namespaces with lo, ${#idle_links[@]} idle links and $busy"
start_screen
make_namespaces
for i in "${!idle_links[@]}"; do
  make_link "${idle_links[$i]}" "qp$i" "$i" || abort "cannot make ${idle_links[$i]}"
  [ "$i" = 5 ] && { make_link "$busy" qpbusy "$busy_n" || abort "cannot make $busy"; }
done
start_sinks || abort "the datagram sinks did not start"
make_prefix plain
keep_shell_up
interfaces=$(drv if-list)
echo "$interfaces"
busy_row=$(interface_row "$busy") clicked_row=$(interface_row "$clicked")
[ -n "$busy_row" ] && [ -n "$clicked_row" ] || abort "Wine does not list the links"
check "the busy link is not the first row ($busy_row of $(field "$interfaces" count))" test "$busy_row" -gt 1
check "no profile yet" test ! -e "$profile"

# The busy link has counted traffic before the meter starts, and goes on carrying it.
send_to_program "$busy_n" 20000 20000
rx0=$(link_counter "$busy" rx_bytes) tx0=$(link_counter "$busy" tx_bytes)
send_to_program "$busy_n" $((count * payload)) $((rate * payload)) "$payload" &
helper_pids+=($!)
send_from_program "$busy_n" $((count * payload)) $((rate * payload)) "$payload" &
helper_pids+=($!)

echo "== the first start"
run=$work/run
mkdir -p "$run"
start_app "$run"
read_main 20000 || abort "the main window never showed: $(app_output)"
run_start=$(now_ms)
rx_start=$(link_counter "$busy" rx_bytes) tx_start=$(link_counter "$busy" tx_bytes)

sleep_until 5000
busy_shot=$(shot 01-first-start)
green=$(raised_green "$busy_shot" "$win_x" "$win_y")
check "the window shows the busy link's traffic ($green raised green pixels)" test "$green" -gt 30
check "it says nothing" drv no-msgbox
check "the only log is the watched link's ($(csv_files | tr '\n' ' '))" test "$(csv_files)" = "${busy}_Quintrel.csv"

sleep_until 63000
rx_end=$(link_counter "$busy" rx_bytes) tx_end=$(link_counter "$busy" tx_bytes)
log=$run/${busy}_Quintrel.csv
line=$(sed -n 4p "$log" 2>/dev/null | tr -d '\r')
echo "kernel: received $((rx_end - rx_start)) sent $((tx_end - tx_start)) since the start; log line: $line"
check "after the first minute there is exactly one log file" test "$(csv_files | wc -l)" = 1
if [[ $line =~ ^[0-9]{4},([0-9]+,){6}([0-9]+),([0-9]+),$ ]]; then
  # The line covers the 59 seconds after the first tick, which reads the counters a moment after the
  # window showed: it lies within what the kernel counted, and falls short of it by at most a second.
  for direction in "sent ${BASH_REMATCH[2]} $((tx_end - tx_start))" "received ${BASH_REMATCH[3]} $((rx_end - rx_start))"; do
    set -- $direction
    check "its line holds the bytes $1 on the link ($2 of $3)" \
      test "$2" -le "$3" -a "$2" -ge $(($3 - 2 * rate * frame))
  done
else
  fail "no minute line in $log"
fi

echo "== Configure: a click on another interface"
drv command 534 >/dev/null
dlg=$(drv dialog Configure 5000)
item=$(list_item "$dlg" "$clicked_row")
[ -n "$(field "$dlg" "c1005_item${item}_x")" ] || abort "Configure does not list $clicked: $dlg"
check "Configure shows the watched link selected" test "$(field "$dlg" c1005_sel)" = "$(list_item "$dlg" "$busy_row")"
x=$(($(field "$dlg" "c1005_item${item}_x") + 10)) y=$(($(field "$dlg" "c1005_item${item}_y") + 5))
xdotool mousemove "$x" "$y"
sleep 0.3
xdotool click 1
sleep 1
clicked_log=$run/${clicked}_Quintrel.csv
check "the click made $clicked's log, with its header only ($(grep -c '' "$clicked_log" 2>/dev/null) lines)" \
  test "$(head -1 "$clicked_log" 2>/dev/null | tr -d '\r')" = "Quintrel V1.33 Log file for interface: $clicked" \
  -a "$(grep -c '' "$clicked_log" 2>/dev/null)" = 3
check "no other interface got a file ($(csv_files | tr '\n' ' '))" test "$(csv_files | wc -l)" = 2
shot 02-configure >/dev/null
# Keys go to the window under the pointer: there is no window manager to hand out the focus.
xdotool mousemove $(($(field "$dlg" x) + $(field "$dlg" w) / 2)) $(($(field "$dlg" y) + $(field "$dlg" h) - 8))
sleep 0.3
xdotool key Escape
drv no-dialog Configure 5000 >/dev/null || fail "Configure did not close"
for _ in $(seq 30); do [ "$(profile_value eth)" = "$clicked_row" ] && break; sleep 0.1; done
check "closing Configure stores the interface now watched (eth=$(profile_value eth), row $clicked_row)" \
  test "$(profile_value eth)" = "$clicked_row"
exit_app
code=$?
check "Exit ends the program with code 0 (code $code)" test "$code" = 0
finish
