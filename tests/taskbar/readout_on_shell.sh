#!/usr/bin/env bash
# The taskbar readout on the real taskbar of Wine's shell desktop, at 96 and at 192 DPI: the test
# program's TaskbarReadoutOnShell test runs inside "wine explorer /desktop=shell,1024x768" and stops at
# each stage (dark theme, light theme, a taller taskbar after "TaskbarCreated") until this script has
# photographed the screen. Each photo must show the readout's own picture, pixel for pixel, where its
# window is: on the taskbar, clear of the Start button, left of the notification icons (a red icon the
# test adds), in the theme's colours, the longer "received" line above the "sent" one.
# Screenshots stay in the output folder as <dpi>-<stage>.png.
# Usage: readout_on_shell.sh wine-loader quintrel_win_tests.exe output-folder. Exit 77 means skipped.
set -uo pipefail
. "$(dirname "$0")/../lib/scripted.sh"
wine=$1
tests_exe=$2
require Xvfb import convert
require_loader
begin readout_on_shell
screenshots_in "$3" fresh
start_screen
make_wine_prefix "$WINEPREFIX"

set_dpi() { # set_dpi dpi: for the next Wine process, with the prefix's server stopped meanwhile
  local key
  "$WINESERVER" -k >/dev/null 2>&1
  "$WINESERVER" -w
  for key in 'HKCU\Control Panel\Desktop' 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    "$WINE64" reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 || abort "cannot set LogPixels"
  done
  "$WINESERVER" -w
}

# The value of a line "name value..." of a stage's facts.
fact() { sed -n "s/^$2 //p" "$1" | tr -d '\r'; }

# Checks one photographed stage against the facts the test wrote for it.
check_stage() { # check_stage dpi stage photo
  local facts=$stages/$2.txt what="$1 DPI, $2" x y w h tx ty tw th start text background found
  read -r x y w h <<<"$(fact "$facts" readout)"
  read -r tx ty tw th <<<"$(fact "$facts" taskbar)"
  start=$(fact "$facts" start_right) text=$(fact "$facts" text) background=$(fact "$facts" background)
  convert "$3" -crop "${w}x$h+$x+$y" +repage -depth 8 "rgb:$work/shown.rgb"
  check "$what: the screen shows the readout's picture at its place ($x,$y ${w}x$h)" \
    cmp -s "$work/shown.rgb" "$stages/$2.rgb"
  # Over the taskbar's band right of the Start button (whose icon has a pixel or two of any colour):
  # where the readout's background is, the notification icons' red, the text's colour inside the
  # readout, and the ink of its upper and lower line.
  found=$(pixels "$3" "$tx" "$ty" "$tw" "$th" | awk -v bg="$background" -v fg="$text" -v sx=$((start - tx)) \
    -v rx=$((x - tx)) -v ry=$((y - ty)) -v rw="$w" -v rh="$h" '
    BEGIN { left = 1e9; top = 1e9; right = -1; bottom = -1; red = 1e9; ul = ll = 1e9; ur = lr = -1 }
    {
      c = sprintf("%02X%02X%02X", $3, $4, $5)
      if ($1 < sx) next
      if (c == bg) {
        if ($1 < left) left = $1; if ($1 > right) right = $1
        if ($2 < top) top = $2; if ($2 > bottom) bottom = $2
      }
      if (c == "FF0000" && $1 < red) red = $1
      inside = $1 >= rx && $1 < rx + rw && $2 >= ry && $2 < ry + rh
      if (inside && c == fg) ink++
      if (inside && c != bg) {
        if ($2 < ry + rh / 2) { if ($1 < ul) ul = $1; if ($1 > ur) ur = $1 }
        else { if ($1 < ll) ll = $1; if ($1 > lr) lr = $1 }
      }
    }
    END { printf "%d %d %d %d %d %d %d %d\n", left, top, right + 1, bottom + 1, red, ink, ur - ul + 1, lr - ll + 1 }')
  read -r left top right bottom red ink upper lower <<<"$found"
  check "$what: the readout's background lies where its window is, on the taskbar" \
    [ "$left $top $right $bottom" = "$((x - tx)) $((y - ty)) $((x - tx + w)) $((y - ty + h))" ]
  check "$what: clear of the Start button (its right side at $start)" [ "$x" -ge "$start" ]
  before_icons=false lines=false
  [ "$red" -lt 1000000 ] && [ $((x + w)) -le $((tx + red)) ] && before_icons=true
  [ "$lower" -gt 0 ] && [ "$upper" -gt $((lower + 10)) ] && lines=true
  check "$what: left of the notification icons (from $((tx + red)))" $before_icons
  check "$what: $ink pixels in the text's colour #$text on #$background" [ "$ink" -ge 20 ]
  check "$what: the received line ($upper px) above the shorter sent line ($lower px)" $lines
}

for dpi in 96 192; do
  say "== $dpi DPI"
  set_dpi "$dpi"
  stages=$work/stages-$dpi
  mkdir -p "$stages"
  QUINTREL_TASKBAR_SHOT_DIR="Z:${stages//\//\\}" "$wine" explorer /desktop=shell,1024x768 "$tests_exe" \
    --gtest_filter='TaskbarReadoutOnShell.*' >"$work/test-$dpi.log" 2>&1 &
  test_pid=$!
  photographed=0
  while kill -0 "$test_pid" 2>/dev/null || ls "$stages"/*.ready >/dev/null 2>&1; do
    for ready in "$stages"/*.ready; do
      [ -e "$ready" ] || continue
      stage=$(basename "$ready" .ready)
      photo=$(shot "$dpi-$stage")
      mv "$ready" "$stages/$stage.seen"
      touch "$stages/$stage.taken"
      check_stage "$dpi" "$stage" "$photo"
      photographed=$((photographed + 1))
    done
    sleep 0.1
  done
  wait "$test_pid"
  cat "$work/test-$dpi.log"
  # Wine's explorer does not hand on the program's exit code: the test's own summary tells.
  check "$dpi DPI: the test on the shell desktop passed" grep -q '^\[  PASSED  \] 1 test' "$work/test-$dpi.log"
  check "$dpi DPI: three stages photographed ($photographed)" [ "$photographed" -eq 3 ]
done
finish
