#!/usr/bin/env bash
# The meter as a user meets it: the real program under Wine on its own virtual screen, inside a
# network namespace whose veth links carry traffic the test sends, watched in screenshots and
# driven with real mouse clicks and keys.
# Usage: desktop_e2e.sh wine-loader Quintrel.exe qdriver.exe [screenshot-folder].
# Needs root; exit 77 means skipped.
set -uo pipefail
. "$(dirname "$0")/../lib/scripted.sh"
wine=$1 app_exe=$2 driver_exe=$3
background_bmp=$repo_root/res/background.bmp
require root ip xdotool import convert Xvfb python3 compare
require_loader
begin desktop_e2e
screenshots_in "${4:-$PWD/e2e-screenshots}" fresh

# The program's side of two links: the monitored one (its dot becomes a space in the log's file
# name) and another, with the peer's ends qp1 and qp0.
subnet=10.232
watched=qt.1 watched_n=1
other=qt0 other_n=0
start_x=200
start_y=150
# Traffic over the watched link, counted in Ethernet frames (14 + 20 IP + 8 UDP + payload bytes).
rx_frame=200 rx_rate=60 rx_count=2400  # 12000 B/s toward the program's side for 40 s
tx_frame=150 tx_rate=40 tx_count=1600  # 6000 B/s from it
payload() { echo $(($1 - 14 - 20 - 8)); }
# The graph's scale is the first preset's 4 kB/s, 80 bytes a pixel for each 200 ms tick, so the
# received trace stands 30 pixels high and the sent one 15. The tray's own scale, 16 KB/s, makes
# 1024 B/s a row: levels 11 and 5.

counter() { link_counter "$watched" "$1"; }

# The panel sits at client (9, 10), inside the window's 1-pixel border.
panel_x() { echo $((win_x + 1 + 9)); }
panel_y() { echo $((win_y + 1 + 10)); }

# Counts of the panel's colours: black, grid dots, yellow text, the green trace on its zero row and
# above it, the red trace on its zero row and above it, and the rightmost columns of the raised traces.
panel_census() {
  pixels "$1" "$(panel_x)" "$(panel_y)" 160 100 | awk '
    { x = $1; y = $2; r = $3; g = $4; b = $5 }
    r == 0 && g == 0 && b == 0 { black++ }
    r == 10 && g == 10 && b == 250 { dots++ }
    r > 200 && g > 200 && b < 120 { yellow++ }
    r == 0 && g == 255 && b == 0 { if (y == 49) green0++; else if (y < 46) { greenUp++; if (x > gx) gx = x } }
    r == 255 && g == 0 && b == 0 { if (y == 99) red0++; else if (y > 50 && y < 96) { redUp++; if (x > rx) rx = x } }
    END { printf "black=%d dots=%d yellow=%d green0=%d greenUp=%d greenRight=%d red0=%d redUp=%d redRight=%d\n",
                 black, dots, yellow, green0, greenUp, gx, red0, redUp, rx }'
}
census_value() { sed -nE "s/.*\b$2=([0-9]+).*/\1/p" <<<"$1"; }

# Width of the yellow text of a statistics line: the receive line at panel (2, 2), the send line at (2, 52).
line_width() {
  pixels "$1" $(($(panel_x) + 2)) $(($(panel_y) + $2)) 115 11 |
    awk '$3 > 200 && $4 > 200 && $5 < 120 { if ($1 + 1 > w) w = $1 + 1 } END { print w + 0 }'
}

# The window's client area against the background bitmap, the panel's rectangle left out or not.
frame_differences() {  # frame_differences shot with-panel(0/1)
  local mask="rectangle 9,10 168,109"
  convert "$1" -crop "178x118+$((win_x + 1))+$((win_y + 1))" +repage "$work/client.png"
  convert "$background_bmp" -crop 178x118+0+0 +repage "$work/expected.png"
  if [ "$2" = 0 ]; then
    convert "$work/client.png" -fill black -draw "$mask" "$work/client.png"
    convert "$work/expected.png" -fill black -draw "$mask" "$work/expected.png"
  fi
  compare -metric AE "$work/client.png" "$work/expected.png" null: 2>&1 | cut -d' ' -f1
}

