#!/usr/bin/env bash
# Photographs the virtual screen while the tray meter is shown in Wine's tray and checks the icon's
# 16 x 16 pixels in the photo. Leaves tray_screenshot.png and tray_icon_closeup.png in the output folder.
# Runs on a virtual screen and in a Wine prefix of its own.
# Usage: tray_screenshot.sh wine-loader quintrel_win_tests.exe output-folder. Exit 77 means skipped.
set -uo pipefail
. "$(dirname "$0")/../lib/scripted.sh"
wine=$1
tests_exe=$2
out=$3
require Xvfb import convert
require_loader
begin tray_screenshot
start_screen
make_wine_prefix "$WINEPREFIX"
windows_work="Z:${work//\//\\}"

QUINTREL_TRAY_SHOT_DIR=$windows_work "$wine" "$tests_exe" \
  --gtest_filter='TrayMeterOnScreen.*' >"$work/test.log" 2>&1 &
test_pid=$!

for _ in $(seq 600); do
  [ -e "$work/ready" ] && break
  kill -0 "$test_pid" 2>/dev/null || break
  sleep 0.1
done
if [ ! -e "$work/ready" ]; then
  echo "the test never showed the meter:" >&2
  cat "$work/test.log" >&2
  wait "$test_pid"
  exit 1
fi

read -r x y <"$work/icon_place.txt"
import -window root "$out/tray_screenshot.png"
touch "$work/taken"
wait "$test_pid"
test_status=$?
cat "$work/test.log"

convert "$out/tray_screenshot.png" -crop "16x16+$x+$y" +repage -depth 8 "rgb:$work/shown.rgb"
convert "$out/tray_screenshot.png" -crop "40x40+$((x - 12))+$((y - 12))" +repage -scale 800% \
  "$out/tray_icon_closeup.png"
if ! cmp -s "$work/shown.rgb" "$work/expected_icon.rgb"; then
  echo "the photographed icon at ($x, $y) differs from the meter's picture" >&2
  cmp -l "$work/shown.rgb" "$work/expected_icon.rgb" | head -20 >&2
  exit 1
fi
echo "icon at ($x, $y) matches; photo in $out/tray_screenshot.png"
exit "$test_status"
