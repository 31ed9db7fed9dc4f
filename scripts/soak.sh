#!/usr/bin/env bash
# Runs the real meter for a long while under Wine on its own virtual screen, watching one link of a
# network namespace that carries traffic whose rate changes every minute, and reports whether every
# minute's log line came and matched the kernel's counters, whether memory and GDI objects stayed
# flat, and whether the window and the tray icon still move at the end.
# Usage: scripts/soak.sh [minutes, default 15] [win32|win64, default win64: the main release program].
# Needs root. Keeps its report and screenshots in SOAK_OUT (default build/soak). SOAK_GDI_TRACE=0
# leaves out Wine's GDI trace (which slows the program).
set -uo pipefail
. "$(dirname "$0")/../tests/lib/scripted.sh"
minutes=${1:-15}
build=${2:-win64}
out=${SOAK_OUT:-$repo_root/build/soak}
gdi_trace=${SOAK_GDI_TRACE:-1}
win_x=240 win_y=180
subnet=10.243
link=qsoak0
# Bytes a second, one entry per minute in turn: toward the program, and from it.
received_rates="12000 30000 4000 45000 0 20000 8000 38000 16000 2000 26000"
sent_rates="3000 9000 15000 1000 6000 0 12000 4000 20000 7000"
# A line's amounts may differ from the kernel's by this much: the minute mark is read a moment late.
tolerance_percent=2
tolerance_bytes=6000

require root ip python3 Xvfb cmake import compare convert
begin soak
mkdir -p "$out"
report_file=$out/soak-report.txt
: >"$report_file"
screenshots_in "$out"
[[ "$minutes" =~ ^[0-9]+$ ]] && [ "$minutes" -ge 2 ] || abort "minutes must be a number of at least 2"
wine=$(build_loader "$build") || abort "the build is win32 or win64, not '$build'"
build_windows_programs "$(tools_build_dir "$build")" "$build" Quintrel qdriver bitness_probe ||
  abort "the $build build failed"
app_exe=$exe_Quintrel driver_exe=$exe_qdriver

start_screen
make_namespaces
make_link "$link" qsoak1 1 || abort "cannot add the veth link"
make_prefix desktop
if [ "$build" = win32 ]; then
  reason=$(can_run_win32 "$exe_bitness_probe" in_ns) || abort "this machine cannot run the win32 build: $reason"
fi
keep_shell_up
row=$(interface_row "$link")
[ -n "$row" ] || abort "Wine does not list $link"
seed_profile "$row" "$win_x" "$win_y"
start_sinks || abort "the datagram sinks did not start"

# Wine's GDI trace names the process's live GDI object count on every allocation and release;
# the filter writes, once a second, the lowest and highest count of that second.
cat >"$work/gdi_count.py" <<'EOF'
import re, sys, time
pattern = re.compile(r"(allocated|freed) \S+ \S+ (\d+)/\d+")
low = high = None
mark = time.time()
with open(sys.argv[1], "w") as out:
    for line in sys.stdin:
        m = pattern.search(line)
        if m:
            n = int(m.group(2))
            low = n if low is None else min(low, n)
            high = n if high is None else max(high, n)
        now = time.time()
        if now - mark >= 1 and low is not None:
            out.write("%d %d %d\n" % (now, low, high))
            out.flush()
            low = high = None
            mark = now
EOF
mkdir -p "$work/run"
if [ "$gdi_trace" = 1 ]; then
  mkfifo "$work/gdi.fifo"
  python3 "$work/gdi_count.py" "$work/gdi.txt" <"$work/gdi.fifo" &
  helper_pids+=($!)
  app_log=$work/gdi.fifo WINEDEBUG=+gdi start_app "$work/run"
else
  start_app "$work/run"
fi
run_start=$(now_ms)
read_main 30000 || abort "the meter's window did not appear"
say "soak: $minutes minutes of the $build build, monitored link $link (row $row), refresh 200 ms"

log_file=$work/run/${link}_Quintrel.csv
# The minute before the senders start is quiet; their rate changes half-way between log lines.
sleep 30
send_by_minute 1 $((minutes * 60)) "$received_rates" "$sent_rates"

# At each new log line: when it came, the kernel's counters, the program's resident memory and,
# from the trace, its GDI objects over the last seconds.
gdi_recent() {
  [ -s "$work/gdi.txt" ] || { echo "-"; return; }
  tail -5 "$work/gdi.txt" | awk 'NR == 1 || $2 < lo { lo = $2 } $3 > hi { hi = $3 } END { print lo "-" hi }'
}
marks=$work/marks.txt
: >"$marks"
seen=0
deadline=$((run_start + minutes * 60000 + 30000))
while [ "$seen" -lt "$minutes" ] && [ "$(now_ms)" -lt "$deadline" ]; do
  lines=$(grep -c '^[0-9]\{4\},' "$log_file" 2>/dev/null)
  lines=${lines:-0}
  if [ "$lines" -gt "$seen" ]; then
    echo "$(now_ms) $lines $(link_counter "$link" tx_bytes) $(link_counter "$link" rx_bytes) $(status_kb "$app_pid" VmRSS) $(gdi_recent)" >>"$marks"
    seen=$lines
  fi
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
for pid in "${send_pids[@]}"; do kill "$pid" 2>/dev/null; done