# Rows from the bottom that the receive bar (column 7) and the send bar (column 9) light, the grid
# rows seen in column 7 where no bar covers them, and the non-black pixels.
tray_census() {
  convert "$1" -crop "24x24+$((icon_x - 4))+$((icon_y - 4))" +repage -scale 800% "$shots/$2.png"
  pixels "$1" "$icon_x" "$icon_y" 16 16 | awk '
    { row = 15 - $2; c = $3 "," $4 "," $5; if (c != "0,0,0") lit++ }
    $1 == 7 { left[row] = c }
    $1 == 9 { right[row] = c }
    END {
      g = 0; r = 0
      while (g < 16 && left[g] == "0,255,0") g++
      while (r < 16 && right[r] == "255,0,0") r++
      grid = (left[4] == "0,0,210") + (left[8] == "0,0,210") + (left[12] == "0,0,210")
      printf "green=%d red=%d grid=%d lit=%d\n", g, r, grid, lit
    }'
}

# The popup menu's check marks: for each group between separators, the item (0-based) of each mark.
# Separators are the grey lines at the menu's right edge; marks are dark pixels in its left margin.
menu_marks() {  # menu_marks shot x y w h
  pixels "$1" "$2" "$3" "$4" "$5" | awk -v w="$4" -v h="$5" '
    $1 == w - 6 && $2 > 2 && $2 < h - 3 && $3 == $4 && $4 == $5 && $3 > 100 && $3 < 200 { sep[$2] = 1 }
    $1 >= 2 && $1 <= 14 && $3 + $4 + $5 < 100 { mark[$2] = 1 }
    END {
      n = 0; bounds[0] = 0
      for (y = 0; y < h; y++) if (sep[y] && !sep[y - 1]) bounds[++n] = y
      bounds[++n] = h; groups = n
      # The items a group holds: two, seven, seven, then one, one and two.
      split("2 7 7 1 1 2", items, " ")
      out = ""
      for (y = 0; y < h; y++) {
        if (!mark[y] || mark[y - 1]) continue
        top = y; while (mark[y + 1]) y++
        c = (top + y) / 2
        for (k = 1; k < groups; k++) if (c > bounds[k - 1] && c < bounds[k]) break
        idx = int(items[k] * (c - bounds[k - 1]) / (bounds[k] - bounds[k - 1]))
        out = out " g" k "=" idx
      }
      printf "separators=%d%s\n", groups - 1, out
    }'
}

# ---------------------------------------------------------------------------------------------
echo "== setting up: screen, namespaces, Wine prefix"
start_screen
echo "screen $DISPLAY, screenshots in $shots"
make_namespaces
make_link "$other" qp0 "$other_n" || abort "cannot add $other"
make_link "$watched" qp1 "$watched_n" || abort "cannot add $watched"
start_sinks || abort "the datagram sinks did not start"
make_prefix plain
keep_shell_up
interfaces=$(drv if-list)
echo "$interfaces"
row=$(field "$(drv if-row "$watched")" row)
[ -n "$row" ] && [ "$row" -ge 0 ] || abort "Wine does not list $watched"
mkdir -p "$(dirname "$profile")"
printf '[Last Settings]\r\nx_pos=%d\r\ny_pos=%d\r\neth=%d\r\nontop=1\r\nminm=0\r\nr_sel=0\r\ns_sel=0\r\n%s\r\n%s\r\n' \
  "$start_x" "$start_y" "$row" traySeparateScaleEnabled=1 trayScaleValue=16 >"$profile"

# ---------------------------------------------------------------------------------------------
echo "== run 1: the meter on $watched (row $row) with traffic"
run1=$work/run1
mkdir -p "$run1"
start_app "$run1"
read_main 20000 || abort "the main window never showed: $(app_output)"
run_start=$(now_ms)
echo "$main"
check "the window opens at the stored place, 180 x 120 ($win_x,$win_y ${win_w}x$win_h)" \
  test "$win_x,$win_y,$win_w,$win_h" = "$start_x,$start_y,180,120"
check "the window is topmost" test "$(field "$main" topmost)" = 1
check "the window is a tool window without a taskbar button" \
  test "$(field "$main" toolwindow),$(field "$main" appwindow)" = "1,0"

