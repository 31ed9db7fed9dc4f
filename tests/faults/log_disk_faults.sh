#!/usr/bin/env bash
# The traffic log under a full disk, a read-only and a deleted file, and more than 4 GiB in a
# minute, with the real program under Wine working in a 64 KiB tmpfs inside a network namespace:
#   minute 1: the disk is full, so the minute line is refused: the program says nothing, keeps the
#             earlier lines intact and holds the line back;
#   minute 2: the disk has room again and the log is read-only (chmod 444); 5 GB cross the link,
#             wrapping the 32-bit counters: the held-back line and this minute's line both arrive,
#             in order, through the open file, and the received amount is the kernel's, above 4 GiB;
#   minute 3: the log is deleted: the program keeps running and says nothing.
# Usage: log_disk_faults.sh wine-loader Quintrel.exe qdriver.exe [screenshot-folder].
# Needs root; exit 77 means skipped.
set -uo pipefail
. "$(dirname "$0")/../lib/scripted.sh"
wine=$1 app_exe=$2 driver_exe=$3
require root ip python3 xdotool import convert Xvfb
require_loader
begin log_disk_faults
screenshots_in "${4:-$work/shots}"
start_screen

link=qf0
big=5000000000
four_gib=4294967296

# When, in ms since run_start, a counter of the link first moves past the value given (5 s at most).
counting_starts() { # counting_starts link counter before
  for _ in $(seq 250); do
    [ "$(link_counter "$1" "$2")" != "$3" ] && { echo $(($(now_ms) - run_start)); return 0; }
    sleep 0.02
  done
  return 1
}

echo "== setting up: namespaces, link $link, Wine prefix, a 64 KiB working folder"
# Wine's server opens the files, so the folder is mounted before the server starts: it sees only
# the mounts that existed when its namespace was entered.
cwd=$work/cwd
mkdir -p "$cwd"
mount -t tmpfs -o size=64k tmpfs "$cwd" || abort "cannot mount a tmpfs"
mounts+=("$cwd")
make_namespaces
make_link "$link" qp0 0 65535 || abort "cannot make $link"
start_sinks || abort "the datagram sinks did not start"
make_prefix plain
row=$(interface_row "$link")
[ -n "$row" ] && [ "$row" -ge 0 ] || abort "Wine does not list $link: $(drv if-list)"
mkdir -p "$(dirname "$profile")"
printf '[Last Settings]\r\neth=%d\r\nx_pos=300\r\ny_pos=200\r\nr_sel=3\r\ns_sel=0\r\n' "$row" >"$profile"

log=$cwd/${link}_Quintrel.csv
# An earlier run's log of exactly one page, so that the next line needs room the disk lacks.
python3 - "$log" "$link" <<'EOF'
import sys
head = "Quintrel V1.33 Log file for interface: %s\r\nYear,Month,Day,DayOfWeek,Hour,Minute,Second,Bytes Sent,Bytes Received\r\n\r\n" % sys.argv[2]
text, minute = head, 0
while 4096 - len(text) > 80:
    text += "2025,1,6,1,10,%d,0,1000,2000,\r\n" % minute
    minute += 1
prefix = "2025,1,6,1,11,0,0,1000,"
digits = 4096 - len(text) - len(prefix) - 3
text += prefix + "9" * digits + ",\r\n"
open(sys.argv[1], "wb").write(text.encode())
EOF
cp "$log" "$work/earlier.csv"
dd if=/dev/zero of="$cwd/filler" bs=4k 2>/dev/null
check "the working folder is full ($(df --output=avail "$cwd" | tail -1 | tr -d ' ') KiB free)" \
  test "$(df --output=avail "$cwd" | tail -1 | tr -d ' ')" = 0

echo "== minute 1: the meter on $link (row $row), the disk full"
start_app "$cwd"
drv main 20000 >/dev/null || abort "the main window never showed: $(app_output)"
run_start=$(now_ms)
sleep 2
check "no message at start" drv no-msgbox
sleep_until 63000
check "a minute on, the program is running" app_running
check "it shows no message for the refused line" drv no-msgbox
check "the earlier lines are intact" cmp -s "$log" "$work/earlier.csv"

