#!/usr/bin/env bash
# The right link on every machine, with the real program under Wine: the prefix's system folder holds
# an IP helper library whose interface table a file of the test's says (tests/tools/links), loaded in
# place of Wine's own for the program and the driver alone. Configure lists each adapter once, its
# name beside its description, and every row with "Show all"; the interface chosen there is found
# after its row moved and its index went to another adapter, and its log holds its own bytes only; a
# missing one is waited for without a message and watched as soon as it comes; "All links" logs the
# exact sum of the hardware links. Screenshots stay in the folder given.
# Usage: links_e2e.sh wine-loader Quintrel.exe qdriver.exe links_iphlpapi.dll [screenshot-folder].
# Needs root; exit 77 means skipped.
set -uo pipefail
. "$(dirname "$0")/../lib/scripted.sh"
wine=$1 app_exe=$2 driver_exe=$3 links_dll=$4
require root ip xdotool import convert Xvfb
require_loader
begin links_e2e
screenshots_in "${5:-$PWD/links-screenshots}" fresh

table=$work/links.txt
export QUINTREL_LINKS="Z:${table//\//\\}"
wifi_id=0047000001000000

# One interface a line: index|LUID|type|up|flags (h hardware, f filter row, r default route)|in|out|
# bits a second|description|alias. The counters of each are variables the test moves.
declare -A in out
link_line() { # link_line name index
  case $1 in
    lo) echo "$2|0018000000000000|24|up|-|${in[lo]}|${out[lo]}|1000000000|lo|Loopback Pseudo-Interface 1" ;;
    wired) echo "$2|0006000001000000|6|up|hr|${in[wired]}|${out[wired]}|1000000000|Wired Adapter|Ethernet" ;;
    wifi) echo "$2|$wifi_id|71|up|h|${in[wifi]}|${out[wifi]}|1000000000|Wireless Adapter|Wi-Fi" ;;
    qos) echo "$2|0047000002000000|71|up|f|${in[wifi]}|${out[wifi]}|1000000000|Wireless Adapter-QoS Packet Scheduler-0000|Wi-Fi-QoS" ;;
    wfp) echo "$2|0047000003000000|71|up|f|${in[wifi]}|${out[wifi]}|1000000000|Wireless Adapter-WFP Native MAC Layer LightWeight Filter-0000|" ;;
    vpn) echo "$2|0083000001000000|131|up|-|${in[vpn]}|${out[vpn]}|1000000000|Corporate VPN Tunnel|VPN" ;;
    dock) echo "$2|0006000002000000|6|up|h|${in[dock]}|${out[dock]}|1000000000|Docking Station NIC|Ethernet 2" ;;
    tether) echo "$2|0006000003000000|6|up|h|${in[tether]}|${out[tether]}|1000000000|USB Tethering Device|Ethernet 3" ;;
  esac
}
in=([lo]=5000 [wired]=400000 [wifi]=9000000 [vpn]=70000 [dock]=50000000 [tether]=80000000)
out=([lo]=5000 [wired]=40000 [wifi]=900000 [vpn]=7000 [dock]=5000000 [tether]=8000000)
# Writes the table, "name:index" a line in order, beside the file and moves it in place, so that the
# library never reads half of it; the library tells the program of the change.
write_table() { # write_table name:index...
  local link
  for link in "$@"; do link_line "${link%%:*}" "${link#*:}"; done >"$table.next"
  mv "$table.next" "$table"
}
grow() { # grow name received sent
  in[$1]=$((${in[$1]} + $2))
  out[$1]=$((${out[$1]} + $3))
}