sleep_until 2200
idle=$(shot 01-start-idle)
census=$(panel_census "$idle")
echo "idle panel: $census"
check "the frame around the panel is the background picture" test "$(frame_differences "$idle" 0)" = 0
check "the idle panel is black with the blue dot grid and yellow text" test \
  "$(census_value "$census" black)" -gt 10000 -a "$(census_value "$census" dots)" -gt 1500 \
  -a "$(census_value "$census" yellow)" -gt 100
check "idle traces lie flat on their zero rows" test "$(census_value "$census" green0)" -gt 150 \
  -a "$(census_value "$census" red0)" -gt 150 -a "$(census_value "$census" greenUp)" = 0 \
  -a "$(census_value "$census" redUp)" = 0
if tray_icon_place; then
  tray=$(tray_census "$idle" 01-tray-icon-idle)
  echo "idle tray icon at ($icon_x,$icon_y): $tray"
  check "one tray icon is shown" test "$icon_count" = 1
  check "the idle tray icon shows one green and one red row over the blue grid" \
    test "$tray" = "green=1 red=1 grid=3 lit=64"
else
  fail "the tray icon is not in Wine's tray"
fi

sleep_until 3000
rx_before=$(counter rx_bytes) tx_before=$(counter tx_bytes)
rx_size=$(payload "$rx_frame") tx_size=$(payload "$tx_frame")
send_to_program "$watched_n" $((rx_count * rx_size)) $((rx_rate * rx_size)) "$rx_size" &
rx_sender=$!
send_from_program "$watched_n" $((tx_count * tx_size)) $((tx_rate * tx_size)) "$tx_size" &
tx_sender=$!
helper_pids+=("$rx_sender" "$tx_sender")

sleep_until 10000
busy_a=$(shot 02-traffic-a)
sleep 1
busy_b=$(shot 02-traffic-b)
census_a=$(panel_census "$busy_a")
census_b=$(panel_census "$busy_b")
echo "busy panel: $census_a"
echo "a second on: $census_b"
check "the green receive trace rises with the traffic" test "$(census_value "$census_a" greenUp)" -gt 40
check "the red send trace rises with the traffic" test "$(census_value "$census_a" redUp)" -gt 30
check "the traces scroll: the raised part reaches further a second later" test \
  "$(census_value "$census_b" greenRight)" -gt "$(census_value "$census_a" greenRight)" \
  -a "$(census_value "$census_b" redRight)" -gt "$(census_value "$census_a" redRight)"
check "the frame stays the background picture" test "$(frame_differences "$busy_a" 0)" = 0
if [ -n "${icon_x:-}" ]; then
  tray=$(tray_census "$busy_b" 02-tray-icon-traffic)
  echo "busy tray icon: $tray"
  green=$(sed -nE 's/.*green=([0-9]+).*/\1/p' <<<"$tray")
  red=$(sed -nE 's/.*red=([0-9]+) .*/\1/p' <<<"$tray")
  # 12000 B/s lights rows 0-11, 6000 B/s rows 0-5; a late tick on a busy machine counts a little more.
  check "the tray bars rise with the traffic (receive $green rows, send $red rows)" \
    test "$green" -ge 11 -a "$green" -le 16 -a "$red" -ge 5 -a "$red" -le 9 -a "$green" -gt "$red"
  hover_tray_icon
  shot 03-tray-tooltip >/dev/null
  tip=$(field "$tooltips" tooltip0_text)
  echo "tooltip: $tip"
  if [[ $tip =~ ^([0-9]+\.[0-9]{2})\ KB/s\ received\ \ ([0-9]+\.[0-9]{2})\ KB/s\ sent$ ]]; then
    check "the tooltip gives both rates in KB/s ($tip)" awk -v r="${BASH_REMATCH[1]}" -v s="${BASH_REMATCH[2]}" \
      'BEGIN { exit !(r >= 11.0 && r <= 16.0 && s >= 5.5 && s <= 8.0 && r / s > 1.7 && r / s < 2.3) }'
  else
    fail "the tray tooltip reads '$tip'"
  fi
  xdotool mousemove 900 700
fi

# Widths of the two statistics lines while they show the current rates.
rate_rx_width=0 rate_tx_width=0
for i in 1 2 3; do
  sample=$(shot "04-rates-$i")
  w=$(line_width "$sample" 2) && [ "$w" -gt "$rate_rx_width" ] && rate_rx_width=$w
  w=$(line_width "$sample" 52) && [ "$w" -gt "$rate_tx_width" ] && rate_tx_width=$w
  sleep 0.4
