#!/usr/bin/env bash
# The meter at 100, 150 and 200 %: the real program under Wine with the prefix's DPI at 96, 144 and
# 192, a fresh profile each time and traffic on the watched link. The window and its graph panel grow
# with the DPI, the panel stays crisp (only its own pure colours, lines as thick as the DPI's pen, the
# grid dots where the scaled drawing puts them) and its text stays inside it. Screenshots of the
# window and, at 150 and 200 %, of Configure, Usage and About.
# Usage: dpi_e2e.sh wine-loader Quintrel.exe qdriver.exe [screenshot-folder].
# Needs root; exit 77 means skipped.
set -uo pipefail
. "$(dirname "$0")/../lib/scripted.sh"
wine=$1 app_exe=$2 driver_exe=$3
require root ip xdotool import convert Xvfb python3
require_loader
begin dpi_e2e
screenshots_in "${4:-$PWD/dpi-screenshots}" fresh

subnet=10.233
watched=qd0 watched_n=0
# Clear of Wine's tray at the top left and of the dialogs, which open near (100, 100).
home_x=1300 home_y=900
# 12000 B/s toward the program, 6000 B/s from it, in 200-byte and 150-byte frames: on the first
# preset's scale of 4 kB/s the received trace stands 30 rows of the 96-DPI drawing high, the sent 15.
rx_frame=200 rx_rate=60 tx_frame=150 tx_rate=40 seconds=240

# A length of the 96-DPI drawing at the DPI under test, rounded half up as the program does.
sc() { echo $((($1 * dpi + 48) / 96)); }

# Every pixel "x y r g b" of the panel of the window in a screenshot, x and y from the panel's corner.
# The window has a 1-pixel border around its client area.
panel_pixels() { # panel_pixels shot
  pixels "$1" $((win_x + 1 + $(sc 9))) $((win_y + 1 + $(sc 10))) "$(sc 160)" "$(sc 100)"
}

# The grid as the program lays it: a dot every 3 pixels of the 96-DPI drawing, counted from the
# panel's bottom-left corner, each a line-width square growing up and right from its scaled place.
grid_awk='function sc(v) { return int((v * dpi + 48) / 96) }
  BEGIN {
    for (r = 0; r < 100; r += 3) for (c = 0; c < 160; c += 3)
      for (dy = 0; dy < lw; dy++) for (dx = 0; dx < lw; dx++) dot[sc(c) + dx, sc(100) - 1 - sc(r) - dy] = 1
  }'

# The graph's text-free bands: left of the axis labels, below the received statistics line and
# clear of the sent one.
in_bands() { echo "\$1 >= $line_width && \$1 < $(sc 118) && ((\$2 >= $(sc 15) && \$2 < $(sc 51)) || (\$2 >= $(sc 65) && \$2 < $(sc 100)))"; }

