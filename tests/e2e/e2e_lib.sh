# Shared set-up of the end-to-end scripts: a virtual screen, two network namespaces joined by veth
# links, a Wine prefix whose wineserver lives in the first one, the program started there, and the
# small helpers the scripts check with. Sourced after app_exe, driver_exe and shots are set.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$root/scripts/wine_env.sh"

ns=qe2e-$$
peer=qe2e-peer-$$
watched=qt.1 # the monitored link: its dot becomes a space in the log's file name
other=qt0
wine_ip=10.232.1.1
peer_ip=10.232.1.2

app_pid=
helper_pids=()
failures=0
work=

# Skips the test (exit 77) unless root and every named tool are there.
e2e_require() {
  local tool
  for tool in ip xdotool import convert Xvfb "$@"; do
    command -v "$tool" >/dev/null || {
      echo "skipped: needs $tool"
      exit 77
    }
  done
  [ "$(id -u)" -eq 0 ] || {
    echo "skipped: needs root for network namespaces"
    exit 77
  }
}

e2e_cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  for pid in "${helper_pids[@]}"; do kill "$pid" 2>/dev/null; done
  # The prefix's wineserver was started inside the namespace; it must not outlive it.
  "$WINESERVER" -k >/dev/null 2>&1
  for pid in "${helper_pids[@]}"; do wait "$pid" 2>/dev/null; done
  # A namespace lives on while a process is in it, deleted name or not.
  for n in "$ns" "$peer"; do
    ip netns pids "$n" 2>/dev/null | xargs -r kill 2>/dev/null
    ip netns del "$n" 2>/dev/null
  done
  stop_xvfb
  [ -n "$work" ] && rm -rf "$work"
}

# The work folder with the prefix in it, and the cleanup that undoes everything e2e_* set up.
e2e_begin() {
  work=$(mktemp -d /tmp/quintrel-e2e.XXXXXX)
  export WINEPREFIX=$work/prefix
  trap e2e_cleanup EXIT
  trap 'exit 1' INT TERM HUP
}

