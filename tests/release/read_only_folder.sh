#!/usr/bin/env bash
# Runs the 64-bit setup program against a folder on a read-only file system, in a mount namespace of
# its own (run it under "unshare -m"), with a wineserver started there so that Wine sees the mount:
# once silently, then on its pages, choosing that folder and pressing Install.
# Usage: unshare -m read_only_folder.sh mount-point windows-folder-below-it setup.exe caption screenshot
# (caption: the setup's window title, "Quintrel <version> (64-bit) Setup"). The caller's prefix and
# display serve. Prints "silent=<exit code>", "message=<1 when the refusal was shown>" and
# "page_kept=<1 when the folder page stayed open after it>"; exits 99 when the mount cannot be made.
set -uo pipefail
mount_point=$1 folder=$2 setup=$3 caption=$4 shot=$5
. "$(dirname "$0")/../../scripts/wine_env.sh"
mount -t tmpfs -o ro,size=1m quintrel-read-only "$mount_point" 2>/dev/null || exit 99

timeout 120 "$WINE64" "$setup" /S "/D=$folder" >/dev/null 2>&1
echo "silent=$?"

# The window whose title is exactly the one given, if there is one.
window_named() { xdotool search --name "^$(sed 's/[]().[*^$]/\\&/g' <<<"$1")\$" 2>/dev/null | head -1; }
# Waits up to 20 s for that window.
wait_for_window() {
  for _ in $(seq 200); do
    [ -n "$(window_named "$1")" ] && return 0
    sleep 0.1
  done
  return 1
}

timeout 120 "$WINE64" "$setup" >/dev/null 2>&1 &
message=0 page_kept=0
if wait_for_window "$caption: Installation Options"; then
  xdotool key Return # Next
  if wait_for_window "$caption: Installation Folder"; then
    xdotool key ctrl+a
    xdotool type --delay 10 "$folder"
    xdotool key Return # Install
    if wait_for_window "$caption"; then
      message=1
      sleep 0.5 # its first paint
      import -window root "$shot"
      xdotool key Return # OK
      sleep 1
      [ -z "$(window_named "$caption")" ] && [ -n "$(window_named "$caption: Installation Folder")" ] && page_kept=1
    fi
  fi
fi
echo "message=$message"
echo "page_kept=$page_kept"
"$WINESERVER" -k
exit 0
