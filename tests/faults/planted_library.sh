#!/usr/bin/env bash
# A library planted where the program lives or where it is started: a stand-in named like the IP
# helper library (tests/tools/planted), with Wine told to look for native libraries first and so to
# search the way Windows does. The real program under Wine must load the system's library and never
# the stand-in: no "PLANTED" file anywhere, its log and its Configure list name the namespace's own
# interfaces, not the stand-in's "planted stand-in". A program that asks for the library by its bare
# name, the driver, shows first that the stand-in is found and loaded so.
# Usage: planted_library.sh wine-loader Quintrel.exe qdriver.exe iphlpapi.dll [screenshot-folder].
# Needs root; exit 77 means skipped.
set -uo pipefail
. "$(dirname "$0")/../lib/scripted.sh"
wine=$1 app_exe=$2 driver_exe=$3 stand_in=$4
require root ip xdotool import Xvfb
require_loader
begin planted_library
screenshots_in "${5:-$work/shots}"
start_screen

link=qf0
native_first="iphlpapi=n,b"

# Copies a program into <case>/program, the stand-in into <case>/<where it is planted>, and makes
# the working folder <case>/working; prints the copy's path.
plant() { # plant case program|working program-file
  local base=$work/$1
  mkdir -p "$base/program" "$base/working"
  cp "$3" "$base/program/"
  cp "$stand_in" "$base/$2/iphlpapi.dll"
  echo "$base/program/$(basename "$3")"
}
planted_marks() { find "$work" -name PLANTED | sed "s|^$work/||"; }

# The log files in a working folder, one name a line, in order.
log_files() { (cd "$1" && ls -1 -- *_Quintrel.csv 2>/dev/null | sort); }
# The log the program writes for the one interface it watches: no link here has traffic, so a first
# start watches the first one Wine lists. A dot in a name becomes a space.
# A first start watches the first adapter, a veth here, before the loopback.
expected_log_files() {
  local d
  for d in "${descriptions[@]}"; do
    [ "$d" != lo ] && { echo "${d//./ }_Quintrel.csv"; return; }
  done
  echo "lo_Quintrel.csv"
}
wait_for_logs() { # wait_for_logs working-folder
  for _ in $(seq 50); do
    [ "$(log_files "$1" | grep -c '')" -ge 1 ] && return 0
    sleep 0.1
  done
  return 1
}

# The interface list of the open Configure dialog against Wine's, item by item.
configure_lists_the_interfaces() {
  local dlg i bad=
  dlg=$(drv dialog Configure 5000)
  # "All links" first, then Wine's interfaces in their rows.
  [ "$(field "$dlg" c1005_count)" = $((${#descriptions[@]} + 1)) ] || bad=" count '$(field "$dlg" c1005_count)'"
  for i in "${!descriptions[@]}"; do
    [ "$(field "$dlg" "c1005_item$((i + 1))")" = "${descriptions[$i]}" ] ||
      bad="$bad item$((i + 1)) '$(field "$dlg" "c1005_item$((i + 1))")'"
  done
  [ -z "$bad" ] || echo "  Configure lists:$bad (Wine lists: ${descriptions[*]})"
  [ -z "$bad" ]
}
# Opens Configure from the menu command, checks its list, and closes it with Escape.
check_configure_list() { # check_configure_list case
  local dlg
  drv command 534 >/dev/null
  dlg=$(drv dialog Configure 5000)
  if [ -z "$(field "$dlg" x)" ]; then
    fail "$1: Configure does not open"
    return
  fi
  shot "planted-$1-configure" >/dev/null
  check "$1: Configure lists the namespace's interfaces, not the stand-in's" configure_lists_the_interfaces
  # A click on the dialog's empty lower left corner gives it the keyboard.
  xdotool mousemove $(($(field "$dlg" x) + 8)) $(($(field "$dlg" y) + $(field "$dlg" h) - 8)) click 1
  sleep 0.3
  xdotool key Escape
  drv no-dialog Configure 3000 >/dev/null
}

# The program copied with a stand-in planted in one place, started from its working folder; the
# case's folders go afterwards, so that a mark left in one case is not seen in the next.
run_case() { # run_case case program|working
  local program cwd=$work/$1/working code
  echo "== $1: the stand-in in the $2 folder"
  program=$(plant "$1" "$2" "$app_exe")
  start_app "$cwd" "$native_first" "$program"
  read_main 20000 || abort "the main window never showed: $(app_output)"
  check "$1: the program writes the log of the interface it watches" wait_for_logs "$cwd"
  check "$1: its log is $(expected_log_files), one of the namespace's interfaces" \
    test "$(log_files "$cwd")" = "$(expected_log_files)"
  check_configure_list "$1"
  exit_app
  code=$?
  check "$1: Exit ends the program with code 0 (code $code)" test "$code" = 0
  check "$1: no PLANTED file anywhere ($(planted_marks | tr '\n' ' '))" test -z "$(planted_marks)"
  rm -rf "${work:?}/$1"
}

echo "== setting up: namespaces, link $link, Wine prefix"
make_namespaces
make_link "$link" qp0 0 || abort "cannot make $link"
make_prefix plain
mapfile -t descriptions < <(drv if-list | sed -n 's/^row[0-9]*: .* descr=//p')
echo "Wine lists: ${descriptions[*]}"
[[ " ${descriptions[*]} " == *" $link "* ]] || abort "Wine does not list $link"

echo "== the driver, which asks for the library by its bare name, beside the stand-in"
driver_copy=$(plant control program "$driver_exe")
control=$(cd "$work/control/working" && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;$native_first" \
  in_ns "$wine" "$driver_copy" if-list 2>/dev/null | tr -d '\r')
echo "$control"
check "the stand-in beside a program that loads the library by name is loaded: PLANTED is left" \
  test -e "$work/control/working/PLANTED"
check "and it lists its one interface, 'planted stand-in'" \
  test "$(sed -n 's/^row[0-9]*: .* descr=//p' <<<"$control")" = "planted stand-in"
rm -rf "$work/control"

run_case beside-the-program program
# Wine, as Windows in its safe search mode, looks in the working folder only after the system folder;
# this case holds the program to that, whatever path of its own it might give the library.
run_case in-the-working-folder working
finish