pass() { echo "PASS: $*"; }
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
check() { # check "description" command...
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
abort() {
  echo "FAIL: $* (cannot go on)"
  exit 1
}
# The summary line and the exit status: 0 when every check passed.
e2e_finish() {
  echo
  if [ "$failures" -eq 0 ]; then
    echo "$1: all checks passed"
    exit 0
  fi
  echo "$1: $failures check(s) failed"
  exit 1
}

in_ns() { ip netns exec "$ns" "$@"; }
in_peer() { ip netns exec "$peer" "$@"; }
drv() { in_ns "$WINE64" "$driver_exe" "$@" 2>/dev/null | tr -d '\r'; }
# The value of key=value in the driver's output.
field() { sed -n "s/^$2=//p" <<<"$1" | head -1; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
sleep_until() { # sleep_until <ms since run start>
  local left=$(($1 - ($(now_ms) - run_start)))
  [ "$left" -gt 0 ] && sleep "$(printf '%d.%03d' $((left / 1000)) $((left % 1000)))"
}
shot() {
  import -window root "$shots/$1.png"
  echo "$shots/$1.png"
}

# "x y r g b" for every pixel of a rectangle of a screenshot.
pixels() {
  convert "$1" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- |
    sed -nE 's/^([0-9]+),([0-9]+): \(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3 \4 \5/p'
}

# The screen, the two namespaces and the links between them: $other and $watched on the program's
# side, qp0 and qp1 on the peer's, with fixed neighbours so that they carry only what a test sends.
e2e_setup_network() {
  mkdir -p "$shots"
  rm -f "$shots"/*.png
  start_xvfb || abort "no virtual screen"
  echo "screen $DISPLAY, screenshots in $shots"

  ip netns add "$ns" || abort "cannot add namespace $ns"
  ip netns add "$peer" || abort "cannot add namespace $peer"
  for n in "$ns" "$peer"; do
    ip netns exec "$n" sysctl -q -w net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1
    ip netns exec "$n" ip link set lo up
  done
  in_ns ip link add name "$other" type veth peer name qp0 netns "$peer" || abort "cannot add $other"
  in_ns ip link add name "$watched" type veth peer name qp1 netns "$peer" || abort "cannot add $watched"
  in_ns ip addr add 10.232.0.1/24 dev "$other"
  in_peer ip addr add 10.232.0.2/24 dev qp0
  in_ns ip addr add "$wine_ip/24" dev "$watched"
  in_peer ip addr add "$peer_ip/24" dev qp1
  for link in "$other" "$watched"; do in_ns ip link set "$link" up; done
  for link in qp0 qp1; do in_peer ip link set "$link" up; done
  in_ns ip neigh replace "$peer_ip" lladdr "$(in_peer cat /sys/class/net/qp1/address)" dev "$watched" nud permanent
  in_peer ip neigh replace "$wine_ip" lladdr "$(in_ns cat "/sys/class/net/$watched/address")" dev qp1 nud permanent
}

# The prefix, booted inside the namespace (Wine lists the interfaces of the namespace its wineserver
# starts in); sets profile to the program's profile file. With "dialogs", windows are drawn as a
# user sees them: Wine draws the captions itself (there is no window manager) with its caption-button
# font, and the dialogs get the bitmap font they are laid out for. A Wine process that outlives the
# program's runs keeps the shell and its tray in between; it starts after the look is set, which
# each process takes at its start.
e2e_make_prefix() { # e2e_make_prefix [dialogs]
  mkdir -p "$WINEPREFIX"
  in_ns "$WINE64" wineboot -i >/dev/null 2>&1
  if [ "${1:-}" = dialogs ]; then
    in_ns "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    cp /usr/share/wine/fonts/sserife*.fon /usr/share/wine/fonts/marlett.ttf \
      "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  fi
  in_ns "$WINESERVER" -w
  local user_dir
  user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)
  [ -n "$user_dir" ] || abort "the Wine prefix has no user folder"
  profile=$user_dir/AppData/Roaming/Quintrel/Quintrel.ini
  in_ns "$WINE64" "$driver_exe" hold >/dev/null 2>&1 &
  helper_pids+=($!)
}

start_app() { # start_app working-dir [extra dll overrides]
  local overrides=$WINEDLLOVERRIDES
  [ -n "${2:-}" ] && overrides="$overrides;$2"
  (cd "$1" && exec ip netns exec "$ns" env WINEDLLOVERRIDES="$overrides" "$WINE64" "$app_exe" >"$1/wine.log" 2>&1) &
  app_pid=$!
}
wait_app() {
  local status
  wait "$app_pid"
  status=$?
  app_pid=
  return "$status"
}

read_main() {
  main=$(drv main "${1:-10000}")
  win_x=$(field "$main" x) win_y=$(field "$main" y) win_w=$(field "$main" w) win_h=$(field "$main" h)
  [ -n "$win_x" ]
}

open_menu_on_window() {
  xdotool mousemove $((win_x + 4)) $((win_y + 4)) click 3
  menu=$(drv menu 5000)
  menu_x=$(field "$menu" x) menu_y=$(field "$menu" y) menu_w=$(field "$menu" w) menu_h=$(field "$menu" h)
  [ -n "$menu_x" ]
}
click_menu_row() { # first or last
  if [ "$1" = first ]; then
    xdotool mousemove $((menu_x + menu_w / 2)) $((menu_y + 10))
  else
    xdotool mousemove $((menu_x + menu_w / 2)) $((menu_y + menu_h - 10))
  fi
  sleep 0.3
  xdotool click 1
}

# The rows of the open menu's separators, counted from its top: grey lines near its right edge.
menu_separators() { # menu_separators shot
  pixels "$1" "$menu_x" "$menu_y" "$menu_w" "$menu_h" | awk -v w="$menu_w" -v h="$menu_h" '
    $1 == w - 6 && $2 > 2 && $2 < h - 3 && $3 == $4 && $4 == $5 && $3 > 100 && $3 < 200 { sep[$2] = 1 }
    END { for (y = 0; y < h; y++) if (sep[y] && !sep[y - 1]) print y }'
}
# Clicks item i (from 0) of the n items between separator k-1 and separator k (k from 1, the menu's
# edges counting as separators 0 and last).
click_menu_item() { # click_menu_item k i n
  local seps top=0 bottom=$menu_h
  import -window root "$work/menu.png"
  mapfile -t seps < <(menu_separators "$work/menu.png")
  [ "$1" -le $((${#seps[@]} + 1)) ] || return 1
  [ "$1" -gt 1 ] && top=${seps[$(($1 - 2))]}
  [ "$1" -le "${#seps[@]}" ] && bottom=${seps[$(($1 - 1))]}
  xdotool mousemove $((menu_x + menu_w / 2)) $((menu_y + top + (bottom - top) * (2 * $2 + 1) / (2 * $3)))
  sleep 0.3
  xdotool click 1
}

profile_value() { sed -n "s/^$1=\([-0-9]*\).*/\1/p" "$profile" | tr -d '\r' | head -1; }
check_profile() { # check_profile key=value...
  local pair key want got bad=
  for pair in "$@"; do
    key=${pair%%=*} want=${pair#*=}
    got=$(profile_value "$key")
    [ "$got" = "$want" ] || bad="$bad $key=$got (wanted $want)"
  done
  if [ -z "$bad" ]; then pass "the profile holds $*"; else fail "the profile holds$bad"; fi
}