read_dialog() { # read_dialog caption: its controls in $dlg
  dlg=$(drv dialog "$1" 5000)
  [ -n "$(field "$dlg" x)" ]
}
ctl() { field "$dlg" "$1"; }
click_middle() { # click_middle prefix-of-a-rectangle-in-$dlg
  xdotool mousemove $(($(ctl "${1}x") + $(ctl "${1}w") / 2)) $(($(ctl "${1}y") + $(ctl "${1}h") / 2))
  sleep 0.3
  xdotool click 1
  sleep 0.6
}
open_configure() {
  drv command 534 >/dev/null
  read_dialog Configure || abort "Configure does not open: $(app_output)"
}
# Escape on the dialog, the pointer on it: there is no window manager to hand out the focus.
close_configure() {
  xdotool mousemove $(($(ctl x) + $(ctl w) / 2)) $(($(ctl y) + $(ctl h) - 8))
  sleep 0.3
  xdotool key Escape
  drv no-dialog Configure 5000 >/dev/null || fail "Configure did not close"
}
shoot_configure() { # shoot_configure name
  xdotool mousemove $(($(ctl x) + 6)) $(($(ctl y) + $(ctl h) - 6))
  sleep 0.5
  convert "$(shot "$1-screen")" -crop "$(ctl w)x$(ctl h)+$(ctl x)+$(ctl y)" +repage "$shots/$1.png"
  echo "screenshot: $shots/$1.png"
}
# The texts of Configure's list, one "description | name beside" an item.
listed() {
  local i
  for ((i = 0; i < $(ctl c1005_count); i++)); do echo "$(ctl "c1005_item$i") | $(ctl "c1005_item${i}_beside")"; done
}
csv_files() { (cd "$run" && ls -- *_Quintrel.csv 2>/dev/null | tr '\n' ' '); }
# The first minute line of a log, once written: "sent received".
minute_line() { # minute_line file
  local line
  for _ in $(seq 400); do
    line=$(sed -n 4p "$1" 2>/dev/null | tr -d '\r')
    [[ $line =~ ^[0-9]{4},([0-9]+,){6}([0-9]+),([0-9]+),$ ]] && { echo "${BASH_REMATCH[2]} ${BASH_REMATCH[3]}"; return 0; }
    sleep 0.25
  done
  return 1
}
run_app() { # run_app folder
  run=$1
  mkdir -p "$run"
  start_app "$run"
  read_main 20000 || abort "the main window never showed: $(app_output)"
  run_start=$(now_ms)
}
profile_text() { sed -n "s/^$1=//p" "$profile" | tr -d '\r' | head -1; }

echo "== setting up: screen, namespace, prefix with the table's library as its IP helper"
start_screen
make_namespaces
make_prefix desktop
system_dir=$WINEPREFIX/drive_c/windows/system32
[ "$(basename "$wine")" = wine64 ] || system_dir=$WINEPREFIX/drive_c/windows/syswow64
cp "$links_dll" "$system_dir/iphlpapi.dll" || abort "cannot put the library in $system_dir"
for program in "$(basename "$app_exe")" "$(basename "$driver_exe")"; do
  in_ns "$wine" reg add "HKCU\\Software\\Wine\\AppDefaults\\$program\\DllOverrides" /v iphlpapi /d native /f \
    >/dev/null 2>&1 || abort "cannot set the library override for $program"
done
write_table lo:1 wired:7 wifi:9 qos:10 wfp:11 vpn:12
keep_shell_up
echo "$(drv if-list)"
[ "$(field "$(drv if-list)" count)" = 6 ] || abort "the driver does not read the test's table"

echo "== a first start: the default route's link; Configure lists each adapter once"
run_app "$work/run1"
sleep 3
check "with nothing stored, the default route's link is watched ($(csv_files))" test "$(csv_files)" = "Wired_Adapter_Quintrel.csv "
open_configure
shoot_configure 01-configure-each-adapter-once
echo "Configure lists:"; listed | sed 's/^/  /'
check "the list: All links, then the rows without the two filter rows" \
  test "$(listed | tr '\n' ';')" = "All links | ;lo | Loopback Pseudo-Interface 1;Wired Adapter | Ethernet;Wireless Adapter | Wi-Fi;Corporate VPN Tunnel | VPN;"
check "the entries hold All links (-2) and rows 0, 1, 2, 5" \
  test "$(ctl c1005_item0_data),$(ctl c1005_item1_data),$(ctl c1005_item2_data),$(ctl c1005_item3_data),$(ctl c1005_item4_data)" = "-2,0,1,2,5"
check "the watched row is selected" test "$(ctl c1005_sel)" = 2
check "Show all is there, unchecked" test "$(ctl c1035_visible),$(ctl c1035_check)" = "1,0"
click_middle c1035_
read_dialog Configure
shoot_configure 02-configure-show-all
check "Show all lists every row again ($(ctl c1005_count) entries, the filter rows as rows 3 and 4)" \
  test "$(ctl c1005_count),$(ctl c1005_item4),$(ctl c1005_item4_data),$(ctl c1005_item5_data)" = \
  "7,Wireless Adapter-QoS Packet Scheduler-0000,3,4"
click_middle c1005_item3_
read_dialog Configure
check "a click on the Wi-Fi adapter selects it" test "$(ctl c1005_sel)" = 3
close_configure
for _ in $(seq 30); do [ "$(profile_value eth)" = 2 ] && break; sleep 0.1; done
check "closing Configure stores the row and the identity (eth=$(profile_value eth) ethid=$(profile_text ethid))" \
  test "$(profile_value eth),$(profile_text ethid)" = "2,$wifi_id"
exit_app || fail "Exit did not end the program with code 0"

