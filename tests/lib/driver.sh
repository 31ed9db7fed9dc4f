# Looking at the running program and working it: the driver (tests/tools/qdriver.cpp), screenshots
# and their pixels, the main window, the popup menu, the tray icon, and the profile.

drv() { in_ns "$wine" "$driver_exe" "$@" 2>/dev/null | tr -d '\r'; }
# The value of key=value in the driver's output.
field() { sed -n "s/^$2=//p" <<<"$1" | head -1; }
# The row of the interface table that Wine gives the interface of that description. A link just made
# may not be listed yet, so the lookup is tried again for up to 10 seconds; empty when never listed.
interface_row() { # interface_row description
  local row deadline=$((SECONDS + 10))
  row=$(field "$(drv if-row "$1")" row)
  while [ -z "$row" ] && [ "$SECONDS" -lt "$deadline" ]; do
    sleep 0.5
    row=$(field "$(drv if-row "$1")" row)
  done
  echo "$row"
}

# The item of Configure's interface list (control 1005 in the driver's dialog output) that shows an
# entry: a row, -2 for "All links", -3 for the missing choice; empty when none does.
list_item() { # list_item dialog-output entry
  sed -n "s/^c1005_item\([0-9]*\)_data=$2\$/\1/p" <<<"$1" | head -1
}

shot() { # shot name: a screenshot of the whole screen; prints its file
  import -window root "$shots/$1.png"
  echo "$shots/$1.png"
}
# "x y r g b" for every pixel of a rectangle of a screenshot.
pixels() { # pixels file x y w h
  convert "$1" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- |
    sed -nE 's/^([0-9]+),([0-9]+): \(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3 \4 \5/p'
}

# The program's main window, in main and win_x, win_y, win_w, win_h.
read_main() { # read_main [timeout-ms]
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

# The tray icon: icon_count icons in Wine's tray; icon_x, icon_y the 16 x 16 picture in the middle of
# the first one's window.
tray_icon_place() {
  local tray
  tray=$(drv tray 5000)
  icon_count=$(field "$tray" icons)
  icon_x=$(field "$tray" icon0_x) icon_y=$(field "$tray" icon0_y)
  [ -n "$icon_x" ] || return 1
  icon_x=$((icon_x + ($(field "$tray" icon0_w) - 16) / 2))
  icon_y=$((icon_y + ($(field "$tray" icon0_h) - 16) / 2))
}
# Rests the pointer on the tray icon until its tooltip shows; tooltips holds the driver's view of them.
hover_tray_icon() {
  tray_icon_place || return 1
  xdotool mousemove $((icon_x + 6)) $((icon_y + 6))
  sleep 0.2
  xdotool mousemove $((icon_x + 8)) $((icon_y + 8))
  sleep 1.5
  tooltips=$(drv tooltips)
}
# The tray icon's tooltip, read while the pointer rests on the icon: "<received> <sent>" in KB/s. A
# tip shown for a while hides, as tooltips do, and an icon that stays the same is not handed to the
# shell again to bring it back: the pointer then comes to rest on the icon anew.
tray_rates() {
  local tip
  tip=$(field "$(drv tooltips)" tooltip0_text)
  if [ -z "$tip" ] && hover_tray_icon; then tip=$(field "$tooltips" tooltip0_text); fi
  sed -nE 's/^([0-9]+\.[0-9]{2}) KB\/s received  ([0-9]+\.[0-9]{2}) KB\/s sent$/\1 \2/p' <<<"$tip"
}

# Selects the interface of that row and places the window; every other setting keeps its default.
# A profile that watches a row and places the window in the screen's pixels, as the meter writes it;
# "old" as a version before DPI scaling wrote it, the place in pixels of 96 DPI.
seed_profile() { # seed_profile row x y [old]
  mkdir -p "$(dirname "$profile")"
  printf '[Last Settings]\r\neth=%s\r\nx_pos=%s\r\ny_pos=%s\r\n' "$1" "$2" "$3" >"$profile"
  [ "${4:-}" = old ] || printf 'pxpos=1\r\n' >>"$profile"
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