echo "== minute 2: room again, the log read-only, $big bytes across the link"
rm -f "$cwd/filler"
chmod 444 "$log"
hover_tray_icon || fail "no tray icon"
rx0=$(link_counter "$link" rx_bytes) tx0=$(link_counter "$link" tx_bytes)
rx_sent_at=$(now_ms)
send_to_program 0 "$big" 1000000000 65000 &
sender=$!
# The tooltip gives the last statistics second, whose ticks keep no fixed phase to the sender: the
# readings start two seconds after the link first counts the datagrams, so that each gives a second
# wholly inside the sending.
counting_from=$(counting_starts "$link" rx_bytes "$rx0") || abort "the link does not count the datagrams"
echo "  the link counts from $((counting_from - (rx_sent_at - run_start))) ms after the sender's start"
for i in 1 2 3; do
  sleep_until $((counting_from + 700 + 1300 * i))
  rates=$(tray_rates)
  echo "  tray tooltip: ${rates:-none} (received, sent KB/s)"
  check "the rate stays right while the counters wrap ($i)" awk -v r="${rates% *}" \
    'BEGIN { exit !(r > 500000 && r < 2000000) }'
done
wait "$sender"
sleep 2
rx1=$(link_counter "$link" rx_bytes) tx1=$(link_counter "$link" tx_bytes)
echo "kernel counters over the minute: received $((rx1 - rx0)), sent $((tx1 - tx0))"
if panel=$(shot total-received); then
  area=$(drv main 2000)
  convert "$panel" -crop "180x120+$(field "$area" x)+$(field "$area" y)" +repage -scale 300% \
    "$shots/total-received-window.png"
fi

sleep_until 123000
check "the program is running" app_running
check "no message came" drv no-msgbox
check "the earlier lines are still intact" cmp -s -n 4096 "$log" "$work/earlier.csv"
mapfile -t lines < <(tail -c +4097 "$log" | tr -d '\r')
echo "new lines: ${lines[*]}"
check "two whole lines follow them" test "${#lines[@]}" = 2
line_re='^([0-9]{4}),([0-9]+),([0-9]+),[0-6],([0-9]+),([0-9]+),([0-9]+),([0-9]+),([0-9]+),$'
seconds_of() { date -d "$(printf '%s-%s-%s %s:%s:%s' "${BASH_REMATCH[@]:1:6}")" +%s; }
if [[ ${lines[0]:-} =~ $line_re ]]; then
  first_at=$(seconds_of)
  check "the refused line kept its own time and its quiet minute (${BASH_REMATCH[7]},${BASH_REMATCH[8]})" \
    test "${BASH_REMATCH[7]},${BASH_REMATCH[8]}" = "0,0"
else
  fail "the first new line is malformed: '${lines[0]:-}'"
fi
if [[ ${lines[1]:-} =~ $line_re ]]; then
  gap=$(($(seconds_of) - ${first_at:-0}))
  check "the next line came a minute later ($gap s)" test "$gap" -ge 59 -a "$gap" -le 61
  check "it holds all $((rx1 - rx0)) bytes received (${BASH_REMATCH[8]}), more than 4 GiB" \
    test "${BASH_REMATCH[8]}" = "$((rx1 - rx0))" -a "${BASH_REMATCH[8]}" -gt "$four_gib"
  check "and the $((tx1 - tx0)) bytes sent (${BASH_REMATCH[7]})" test "${BASH_REMATCH[7]}" = "$((tx1 - tx0))"
else
  fail "the second new line is malformed: '${lines[1]:-}'"
fi

echo "== minute 3: the log deleted"
rm -f "$log"
sleep_until 183000
check "after a line went to the deleted log, the program is running" app_running
check "and shows no message" drv no-msgbox
check "no log file appeared, of this interface or of another one never watched" test -z "$(ls "$cwd")"
exit_app
code=$?
check "Exit ends it with code 0 (code $code)" test "$code" = 0
finish