echo "== rows reordered, the Wi-Fi adapter's row and index handed to others"
# After a reboot the Wi-Fi adapter comes first under index 14; row 2 is the wired adapter now and
# index 9 the dock's, which carries far more.
write_table wifi:14 lo:1 wired:7 dock:9 qos:15 wfp:16 vpn:12
run_app "$work/run2"
sleep 8
grow wifi 3000000 300000
grow dock 700000000 70000000
grow wired 5000 500
write_table wifi:14 lo:1 wired:7 dock:9 qos:15 wfp:16 vpn:12
sleep 8
# While it runs, it moves to index 21, and index 14 goes to a tethered phone.
write_table lo:1 wired:7 dock:9 qos:15 wfp:16 vpn:12 wifi:21 tether:14
sleep 8
grow wifi 2000000 200000
grow tether 600000000 60000000
write_table lo:1 wired:7 dock:9 qos:15 wfp:16 vpn:12 wifi:21 tether:14
shot 03-reordered >/dev/null
check "the Wi-Fi adapter's log is the only one ($(csv_files))" test "$(csv_files)" = "Wireless_Adapter_Quintrel.csv "
check "no message box" drv no-msgbox
counted=$(minute_line "$run/Wireless_Adapter_Quintrel.csv")
echo "the first minute line: sent received = $counted"
check "its minute holds the Wi-Fi adapter's bytes alone, never the dock's or the phone's ($counted)" \
  test "$counted" = "500000 5000000"
open_configure
check "Configure shows it selected in its new row (row $(ctl "c1005_item$(ctl c1005_sel)_data"))" \
  test "$(ctl "c1005_item$(ctl c1005_sel)_data")" = 0
close_configure
check "closing Configure stores its new row and the same identity" \
  test "$(profile_value eth),$(profile_text ethid)" = "0,$wifi_id"
exit_app || fail "Exit did not end the program with code 0"

echo "== the Wi-Fi adapter missing at the start, then back"
write_table lo:1 wired:7 dock:9 vpn:12
run_app "$work/run3"
sleep 6
check "nothing is watched while it may still come: no log ($(csv_files))" test -z "$(csv_files)"
check "and no message box" drv no-msgbox
open_configure
shoot_configure 04-configure-missing
check "Configure shows the missing choice first, selected" \
  test "$(ctl c1005_item0),$(ctl c1005_item0_data),$(ctl c1005_sel)" = "Missing interface,-3,0"
close_configure
check "closing Configure keeps the stored choice (eth=$(profile_value eth) ethid=$(profile_text ethid))" \
  test "$(profile_value eth),$(profile_text ethid)" = "0,$wifi_id"
write_table lo:1 wired:7 dock:9 vpn:12 wifi:23
for _ in $(seq 40); do [ -n "$(csv_files)" ] && break; sleep 0.25; done
check "it is watched as soon as it comes, within 30 s of the start ($(csv_files) after $((($(now_ms) - run_start) / 1000)) s)" \
  test "$(csv_files)" = "Wireless_Adapter_Quintrel.csv " -a $(($(now_ms) - run_start)) -lt 30000
exit_app || fail "Exit did not end the program with code 0"

echo "== All links: the exact sum of the hardware links that are up"
write_table lo:1 wired:7 wifi:9 qos:10 wfp:11 vpn:12
run_app "$work/run4"
open_configure
click_middle c1005_item0_
close_configure
check "All links is stored as the row -2 and the identity \"all\"" \
  test "$(profile_value eth),$(profile_text ethid)" = "-2,all"
exit_app || fail "Exit did not end the program with code 0"
run_app "$work/run5"
sleep 8
# The adapters' and the filter rows' traffic, the loopback's and the tunnel's, which All links leaves out.
grow wired 1000000 100000
grow wifi 2000000 200000
grow lo 777 777
grow vpn 500000 50000
write_table lo:1 wired:7 wifi:9 qos:10 wfp:11 vpn:12
sleep 6
write_table lo:1 wired:7 wifi:9 qos:10 wfp:11 vpn:12 dock:17
sleep 6
grow dock 300000 30000
write_table lo:1 wired:7 wifi:9 qos:10 wfp:11 vpn:12 dock:17
shot 05-all-links >/dev/null
check "its log is All_links_Quintrel.csv ($(csv_files))" test "$(csv_files)" = "All_links_Quintrel.csv "
check "its header names All links" test "$(head -1 "$run/All_links_Quintrel.csv" | tr -d '\r')" = \
  "Quintrel V1.33 Log file for interface: All links"
counted=$(minute_line "$run/All_links_Quintrel.csv")
echo "the first minute line: sent received = $counted"
check "its minute holds the sum of the adapters, the dock's from its joining on ($counted)" \
  test "$counted" = "330000 3300000"
exit_app || fail "Exit did not end the program with code 0"
finish