# The colours seen in the bands with their counts, and what is wrong there: a blue pixel where no
# grid dot belongs, a grid dot neither blue nor covered by a trace.
graph_census() { # graph_census panel-pixels-file
  awk -v dpi="$dpi" -v lw="$line_width" "$grid_awk
    $(in_bands) {
      colour = \$3 \",\" \$4 \",\" \$5
      seen[colour]++
      blue = colour == \"10,10,250\"
      trace = colour == \"0,255,0\" || colour == \"255,0,0\"
      if (blue && !((\$1, \$2) in dot)) stray++
      if (((\$1, \$2) in dot) && !blue && !trace) missing++
    }
    END {
      for (c in seen) printf \"%s:%d \", c, seen[c]
      printf \"stray=%d missing=%d\\n\", stray, missing
    }" "$1"
}
# A corner of the panel, 3 x 3 pixels, against the grid: "bad" pixels and how many were blue.
corner_check() { # corner_check panel-pixels-file x0 y0
  awk -v dpi="$dpi" -v lw="$line_width" -v x0="$2" -v y0="$3" "$grid_awk
    \$1 >= x0 && \$1 < x0 + 3 && \$2 >= y0 && \$2 < y0 + 3 {
      blue = \$3 == 10 && \$4 == 10 && \$5 == 250; black = \$3 + \$4 + \$5 == 0
      if ((\$1, \$2) in dot) { dots++; if (!blue) bad++ } else if (!black) bad++
    }
    END { printf \"bad=%d dots=%d\\n\", bad, dots }" "$1"
}

# The lengths of the runs of one colour in the bands, down the columns (v) or along the rows (h),
# leaving out the runs the bands' edges cut. Prints the shortest run and the commonest length.
runs() { # runs panel-pixels-file v|h "r g b"
  awk -v dir="$2" -v want="$3" -v edges="$line_width $(($(sc 118) - 1)) $(sc 15) $(($(sc 51) - 1)) $(sc 65) $(($(sc 100) - 1))" "
    BEGIN { split(edges, e); if (dir == \"h\") { edge[e[1]] = edge[e[2]] = 1 } else { for (i = 3; i <= 6; i++) edge[e[i]] = 1 } }
    $(in_bands) && (\$3 \" \" \$4 \" \" \$5) == want {
      if (dir == \"v\") { line = \$1; pos = \$2 } else { line = \$2; pos = \$1 }
      on[line, pos] = 1; lines[line] = 1; if (pos > far) far = pos
    }
    END {
      for (l in lines) for (p = 0; p <= far + 1; p++) {
        if ((l, p) in on) { if (!run) start = p; run++; continue }
        if (run && !(start in edge) && !((p - 1) in edge)) { count[run]++; if (!min || run < min) min = run }
        run = 0
      }
      for (n in count) if (count[n] > best) { best = count[n]; common = n }
      printf \"%d %d\\n\", min, common
    }" "$1"
}

# Sets the prefix's DPI: its wineserver stopped, the value written, the server let go again so that
# the next Wine process starts one that reads it.
set_prefix_dpi() { # set_prefix_dpi dpi
  local key
  in_ns "$WINESERVER" -k >/dev/null 2>&1
  in_ns "$WINESERVER" -w
  for key in 'HKCU\Control Panel\Desktop' 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    in_ns "$WINE64" reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 ||
      abort "cannot set LogPixels in $key"
  done
  in_ns "$WINESERVER" -w
}

read_dialog() { # read_dialog caption [timeout-ms]
  dlg=$(drv dialog "$1" "${2:-5000}")
  [ "$(field "$dlg" dialog)" != none ] && [ -n "$(field "$dlg" dialog)" ]
}
# A screenshot of the screen and, beside it, of the dialog alone, the pointer on the dialog's margin
# so that its caption shows active (the focus follows the pointer without a window manager).
shoot_dialog() { # shoot_dialog name
  local full x y w h
  x=$(field "$dlg" x) y=$(field "$dlg" y) w=$(field "$dlg" w) h=$(field "$dlg" h)
  xdotool mousemove $((x + 6)) $((y + h - 6))
  sleep 0.5
  full=$(shot "$1-screen")
  convert "$full" -crop "${w}x$h+$x+$y" +repage "$shots/$1.png"
  echo "screenshot: $shots/$1.png (${w}x$h at $x,$y)"
}
close_dialog() { # close_dialog caption
  xdotool mousemove $(($(field "$dlg" x) + $(field "$dlg" w) / 2)) $(($(field "$dlg" y) + $(field "$dlg" h) - 8))
  sleep 0.3
  xdotool key Escape
  drv no-dialog "$1" 3000 >/dev/null || drv command 2 >/dev/null
  drv no-dialog "$1" 2000 >/dev/null
}
# Opens a dialog from the popup menu (item i of n between separators k-1 and k), shoots and closes it.
dialog_from_menu() { # dialog_from_menu caption k i n name
  if open_menu_on_window && click_menu_item "$2" "$3" "$4" && read_dialog "$1"; then
    pass "$dpi DPI: the popup menu opens $1 ($(field "$dlg" w)x$(field "$dlg" h))"
    shoot_dialog "$5"
    close_dialog "$1" || fail "$dpi DPI: $1 does not close"
  else
    fail "$dpi DPI: no $1 from the popup menu"
    drv no-menu 500 >/dev/null || xdotool key Escape
  fi
}

# ---------------------------------------------------------------------------------------------
echo "== setting up: screen, namespaces, Wine prefix"
# A screen as large as 200 % screens come, so that the dialogs fit on it.
start_screen 2048x1536
echo "screen $DISPLAY, screenshots in $shots"
make_namespaces
make_link "$watched" qp0 "$watched_n" || abort "cannot add $watched"
start_sinks || abort "the datagram sinks did not start"
make_prefix desktop
keep_shell_up
row=$(interface_row "$watched")
[ -n "$row" ] || abort "Wine does not list $watched"
start_helper "$peer" "$work/send-rx.log" "$python" "$traffic_py" send "$(ns_address "$watched_n")" \
  "$traffic_port" $((seconds * rx_rate * (rx_frame - 42))) $((rx_rate * (rx_frame - 42))) $((rx_frame - 42))
start_helper "$ns" "$work/send-tx.log" "$python" "$traffic_py" send "$(peer_address "$watched_n")" \
  "$traffic_port" $((seconds * tx_rate * (tx_frame - 42))) $((tx_rate * (tx_frame - 42))) $((tx_frame - 42))

text_height_96=
for dpi in 96 144 192; do
  echo "== $dpi DPI"
  line_width=$(( $(sc 1) > 1 ? $(sc 1) : 1 ))
  set_prefix_dpi "$dpi"
  keep_shell_up
  rm -f "$profile"
  if [ "$dpi" = 192 ]; then
    # A profile of a version that did not scale: its place in 96-DPI pixels is scaled once.
    seed_profile "$row" $((home_x * 96 / dpi)) $((home_y * 96 / dpi)) old
  else
    seed_profile "$row" "$home_x" "$home_y"
  fi
  run=$work/run-$dpi
  mkdir -p "$run"
  start_app "$run"
  read_main 20000 || abort "$dpi DPI: the main window never showed: $(app_output)"
  run_start=$(now_ms)
  echo "$main" | tr '\n' ' '
  echo
  check "$dpi DPI: the window is $(sc 180)x$(sc 120) at its place ($win_x,$win_y ${win_w}x$win_h)" \
    test "$win_x,$win_y,$win_w,$win_h" = "$home_x,$home_y,$(sc 180),$(sc 120)"

  # Ten seconds of traffic: the raised traces, newest on the left, reach into the text-free bands.
  sleep_until 10000
  xdotool mousemove 5 1400
  sleep 0.3
  main_shot=$(shot "$dpi-main-screen")
  convert "$main_shot" -crop "${win_w}x$win_h+$win_x+$win_y" +repage "$shots/$dpi-main.png"
  echo "screenshot: $shots/$dpi-main.png"
  panel_pixels "$main_shot" >"$work/panel-$dpi.txt"
  p=$work/panel-$dpi.txt

  census=$(graph_census "$p")
  echo "graph bands: $census"
  colours=$(sed -E 's/ stray=.*//; s/:[0-9]+//g' <<<"$census" | tr ' ' '\n' | sort | tr '\n' ' ')
  check "$dpi DPI: the graph bands hold only black, grid blue, pure green and pure red ($colours)" \
    test -z "$(tr ' ' '\n' <<<"$colours" | grep -vxE '0,0,0|10,10,250|0,255,0|255,0,0|')"
  check "$dpi DPI: the graph bands hold both traces and the grid" \
    test -n "$(grep -o '0,255,0:[0-9]*' <<<"$census")" -a -n "$(grep -o '255,0,0:[0-9]*' <<<"$census")" \
    -a -n "$(grep -o '10,10,250:[0-9]*' <<<"$census")"
  check "$dpi DPI: every grid dot is a $line_width-pixel square where the scaled drawing puts it ($(grep -o 'stray.*' <<<"$census"))" \
    grep -q 'stray=0 missing=0' <<<"$census"
  # The top-left dot at the panel's corner, cut off where it would reach above the panel; the
  # bottom-left one lies under the sent trace.
  corner=$(corner_check "$p" 0 0)
  check "$dpi DPI: a grid dot at the panel's top-left corner, the rest of the corner black ($corner)" \
    eval '[[ "$corner" =~ ^bad=0\ dots=[1-9] ]]'

  # Crisp traces: every stroke as thick as the pen, across (flat parts) and along (rises).
  for trace in "received 0 255 0" "sent 255 0 0"; do
    set -- $trace
    read -r thinnest commonest <<<"$(runs "$p" v "$2 $3 $4")"
    check "$dpi DPI: the $1 trace's flat parts are $line_width pixel(s) thick (thinnest $thinnest, commonest $commonest)" \
      test "$thinnest,$commonest" = "$line_width,$line_width"
    read -r thinnest commonest <<<"$(runs "$p" h "$2 $3 $4")"
    check "$dpi DPI: the $1 trace rises in strokes at least $line_width pixel(s) wide (thinnest $thinnest)" \
      test "$thinnest" = "$line_width"
  done

  # The statistics text: yellow in the panel's top rows, none of it in the window around the panel.
  yellow='$3 > 200 && $4 > 200 && $5 < 120'
  text=$(awk "$yellow && \$1 < $(sc 118) && \$2 < $(sc 14) { n++; if (!top || \$2 < top) top = \$2 + 1; if (\$2 > bottom) bottom = \$2 }
    END { printf \"%d %d\\n\", n, n ? bottom - top + 2 : 0 }" "$p")
  read -r text_pixels text_height <<<"$text"
  check "$dpi DPI: the received statistics line is drawn in the panel's top rows ($text_pixels yellow pixels, $text_height rows high)" \
    test "$text_pixels" -gt 30
  [ "$dpi" = 96 ] && text_height_96=$text_height
  check "$dpi DPI: the text grows with the DPI ($text_height rows, $text_height_96 at 96 DPI)" \
    test $((text_height * 96 * 10)) -ge $((text_height_96 * dpi * 8)) -a $((text_height * 96 * 10)) -le $((text_height_96 * dpi * 12))
  outside=$(pixels "$main_shot" "$win_x" "$win_y" "$win_w" "$win_h" |
    awk -v x0=$((1 + $(sc 9))) -v y0=$((1 + $(sc 10))) -v w="$(sc 160)" -v h="$(sc 100)" \
      "$yellow && !(\$1 >= x0 && \$1 < x0 + w && \$2 >= y0 && \$2 < y0 + h) { n++ } END { print n + 0 }")
  check "$dpi DPI: no text outside the panel ($outside yellow pixels)" test "$outside" = 0

  if [ "$dpi" != 96 ]; then
    # SETUP and Usage... share the group between the third and fourth separators; About is the sixth's first.
    dialog_from_menu Configure 4 0 2 "$dpi-configure"
    dialog_from_menu Usage 4 1 2 "$dpi-usage"
    dialog_from_menu "About quintrel" 6 0 2 "$dpi-about"
  fi
  exit_app
  code=$?
  check "$dpi DPI: Exit ends the program with code 0 (code $code)" test "$code" = 0
  # The place goes back in the screen's pixels, and says so.
  [ "$dpi" = 192 ] && check_profile "x_pos=$home_x" "y_pos=$home_y" pxpos=1
done
finish
