#!/usr/bin/env bash
# Photographs every dialog of a Windows build under Wine on a virtual screen, to compare their look
# after a change to the resources: Configure, the preset editor, About and the Statistics Console
# (held open by the disabled DialogScreens test) and the main window of the real program.
# Usage: dialog_screens.sh build-folder output-folder [wine loader, default the 32-bit one]
set -uo pipefail
build=$(cd "$1" && pwd)
mkdir -p "$2" && out=$(cd "$2" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/wine_env.sh"
wine=${3:-$WINE32}
unset WINEPREFIX # only the prefix made below is removed

work=$(mktemp -d /tmp/quintrel-screens.XXXXXX)
cleanup() { remove_wine_prefix; stop_xvfb; rm -rf "$work"; }
trap cleanup EXIT
trap 'exit 1' INT TERM HUP
# Wine links the prefix's Documents and Desktop to the home folder.
export HOME=$work/home
mkdir -p "$HOME"
start_xvfb && make_wine_prefix || exit 1

(cd "$work" && "$wine" "$build/quintrel_win_tests.exe" --gtest_also_run_disabled_tests \
  --gtest_filter='DialogScreens.*' >"$work/test.log" 2>&1) &
test_pid=$!
shots=0
while kill -0 "$test_pid" 2>/dev/null; do
  for marker in "$work"/*.ready; do
    [ -e "$marker" ] || continue
    sleep 0.5 # the dialog's first paint
    import -window root "$out/$(basename "$marker" .ready).png" && shots=$((shots + 1))
    rm -f "$marker"
  done
  sleep 0.1
done
wait "$test_pid" || { cat "$work/test.log"; exit 1; }

mkdir -p "$work/meter"
(cd "$work/meter" && "$wine" "$build/Quintrel.exe" >/dev/null 2>&1) &
meter_pid=$!
sleep 6
import -window root "$out/main_window.png" && shots=$((shots + 1))
"$WINESERVER" -k
wait "$meter_pid"
echo "$shots screenshots in $out"