done
echo "rate lines: receive $rate_rx_width px, send $rate_tx_width px wide"

if open_menu_on_window; then
  pass "a right click opens the popup menu"
  menu_shot=$(shot 05-menu)
  check "the menu opens 15 pixels right of and below the window's corner" \
    test "$menu_x,$menu_y" = "$((win_x + 15)),$((win_y + 15))"
  check "the menu holds its twenty-two rows (${menu_w}x$menu_h)" test "$menu_h" -gt 300 -a "$menu_w" -gt 80
  marks=$(menu_marks "$menu_shot" "$menu_x" "$menu_y" "$menu_w" "$menu_h")
  echo "menu marks: $marks"
  check "Always On Top, Current Receive and Current Send are checked" \
    test "$marks" = "separators=5 g1=0 g2=0 g3=0"
  # From no selection, eight steps down (the separator is skipped) reach "Total Received".
  xdotool key Down Down Down Down Down Down Down Down Return
  drv no-menu 3000 >/dev/null || fail "the menu stays open after Return"
  sleep 1.5
  total_width=9999
  for i in 1 2 3; do
    sample=$(shot "06-total-received-$i")
    w=$(line_width "$sample" 2) && [ "$w" -lt "$total_width" ] && total_width=$w
    sleep 0.4
  done
  check "Total Received replaces the rate by a longer total line ($rate_rx_width -> $total_width px)" \
    test "$total_width" -ge $((rate_rx_width + 10))
else
  fail "no popup menu after a right click on the window"
fi

if open_menu_on_window; then
  # Thirteen steps down reach the send group's "Last min. avg".
  xdotool key Down Down Down Down Down Down Down Down Down Down Down Down Down Return
  drv no-menu 3000 >/dev/null
  sleep 1.5
  avg_width=9999
  for i in 1 2 3; do
    sample=$(shot "07-send-minute-average-$i")
    w=$(line_width "$sample" 52) && [ "$w" -lt "$avg_width" ] && avg_width=$w
    sleep 0.4
  done
  check "Last min. avg of the send group replaces the sent rate ($rate_tx_width -> $avg_width px)" \
    test "$avg_width" -ge $((rate_tx_width + 10))
else
  fail "no popup menu for the send statistic"
fi

before=$(field "$(drv main 1000)" topmost)
if open_menu_on_window; then
  click_menu_row first
  drv no-menu 3000 >/dev/null
  sleep 0.5
  read_main 1000
  check "a click on Always On Top makes the window not topmost (topmost $before -> $(field "$main" topmost))" \
    test "$before,$(field "$main" topmost)" = "1,0"
  check "the window keeps its place and size" test "$win_x,$win_y,$win_w,$win_h" = "$start_x,$start_y,180,120"
else
  fail "no popup menu for Always On Top"
fi

# Dragging with the left button anywhere on the window moves it.
xdotool mousemove $((win_x + 90)) $((win_y + 60)) mousedown 1
sleep 0.3
for step in 1 2 3 4; do
  xdotool mousemove $((win_x + 90 + step * 10)) $((win_y + 60 + step * 15 / 2))
  sleep 0.15
done
xdotool mouseup 1
sleep 0.5
read_main 1000
check "dragging moves the window by (40, 30) to ($win_x,$win_y)" \
  test "$win_x,$win_y" = "$((start_x + 40)),$((start_y + 30))"
moved=$(shot 08-moved)
check "the moved window shows its frame" test "$(frame_differences "$moved" 0)" = 0

wait "$rx_sender" "$tx_sender"
sleep 0.5
rx_after=$(counter rx_bytes) tx_after=$(counter tx_bytes)
rx_delta=$((rx_after - rx_before)) tx_delta=$((tx_after - tx_before))
echo "kernel counters of $watched over the traffic: received $rx_delta, sent $tx_delta bytes"
check "the link carried exactly the test's datagrams" \
  test "$rx_delta,$tx_delta" = "$((rx_count * rx_frame)),$((tx_count * tx_frame))"
sleep 3
check "the link stays quiet after the traffic" test "$(counter rx_bytes),$(counter tx_bytes)" = "$rx_after,$tx_after"