# Lines: how many, a minute apart, and each amount against the kernel's bytes between two marks.
grep '^[0-9]\{4\},' "$log_file" | tr -d '\r' >"$work/lines.txt"
line_count=$(wc -l <"$work/lines.txt")
if [ "$line_count" -eq "$minutes" ]; then pass "$line_count log lines in $minutes minutes"; else
  fail "$line_count log lines in $minutes minutes"; fi
if [ "$(awk '{ print $2 }' "$marks" | tr '\n' ' ')" = "$(seq -s ' ' 1 "$line_count") " ]; then
  pass "every line came on its own (never two at once)"
else fail "lines came together: $(awk '{ print $2 }' "$marks" | tr '\n' ' ')"; fi
gaps=$(awk -F, '{ t = $5 * 3600 + $6 * 60 + $7; if (NR > 1) { d = t - last; if (d < 0) d += 86400; printf "%d ", d } last = t }' \
  "$work/lines.txt")
if awk -v g="$gaps" 'BEGIN { n = split(g, a, " "); for (i = 1; i <= n; i++) if (a[i] < 59 || a[i] > 61) exit 1 }'; then
  pass "lines a minute apart by their own times (seconds: $gaps)"
else fail "lines not a minute apart by their own times (seconds: $gaps)"; fi
say "minute  sent(log)  sent(kernel)  received(log)  received(kernel)  VmRSS kB  GDI objects"
paste -d' ' "$work/lines.txt" "$marks" | awk -F'[, ]' -v pct="$tolerance_percent" -v slack="$tolerance_bytes" '
  {
    sent = $8; received = $9; tx = $13; rx = $14; rss = $15; gdi = $16
    if (NR == 1) { printf "%6d  %9d  %12s  %13d  %16s  %8d  %s\n", NR, sent, "-", received, "-", rss, gdi }
    else {
      ks = tx - lastTx; kr = rx - lastRx
      bad = (sent - ks > ks * pct / 100 + slack || ks - sent > ks * pct / 100 + slack ||
             received - kr > kr * pct / 100 + slack || kr - received > kr * pct / 100 + slack)
      printf "%6d  %9d  %12d  %13d  %16d  %8d  %s%s\n", NR, sent, ks, received, kr, rss, gdi, bad ? "  MISMATCH" : ""
      mismatches += bad
    }
    lastTx = tx; lastRx = rx
  }
  END { exit mismatches > 0 }' | tee -a "$report_file"
if [ "${PIPESTATUS[1]}" -eq 0 ]; then
  pass "every line after the first matches the kernel's counters within ${tolerance_percent}% + $tolerance_bytes bytes"
else fail "log amounts differ from the kernel's counters"; fi

# Memory and GDI objects: at the first line and at the last.
read -r first_rss first_gdi < <(awk 'NR == 1 { print $5, $6 }' "$marks")
read -r last_rss last_gdi < <(awk 'END { print $5, $6 }' "$marks")
if [ -n "${first_rss:-}" ] && [ -n "${last_rss:-}" ] && [ $((last_rss - first_rss)) -le 1536 ]; then
  pass "resident memory flat: $first_rss kB at minute 1, $last_rss kB at the end"
else fail "resident memory grew: ${first_rss:-?} kB at minute 1, ${last_rss:-?} kB at the end"; fi
if [ "$gdi_trace" = 1 ]; then
  if [ "${first_gdi:-}" != "-" ] && [ "${last_gdi#*-}" -le $((${first_gdi#*-} + 4)) ] 2>/dev/null; then
    pass "GDI objects flat: $first_gdi at minute 1, $last_gdi at the end"
  else fail "GDI objects grew: ${first_gdi:-?} at minute 1, ${last_gdi:-?} at the end"; fi
fi

# Still alive at the end: a quiet moment, then a burst; the window's panel and the tray icon change.
read_main 5000
x=$win_x y=$win_y
tray=$(drv tray 5000)
ix=$(field "$tray" icon0_x) iy=$(field "$tray" icon0_y) iw=$(field "$tray" icon0_w) ih=$(field "$tray" icon0_h)
sleep 3
shot soak-quiet >/dev/null
send_by_minute 1 6 "60000" "25000"
sleep 3
shot soak-burst >/dev/null
differs() {  # differs x y w h
  convert "$out/soak-quiet.png" -crop "$3x$4+$1+$2" +repage "$work/a.png"
  convert "$out/soak-burst.png" -crop "$3x$4+$1+$2" +repage "$work/b.png"
  local n
  n=$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 | cut -d' ' -f1)
  echo "$n"
  [ "${n:-0}" -gt 0 ] 2>/dev/null
}
if [ -n "$x" ] && n=$(differs $((x + 10)) $((y + 11)) 160 100); then
  pass "the graph panel still changes at the end ($n pixels)"
else fail "the graph panel did not change at the end (${n:-no window})"; fi
if [ -n "$ix" ] && n=$(differs "$ix" "$iy" "$iw" "$ih"); then
  pass "the tray icon still changes at the end ($n pixels)"
else fail "the tray icon did not change at the end (${n:-no tray icon})"; fi
kill -0 "$app_pid" 2>/dev/null && pass "the meter is still running" || fail "the meter has ended"
finish
