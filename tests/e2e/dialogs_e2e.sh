#!/usr/bin/env bash
# The Configure, preset editor and About dialogs as a user works them: the real program under Wine on
# its own virtual screen, a fresh profile, every dialog opened from the popup menu and changed with
# real clicks, drags and keys, then checked through its controls, the profile on disk, a restart and
# screenshots.
# Usage: dialogs_e2e.sh wine-loader Quintrel.exe qdriver.exe [screenshot-folder].
# Needs root; exit 77 means skipped.
set -uo pipefail
. "$(dirname "$0")/../lib/scripted.sh"
wine=$1 app_exe=$2 driver_exe=$3
require root ip xdotool import convert Xvfb
require_loader
begin dialogs_e2e
screenshots_in "${4:-$PWD/dialog-screenshots}" fresh

# The program's side of two links as the desktop test has them: the monitored one and another.
subnet=10.232
watched=qt.1 watched_n=1
other=qt0 other_n=0

# Where the main window is dragged to: clear of Wine's tray at the top left and of the dialogs,
# which open at (100, 100).
home_x=620
home_y=560
# The presets' numbers as a fresh profile has them: min max def bandd bandu, presets 1 to 6.
preset_numbers=("1 6 4 5 5" "1 12 8 8 8" "1 20 16 16 16" "10 150 100 100 16" "100 600 300 600 600"
  "600 5000 2500 2500 2500")
preset_names=("Modem 5KB/s" "ISDN 1*B 8KB/s" "ISDN 2*B 16KB/s" "ADSL 100KB/s" "Other Med. Speed"
  "Other High Speed")
adsl=3

# The dialog of a caption and its controls' state, in $dlg; ctl <key> reads one value of it.
read_dialog() { # read_dialog caption [timeout-ms]
  dlg=$(drv dialog "$1" "${2:-5000}")
  [ "$(field "$dlg" dialog)" != none ] && [ -n "$(field "$dlg" dialog)" ]
}
ctl() { field "$dlg" "$1"; }
# The middle of a rectangle "<prefix>x/y/w/h" of $dlg.
middle_x() { echo $(($(ctl "${1}x") + $(ctl "${1}w") / 2)); }
middle_y() { echo $(($(ctl "${1}y") + $(ctl "${1}h") / 2)); }
click_at() { # click_at prefix: a left click in the middle of that rectangle
  xdotool mousemove "$(middle_x "$1")" "$(middle_y "$1")"
  sleep 0.2
  xdotool click 1
  sleep 0.4
}
# Checks "key=value ..." against $dlg, all in one line of the report.
check_controls() { # check_controls description key=value...
  local what=$1 pair bad=
  shift
  for pair in "$@"; do
    [ "$(ctl "${pair%%=*}")" = "${pair#*=}" ] || bad="$bad ${pair%%=*}='$(ctl "${pair%%=*}")' (wanted '${pair#*=}')"
  done
  if [ -z "$bad" ]; then pass "$what"; else fail "$what:$bad"; fi
}
# A screenshot of the screen and, beside it, of the dialog alone. With no window manager the focus
# follows the pointer, so the pointer rests on the dialog's margin for its caption to show active.
shoot_dialog() { # shoot_dialog name
  local full
  xdotool mousemove $(($(ctl x) + 6)) $(($(ctl y) + $(ctl h) - 6))
  sleep 0.5
  full=$(shot "$1-screen")
  convert "$full" -crop "$(ctl w)x$(ctl h)+$(ctl x)+$(ctl y)" +repage "$shots/$1.png"
  echo "screenshot: $shots/$1.png (the dialog is the foreground window: $(ctl foreground))"
}
# Keys go to the window under the pointer: there is no window manager to hand out the focus.
keys_on_dialog() { # keys_on_dialog key...
  xdotool mousemove $(($(ctl x) + $(ctl w) / 2)) $(($(ctl y) + $(ctl h) - 8))
  sleep 0.3
  xdotool key "$@"
}
# Drags a trackbar's thumb sideways by dx pixels.
drag_thumb() { # drag_thumb id dx
  local x y step
  x=$(middle_x "c$1_thumb_") y=$(middle_y "c$1_thumb_")
  xdotool mousemove "$x" "$y" mousedown 1
  sleep 0.2
  for step in 1 2 3 4; do
    xdotool mousemove $((x + $2 * step / 4)) "$y"
    sleep 0.1
  done
  xdotool mouseup 1
  sleep 0.4
}
open_setup() {
  open_menu_on_window || return 1
  # SETUP is the first of the two items between the third and the fourth separator, Usage... the second.
  click_menu_item 4 0 2 || return 1
  read_dialog Configure
}