log=$run1/${watched//./ }_Quintrel.csv
data_line=
while [ "$(($(now_ms) - run_start))" -lt 75000 ]; do
  if [ -f "$log" ] && [ "$(grep -c '' "$log")" -ge 4 ]; then
    seen_at=$(date +%s)
    data_line=$(sed -n 4p "$log")
    break
  fi
  sleep 0.5
done
header=$(printf 'Quintrel V1.33 Log file for interface: %s\r\nYear,Month,Day,DayOfWeek,Hour,Minute,Second,Bytes Sent,Bytes Received\r\n\r\n' "$watched")
check "the log '$(basename "$log")' starts with its header" test "$(head -c ${#header} "$log" 2>/dev/null)" = "$header"
check "the other link, never watched, has no log" test ! -e "$run1/${other}_Quintrel.csv"
echo "log line: ${data_line//$'\r'/\\r}"
if [[ $data_line =~ ^([0-9]{4}),([0-9]+),([0-9]+),([0-6]),([0-9]+),([0-9]+),([0-9]+),([0-9]+),([0-9]+),$'\r'$ ]]; then
  pass "a log line came within a minute of the start"
  logged=$(date -d "$(printf '%s-%s-%s %s:%s:%s' "${BASH_REMATCH[@]:1:3}" "${BASH_REMATCH[@]:5:3}")" +%s)
  check "its time is the local time it was written (weekday ${BASH_REMATCH[4]})" test \
    $((seen_at - logged)) -ge -1 -a $((seen_at - logged)) -le 2 -a "${BASH_REMATCH[4]}" = "$(date -d "@$logged" +%w)"
  check "it counts the bytes the kernel counted (sent ${BASH_REMATCH[8]} of $tx_delta, received ${BASH_REMATCH[9]} of $rx_delta)" \
    test "${BASH_REMATCH[8]},${BASH_REMATCH[9]}" = "$tx_delta,$rx_delta"
  check "it is the only line" test "$(grep -c '' "$log")" = 4
else
  fail "no well-formed log line in '$log' after 75 s"
fi

if open_menu_on_window; then
  marks=$(menu_marks "$(shot 09-menu-before-exit)" "$menu_x" "$menu_y" "$menu_w" "$menu_h")
  echo "menu marks: $marks"
  check "the menu now checks Total Received and the send Last min. avg, and not Always On Top" \
    test "$marks" = "separators=5 g2=3 g3=1"
  click_menu_row last
  wait_app
  code=$?
  check "Exit ends the program with code 0 (code $code)" test "$code" = 0
else
  fail "no popup menu for Exit"
  drv command 537 >/dev/null
  wait_app
fi
sleep 1
# Wine's tray also drops the icons of a window that is gone, so this sees what the user sees, but
# cannot tell whether the program deleted its icon itself.
tray=$(drv tray 2000)
check "the tray icon is gone after Exit (tray $(field "$tray" tray), icons $(field "$tray" icons))" \
  test -n "$(field "$tray" tray)" -a "$(field "$tray" tray)" != none -a "$(field "$tray" icons)" = 0
shot 10-after-exit >/dev/null
check_profile x_pos=$((start_x + 40)) y_pos=$((start_y + 30)) s_sel=1 r_sel=3 ontop=0 minm=0

# ---------------------------------------------------------------------------------------------
echo "== run 2: tray-only start, back by a double click on the tray icon"
sed -i 's/^minm=.*/minm=1\r/' "$profile"
run2=$work/run2
mkdir -p "$run2"
start_app "$run2"
read_main 20000 || abort "the main window never showed"
for _ in $(seq 50); do
  [ "$win_w,$win_h" = "0,0" ] && break
  sleep 0.1
  read_main 1000
done
check "with minm=1 the window is shown with no area at its place ($win_x,$win_y ${win_w}x$win_h)" \
  test "$win_x,$win_y,$win_w,$win_h,$(field "$main" visible)" = "$((start_x + 40)),$((start_y + 30)),0,0,1"
check "the zero-size window is topmost" test "$(field "$main" topmost)" = 1
sleep 1.5
tray_only=$(shot 11-tray-only)
check "nothing of the window can be seen" test "$(frame_differences "$tray_only" 1)" -gt 15000
if tray_icon_place && [ "$icon_count" = 1 ]; then
  pass "the tray icon is shown"
  xdotool mousemove $((icon_x + 8)) $((icon_y + 8))
  sleep 0.3
  xdotool click --repeat 2 --delay 80 1
  for _ in $(seq 30); do
    read_main 1000
    [ "$win_w" = 180 ] && break
    sleep 0.1
  done
  check "a double click on the tray icon brings back the 180 x 120 window at its place" \
    test "$win_x,$win_y,$win_w,$win_h" = "$((start_x + 40)),$((start_y + 30)),180,120"
  check "the window comes back not topmost, as stored" test "$(field "$main" topmost)" = 0
  sleep 1
  restored=$(shot 12-restored)
  check "the restored window shows its frame and panel" test "$(frame_differences "$restored" 0)" = 0 \
    -a "$(census_value "$(panel_census "$restored")" dots)" -gt 1500

  # A right click on the tray icon opens the same menu at the cursor.
  xdotool mousemove $((icon_x + 8)) $((icon_y + 8)) click 3
  menu=$(drv menu 5000)
  menu_x=$(field "$menu" x) menu_y=$(field "$menu" y) menu_w=$(field "$menu" w) menu_h=$(field "$menu" h)
  if [ -n "$menu_x" ]; then
    marks=$(menu_marks "$(shot 13-tray-menu)" "$menu_x" "$menu_y" "$menu_w" "$menu_h")
    check "a right click on the tray icon opens the menu at the cursor" \
      test "$menu_x,$menu_y" = "$((icon_x + 8)),$((icon_y + 8))"
    check "the stored selections come back checked, Always On Top not ($marks)" \
      test "$marks" = "separators=5 g2=3 g3=1"
    click_menu_row last
  else
    fail "no menu after a right click on the tray icon"
    drv command 537 >/dev/null
  fi
else
  fail "no tray icon in tray-only mode"
  drv command 537 >/dev/null
fi
wait_app
code=$?
check "Exit from the tray menu ends the program with code 0 (code $code)" test "$code" = 0
check_profile minm=0 ontop=0

# ---------------------------------------------------------------------------------------------
echo "== run 3: no IP helper library"
run3=$work/run3
mkdir -p "$run3"
start_app "$run3" "iphlpapi=d"
run_start=$(now_ms)
box=$(drv msgbox 20000)
check "the program says 'Unsupported OS!'" test "$(field "$box" text)" = "Unsupported OS!"
shot 14-unsupported-os >/dev/null
if [ -n "$(field "$box" box_x)" ]; then
  # Keys go to the window under the pointer: no window manager hands out the focus.
  xdotool mousemove $(($(field "$box" box_x) + $(field "$box" box_w) / 2)) \
    $(($(field "$box" box_y) + $(field "$box" box_h) / 2 - 5))
  sleep 0.5
  xdotool key Return
  answered="the Return key"
  sleep 1
  if ! drv no-msgbox >/dev/null; then
    xdotool mousemove $(($(field "$box" ok_x) + 10)) $(($(field "$box" ok_y) + 8)) click 1
    answered="a click on OK, as Return did not close it"
  fi
  sleep 1
  check "the box is answered by $answered and no other follows" drv no-msgbox
fi
read_main 5000
check "the idle window stands at its place, 180 x 120" \
  test "$win_x,$win_y,$win_w,$win_h" = "$((start_x + 40)),$((start_y + 30)),180,120"
sleep 2
idle=$(shot 15-idle-without-library)
check "the idle window shows only its background, no panel" test "$(frame_differences "$idle" 1)" = 0
if tray_icon_place; then
  tray=$(tray_census "$idle" 15-tray-icon-black)
  check "the tray icon stays black ($tray)" test "$tray" = "green=0 red=0 grid=0 lit=0"
  hover_tray_icon
  shot 16-no-tooltip >/dev/null
  check "the tray icon has no tooltip" test "$(field "$tooltips" tooltips)" = 0
  xdotool mousemove 900 700
else
  fail "no tray icon without the library"
fi
sleep_until 63000
check "no log file is written in a minute" test -z "$(ls "$run3")" -o "$(ls "$run3")" = wine.log
if open_menu_on_window; then
  click_menu_row last
else
  fail "no popup menu in the idle window"
  drv command 537 >/dev/null
fi
wait_app
code=$?
check "Exit ends the idle program with code 0 (code $code)" test "$code" = 0

finish
