#!/usr/bin/env bash
# Damaged and unwritable profiles, with the real program under Wine: text for numbers, huge and
# negative numbers, no "Last Settings" section, binary junk, a profile folder that is a file, and a
# read-only profile folder. Each time the program starts with safe values and no message, shows the
# values it took in the Configure group (written when Configure is closed with Escape) and in the
# exit group (menu command 537), and keeps every other key and line the user had.
# Usage: damaged_profile.sh wine-loader Quintrel.exe qdriver.exe [screenshot-folder].
# Needs root; exit 77 means skipped.
set -uo pipefail
. "$(dirname "$0")/../lib/scripted.sh"
wine=$1 app_exe=$2 driver_exe=$3
require root ip python3 xdotool import convert Xvfb
require_loader
begin damaged_profile
screenshots_in "${4:-$work/shots}"
start_screen

screen_w=1024 screen_h=768

# The value of key in the "Last Settings" section of the profile (first occurrence).
value() {
  tr -d '\r' <"$profile" | awk -v key="$1" '
    /^\[/ { inside = ($0 == "[Last Settings]") }
    inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }'
}
expect_values() {  # expect_values key=value...
  local pair key bad=
  for pair in "$@"; do
    key=${pair%%=*}
    [ "$(value "$key")" = "${pair#*=}" ] || bad="$bad $key=$(value "$key") (wanted ${pair#*=})"
  done
  if [ -z "$bad" ]; then pass "the profile holds $*"; else fail "the profile holds$bad"; fi
}
expect_within() {  # expect_within key low high
  local v
  v=$(value "$1")
  check "$1=$v lies within $2..$3" awk -v v="$v" -v lo="$2" -v hi="$3" \
    'BEGIN { exit !(v ~ /^-?[0-9]+$/ && v + 0 >= lo && v + 0 <= hi) }'
}
has_line() { tr -d '\r' <"$profile" | grep -qxF -- "$1"; }

visible_configure() { xdotool search --onlyvisible --name '^Configure$' 2>/dev/null | head -1; }

# Opens Configure from the menu and closes it with Escape, which writes the Configure group.
configure_and_escape() {
  local win= X Y WIDTH HEIGHT SCREEN WINDOW
  drv command 534 >/dev/null
  for _ in $(seq 50); do
    win=$(visible_configure)
    [ -n "$win" ] && break
    sleep 0.1
  done
  [ -n "$win" ] || return 1
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$win")"
  shot "configure-$case" >/dev/null
  # A click on the dialog's empty lower left corner gives it the keyboard.
  xdotool mousemove $((X + 8)) $((Y + HEIGHT - 8)) click 1
  sleep 0.3
  xdotool key Escape
  for _ in $(seq 50); do
    [ -z "$(visible_configure)" ] && return 0
    sleep 0.1
  done
  return 1
}

# run_case name: starts the program on the profile as it stands, checks what it shows, closes
# Configure with Escape and exits; leaves the window's place and flags in win_*.
run_case() {
  case=$1
  echo "== $case"
  start_app "$work/run"
  read_main 20000 || abort "the main window never showed: $(app_output)"
  win_topmost=$(field "$main" topmost) win_visible=$(field "$main" visible)
  echo "  window at ($win_x,$win_y) ${win_w}x$win_h, visible $win_visible, topmost $win_topmost"
  sleep 1.5
  check "$case: the program starts without a message" drv no-msgbox
  check "$case: the whole window lies on the screen" test "$win_x" -ge 0 -a "$win_y" -ge 0 \
    -a $((win_x + win_w)) -le "$screen_w" -a $((win_y + win_h)) -le "$screen_h" -a "$win_w,$win_h" = 180,120
  shot "$case" >/dev/null
  check "$case: Configure opens and closes with Escape" configure_and_escape
  check "$case: still no message" drv no-msgbox
  exit_app
  local code=$?
  check "$case: Exit ends the program with code 0 (code $code)" test "$code" = 0
}

echo "== setting up: namespaces, link qf0, Wine prefix"
make_namespaces
make_link qf0 qp0 0 || abort "cannot make qf0"
make_prefix plain
row=$(interface_row qf0)
[ "$row" = 1 ] || abort "Wine lists qf0 as row '$row', not after lo: $(drv if-list)"
folder=$(dirname "$profile")
mkdir -p "$folder" "$work/run"

printf '; kept by hand\r\n[Last Settings]\r\nrefr=abc\r\ngrst=normal\r\nx_pos=left\r\ny_pos=12abc\r\nontop=yes\r\nminm=no\r\nr_sel=three\r\ns_sel=2\r\nkb=ten\r\nmir=0x10\r\ncomb_sel=first\r\nautoscale=on\r\ntraySeparateScaleEnabled=true\r\ntrayScaleValue=big\r\nit1def=four\r\nit2max=77\r\nDeviceSpeedIndex1=z\r\neth=one\r\n[Other]\r\nfoo=bar\r\n' >"$profile"
run_case text-for-numbers
check "text: the window takes the default place (0,0), shown and on top" \
  test "$win_x,$win_y,$win_visible,$win_topmost" = "0,0,1,1"