# The keys of the profile in file order, on one line.
profile_keys() { sed -n 's/^\([^=]*\)=.*/\1/p' "$profile" | tr -d '\r' | tr '\n' ' ' | sed 's/ $//'; }
# The interface's identity follows the scalars: Wine lists each interface's LUID.
configure_group_keys() {
  local k suffix keys="autoscale kb refr eth mir grst s_sel r_sel comb_sel traySeparateScaleEnabled trayScaleValue ethid"
  for k in 1 2 3 4 5 6; do
    for suffix in min max def bandd bandu; do keys="$keys it$k$suffix"; done
  done
  echo "$keys"
}
# key=value pairs of the six presets' numbers, preset 4's def replaced by $1.
preset_pairs() {
  local k suffix numbers i
  for k in 1 2 3 4 5 6; do
    read -ra numbers <<<"${preset_numbers[$((k - 1))]}"
    [ "$k" = 4 ] && numbers[2]=$1
    i=0
    for suffix in min max def bandd bandu; do
      echo "it$k$suffix=${numbers[$i]}"
      i=$((i + 1))
    done
  done
}
wait_for_profile_key() { # wait_for_profile_key key
  for _ in $(seq 30); do
    [ -f "$profile" ] && [ -n "$(profile_value "$1")" ] && return 0
    sleep 0.1
  done
  return 1
}

# The state a Configure dialog shows after the changes below, now or after a restart.
check_changed_configure() { # check_changed_configure when
  check_controls "$1: the refresh slider stands at 20 (0.4 s)" c1015_pos=20 "c1016_text=0.4  s"
  check_controls "$1: ADSL is the preset, its scale 10 to 150 at 150" c1019_sel=$adsl \
    "c1019_text=${preset_names[$adsl]}" c1008_min=10 c1008_max=150 c1008_pos=150 "c1009_text=150  KB/s."
  check_controls "$1: the separate tray scale is on at $tray_scale" c1032_check=1 c1012_enabled=1 \
    c1012_pos="$tray_scale" "c1034_text=$tray_scale KB/s" c1034_enabled=1
  check_controls "$1: AutoScale and Overlapped are checked, $watched selected" c1018_check=1 c1029_check=1 \
    c1010_check=0 c1011_check=0 c1005_sel="$(list_item "$dlg" "$row")"
}

# ---------------------------------------------------------------------------------------------
echo "== setting up: screen, namespaces, Wine prefix"
start_screen
echo "screen $DISPLAY, screenshots in $shots"
make_namespaces
make_link "$other" qp0 "$other_n" || abort "cannot add $other"
make_link "$watched" qp1 "$watched_n" || abort "cannot add $watched"
make_prefix desktop
keep_shell_up
interfaces=$(drv if-list)
echo "$interfaces"
row=$(field "$(drv if-row "$watched")" row)
[ -n "$row" ] && [ "$row" -ge 0 ] || abort "Wine does not list $watched"
mapfile -t descriptions < <(sed -n 's/^row[0-9]*: .* descr=//p' <<<"$interfaces")
[ -e "$profile" ] && abort "a fresh prefix already holds $profile"

# ---------------------------------------------------------------------------------------------
echo "== first start, with no profile"
run=$work/run
mkdir -p "$run"
start_app "$run"
read_main 20000 || abort "the main window never showed: $(app_output)"
# Wine's tray may cover the window's top; its lower part is free to drag.
xdotool mousemove $((win_x + 90)) $((win_y + 90)) mousedown 1
sleep 0.3
for step in 1 2 3 4; do
  xdotool mousemove $((win_x + 90 + (home_x - win_x) * step / 4)) $((win_y + 90 + (home_y - win_y) * step / 4))
  sleep 0.15
done
xdotool mouseup 1
sleep 0.5
read_main 2000
[ "$win_x,$win_y" = "$home_x,$home_y" ] || abort "the window could not be dragged to ($home_x,$home_y): at ($win_x,$win_y)"
check "the program writes no profile at its start" test ! -e "$profile"

echo "== Configure from the menu, as a fresh profile has it"
open_setup || abort "no Configure dialog after a right click on the window and a click on SETUP"
pass "a right click on the window and a click on SETUP open Configure"
shoot_dialog 01-configure-fresh
check_controls "Configure stands at (100, 100)" x=100 y=100
check_controls "the refresh slider stands at 14 of 1 to 100 and shows 0.2 s" c1015_pos=14 c1015_min=1 c1015_max=100 \
  "c1016_text=0.2  s"
check_controls "the preset list holds the six presets, the first chosen" c1019_count=6 c1019_sel=0 \
  "c1019_text=${preset_names[0]}" "c1019_item0=${preset_names[0]}" "c1019_item1=${preset_names[1]}" \
  "c1019_item2=${preset_names[2]}" "c1019_item3=${preset_names[3]}" "c1019_item4=${preset_names[4]}" \
  "c1019_item5=${preset_names[5]}"
check_controls "the graph scale is the first preset's: 1 to 6 at 4" c1008_min=1 c1008_max=6 c1008_pos=4 \
  "c1009_text=4  KB/s."
check_controls "the separate tray scale is off, its slider at 16 and greyed" c1032_check=0 c1012_enabled=0 \
  c1012_pos=16 c1012_min=1 c1012_max=256 "c1034_text=16 KB/s" c1034_enabled=0
check_controls "AutoScale is off, the style Normal" c1018_check=0 c1010_check=1 c1011_check=0 c1029_check=0
# "All links" first, then each of Wine's interfaces (every one a link of its own) in its row.
listed=(c1005_item0="All links" c1005_item0_data=-2)
for i in "${!descriptions[@]}"; do listed+=("c1005_item$((i + 1))=${descriptions[$i]}" "c1005_item$((i + 1))_data=$i"); done
# With no link that has counted traffic, a first start watches the first adapter, not the loopback.
first_adapter=0
for i in "${!descriptions[@]}"; do
  [ "${descriptions[$i]}" != lo ] && { first_adapter=$i; break; }
done
check_controls "the list shows All links and Wine's ${#descriptions[@]} interfaces, the first adapter selected" \
  c1005_count="$((${#descriptions[@]} + 1))" c1005_sel="$((first_adapter + 1))" "${listed[@]}"
check_controls "the Statistics button stays hidden, the others are shown" c1006_visible=0 c1_visible=1 \
  c1000_visible=1 c1005_visible=1 c1019_visible=1

echo "== changing everything with the mouse and the keyboard"
click_at "c1005_item$(list_item "$dlg" "$row")_"
read_dialog Configure
check_controls "a click on $watched selects it; its preset is the first" c1005_sel="$(list_item "$dlg" "$row")" \
  c1019_sel=0
xdotool mousemove $(($(ctl c1019_x) + $(ctl c1019_w) - 8)) "$(middle_y c1019_)" click 1
droplist=$(drv droplist 3000)
if [ -n "$(field "$droplist" "item${adsl}_x")" ]; then
  pass "a click on the combo box's arrow opens its list"
  shot 02-preset-list >/dev/null
  xdotool mousemove $(($(field "$droplist" "item${adsl}_x") + 30)) \
    $(($(field "$droplist" "item${adsl}_y") + $(field "$droplist" "item${adsl}_h") / 2))
  sleep 0.2
  xdotool click 1
  sleep 0.4