expect_values refr=200 grst=1 kb=10 mir=0 comb_sel=0 autoscale=0 traySeparateScaleEnabled=0 trayScaleValue=16 \
  it1def=4 eth=0 x_pos=0 y_pos=0 r_sel=0 ontop=1 minm=0
expect_values s_sel=2 it2max=77 DeviceSpeedIndex1=z
check "text: the comment and the other section are kept" has_line "; kept by hand"
check "text: foo=bar of [Other] is kept" has_line "foo=bar"

printf '[Last Settings]\r\neth=1\r\nrefr=99999999999\r\ngrst=-1\r\nx_pos=2147483647\r\ny_pos=-2147483648\r\nontop=0\r\nr_sel=4\r\ns_sel=2147483647\r\nkb=-99999999999\r\ncomb_sel=999\r\ntrayScaleValue=-16\r\nit3bandd=0\r\nit3bandu=-1\r\nit4def=2147483647\r\nit5min=-2147483648\r\nDeviceSpeedIndex0=99\r\nDeviceSpeedIndex1=2\r\n' >"$profile"
run_case huge-and-negative
check "huge: a place far off the screen is pulled onto it ($win_x,$win_y), not on top as stored" \
  test "$win_x,$win_y,$win_topmost" = "$((screen_w - 180)),0,0"
expect_values refr=200 grst=1 eth=1 x_pos=$((screen_w - 180)) y_pos=0 ontop=0 kb=-2147483648
expect_within comb_sel 0 5
expect_within trayScaleValue 1 256
expect_values it3bandd=0 it3bandu=-1 it4def=2147483647 it5min=-2147483648 DeviceSpeedIndex0=99 DeviceSpeedIndex1=2

printf 'x_pos=300\r\ny_pos=200\r\n[Last_Settings]\r\nrefr=500\r\n[Other]\r\nfoo=bar\r\n' >"$profile"
run_case no-section
check "no section: default place" test "$win_x,$win_y" = "0,0"
expect_values refr=200 x_pos=0 y_pos=0
check "no section: the keys outside it are kept" has_line "x_pos=300"
check "no section: the look-alike section is kept" has_line "[Last_Settings]"
check "no section: and its key" has_line "refr=500"

python3 - "$profile" "$work/junk" <<'EOF'
import random, sys
random.seed(7)
# Any byte but line ends, brackets, "=" and NUL; no byte-order mark at the start.
allowed = [b for b in range(1, 256) if b not in b"\r\n[]=;" and b not in (0xEF, 0xFE, 0xFF)]
junk = lambda n: bytes(random.choice(allowed) for _ in range(n))
first, second = junk(300), junk(200)
open(sys.argv[2], "wb").write(first)
open(sys.argv[1], "wb").write(first + b"\r\n[Last Settings]\r\nx_pos=300\r\ny_pos=200\r\nit2max=77\r\n" + second +
                              b"\r\nrefr=750\r\n")
EOF
run_case binary-junk
check "junk: the readable keys are read ($win_x,$win_y)" test "$win_x,$win_y" = "300,200"
expect_values refr=750 it2max=77 x_pos=300 y_pos=200
check "junk: the junk before the section is kept byte for byte" cmp -s -n 300 "$profile" "$work/junk"

rm -rf "$folder"
printf 'not a folder\n' >"$folder"
run_case folder-is-a-file
check "file: default place" test "$win_x,$win_y" = "0,0"
check "file: the file in the folder's place is untouched" test "$(cat "$folder")" = "not a folder"
check "file: no profile was written anywhere else" test -z "$(find "$WINEPREFIX" -iname Quintrel.ini)"

rm -f "$folder"
mkdir -p "$folder"
printf '[Last Settings]\r\nx_pos=300\r\ny_pos=200\r\nontop=0\r\nr_sel=3\r\nrefr=750\r\n' >"$profile"
cp "$profile" "$work/read-only.ini"
# Wine's server opens the profile, so it is started again after the mount to see it.
"$WINESERVER" -k >/dev/null 2>&1
mount --bind "$folder" "$folder" && mount -o remount,ro,bind "$folder" || abort "cannot mount the folder read-only"
mounts+=("$folder")
run_case read-only-folder
check "read-only: the stored place and flags are used" test "$win_x,$win_y,$win_topmost" = "300,200,0"
check "read-only: the profile is unchanged" cmp -s "$profile" "$work/read-only.ini"
finish