else
  fail "no list under the preset combo box after a click on its arrow"
fi
read_dialog Configure
check_controls "picking ADSL shows its scale, 10 to 150 at 100" c1019_sel=$adsl "c1019_text=${preset_names[$adsl]}" \
  c1008_min=10 c1008_max=150 c1008_pos=100 "c1009_text=100  KB/s."
check_profile "DeviceSpeedIndex$row=$adsl"

# Typed text in the combo's field picks no preset: the graph scale goes on with ADSL's.
xdotool mousemove $(($(ctl c1019_x) + 12)) "$(middle_y c1019_)" click 1
sleep 0.3
xdotool key Home shift+End
xdotool type --delay 40 "${preset_names[0]}"
sleep 0.3
read_dialog Configure
check "the name of another preset can be typed into the preset field ('$(ctl c1019_text)')" \
  test "$(ctl c1019_text)" = "${preset_names[0]}"
click_at c1008_thumb_
xdotool key End
sleep 0.4
read_dialog Configure
check_controls "typed text picked nothing: the slider moved ADSL, which the field shows again" c1019_sel=$adsl \
  "c1019_text=${preset_names[$adsl]}" c1008_max=150
check_profile "DeviceSpeedIndex$row=$adsl"
click_at c1015_thumb_
xdotool key Right Right Right Right Right Right
sleep 0.4
click_at c1032_
read_dialog Configure
check_controls "the graph scale's End key, six Right keys on the refresh slider" c1008_pos=150 \
  "c1009_text=150  KB/s." c1015_pos=20 "c1016_text=0.4  s"
check_controls "a click on Enable separate scale brings the tray slider to life" c1032_check=1 c1012_enabled=1 \
  c1034_enabled=1
drag_thumb 1012 60
click_at c1018_
click_at c1029_
read_dialog Configure
tray_scale=$(ctl c1012_pos)
check "dragging the tray slider's thumb right raises the tray scale (16 -> $tray_scale)" \
  test "$tray_scale" -gt 40 -a "$(ctl c1034_text)" = "$tray_scale KB/s"
check_changed_configure "after the changes"
shoot_dialog 03-configure-changed

echo "== the preset editor"
click_at c1000_
if read_dialog "Item parameters"; then
  pass "Edit opens the preset editor"
  shoot_dialog 04-preset-editor
  check_controls "the editor shows ADSL with the scale just set" "c1020_text=${preset_names[$adsl]}" \
    c1021_text=10 c1022_text=150 c1028_text=150 c1030_text=100 c1031_text=16
  click_at c1021_
  xdotool key End type x
  click_at c1_
  box=$(drv msgbox 3000)
  check "a letter in min and Ok: '$(field "$box" text)'" test "$(field "$box" text)" = "Min. illegal entry!"
  shot 05-min-refused >/dev/null
  if [ -n "$(field "$box" box_x)" ]; then
    xdotool mousemove $(($(field "$box" box_x) + $(field "$box" box_w) / 2)) \
      $(($(field "$box" box_y) + $(field "$box" box_h) / 2 - 5))
    sleep 0.3
    xdotool key Return
    sleep 0.8
    drv no-msgbox >/dev/null || xdotool mousemove $(($(field "$box" ok_x) + 10)) $(($(field "$box" ok_y) + 8)) click 1
    sleep 0.3
    check "the message is answered and no other follows" drv no-msgbox
  fi
  read_dialog "Item parameters" 2000
  check_controls "the editor stays open with the text as typed" c1021_text=10x
  click_at c2_
  check "Cancel closes the editor" drv no-dialog "Item parameters" 3000
else
  fail "no preset editor after a click on Edit"
fi
read_dialog Configure
check_controls "after Cancel the preset keeps its numbers" c1019_sel=$adsl "c1019_text=${preset_names[$adsl]}" \
  c1008_pos=150 c1008_min=10

echo "== Escape closes Configure and the profile takes the Configure group"
keys_on_dialog Escape
check "Escape closes Configure" drv no-dialog Configure 3000
wait_for_profile_key trayScaleValue
echo "profile: $(tr -d '\r' <"$profile" | tr '\n' ' ')"
keys_written="DeviceSpeedIndex$row $(configure_group_keys)"
check "the profile holds the preset index of $watched, then the Configure group in its order" \
  test "$(profile_keys)" = "$keys_written"
check_profile comb_sel=$adsl refr=400 "DeviceSpeedIndex$row=$adsl" eth="$row" autoscale=1 grst=2 \
  traySeparateScaleEnabled=1 trayScaleValue="$tray_scale" kb=10 mir=0 s_sel=0 r_sel=0
mapfile -t pairs < <(preset_pairs 150)
check_profile "${pairs[@]}"

if open_setup; then
  check_changed_configure "opened again"
  click_at c1_
  check "Apply and Exit closes Configure" drv no-dialog Configure 3000
else
  fail "Configure does not open a second time"
fi

echo "== About"
if open_menu_on_window && click_menu_item 6 0 2 && read_dialog "About quintrel"; then
  pass "a click on About opens the About box"
  sleep 0.5
  about_shot=$(shot 06-about-screen)
  shoot_dialog 06-about >/dev/null
  check_controls "the About box names the program and shows its two links" \
    "s1_text=Quintrel V1.35, 2003-X-14" c1025_visible=1 c1026_visible=1 c1_text=OK
  blue() { pixels "$about_shot" "$(ctl "${1}x")" "$(ctl "${1}y")" "$(ctl "${1}w")" "$(ctl "${1}h")" |
    awk '$3 == 0 && $4 == 0 && $5 == 255 { n++ } END { print n + 0 }'; }
  check "the link lines are blue ($(blue c1025_) and $(blue c1026_) blue pixels), the version line not ($(blue s1_))" \
    test "$(blue c1025_)" -gt 20 -a "$(blue c1026_)" -gt 20 -a "$(blue s1_)" = 0
  keys_on_dialog Return
  if drv no-dialog "About quintrel" 2000 >/dev/null; then
    pass "Return closes the About box"
  else
    read_dialog "About quintrel" 1000 && click_at c1_
    check "a click on OK closes the About box, as Return did not" drv no-dialog "About quintrel" 2000
  fi
else
  fail "no About box after a click on About"
fi

if open_menu_on_window; then
  click_menu_row last
else
  fail "no popup menu for Exit"
  drv command 537 >/dev/null
fi
wait_app
code=$?
check "Exit ends the program with code 0 (code $code)" test "$code" = 0
check_profile x_pos=$home_x y_pos=$home_y comb_sel=$adsl refr=400 trayScaleValue="$tray_scale"

# ---------------------------------------------------------------------------------------------
echo "== second start: Configure shows what the profile kept"
start_app "$run"
read_main 20000 || abort "the main window never showed again"
check "the window comes back where it was left" test "$win_x,$win_y" = "$home_x,$home_y"
if open_setup; then
  check_changed_configure "after a restart"
  shoot_dialog 07-configure-restored
  # The close box sits at the right end of the caption.
  xdotool mousemove $(($(ctl x) + $(ctl w) - 14)) $(($(ctl y) + 11))
  sleep 0.3
  xdotool click 1
  check "the caption's close box closes Configure" drv no-dialog Configure 3000
  sleep 0.5
  check "the profile keeps its keys and their order" \
    test "$(profile_keys)" = "$keys_written x_pos y_pos pxpos ontop minm"
  check_profile comb_sel=$adsl refr=400 "DeviceSpeedIndex$row=$adsl" eth="$row" autoscale=1 grst=2 \
    trayScaleValue="$tray_scale"
else
  fail "Configure does not open after the restart"
fi
if open_menu_on_window; then
  click_menu_row last
else
  drv command 537 >/dev/null
fi
wait_app
check "Exit ends the second run with code 0" test $? = 0

finish
