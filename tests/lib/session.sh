# One run of a scripted test or command: what it needs, its work folder, its checks and the one
# cleanup that takes down everything the library set up.
session_name=
work=
app_pid=
helper_pids=()
prefixes=()
mounts=()
failures=0
report_file=

# Skips the run (exit 77) unless every named tool is there; "root" stands for root's rights.
require() { # require root|tool...
  local tool
  for tool in "$@"; do
    if [ "$tool" = root ]; then
      [ "$(id -u)" -eq 0 ] || {
        echo "skipped: needs root for network namespaces and mounts"
        exit 77
      }
    else
      command -v "$tool" >/dev/null || { echo "skipped: needs $tool"; exit 77; }
    fi
  done
}
# Skips the run unless the Wine loader chosen for it is there.
require_loader() {
  [ -x "${wine:-}" ] || { echo "skipped: needs the Wine loader '${wine:-}'"; exit 77; }
}

# The work folder, the run's prefix in it, and the cleanup on any exit; a timeout's or a user's
# signal ends the run through it too.
begin() { # begin name
  session_name=$1
  work=$(mktemp -d "/tmp/quintrel-$1.XXXXXX")
  # Never a prefix of the caller's: the run makes its own.
  export WINEPREFIX=$work/prefix
  screenshots_in "$work/shots"
  trap cleanup EXIT
  trap 'exit 143' TERM HUP
  trap 'exit 130' INT
}

# Ends the program and the helpers, every wineserver of the run's prefixes (they were started inside
# the namespaces and must not outlive them), every process still in the namespaces (a namespace lives
# on while one is in it, deleted name or not), then the mounts, the screen and the work folder.
cleanup() {
  local pid prefix mount
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  for pid in "${helper_pids[@]}"; do kill "$pid" 2>/dev/null; done
  for prefix in "${prefixes[@]}" "${WINEPREFIX:-}"; do
    [ -n "$prefix" ] && WINEPREFIX=$prefix "$WINESERVER" -k >/dev/null 2>&1
  done
  for pid in "${helper_pids[@]}"; do wait "$pid" 2>/dev/null; done
  remove_namespaces
  for mount in "${mounts[@]}"; do umount -l "$mount" 2>/dev/null; done
  stop_xvfb
  if [ -n "$work" ]; then
    chmod -R u+w "$work" 2>/dev/null
    rm -rf "$work"
  fi
}

# A line of the run's output, also appended to report_file when one is set.
say() {
  echo "$*"
  [ -z "$report_file" ] || echo "$*" >>"$report_file"
}
pass() { say "PASS: $*"; }
fail() {
  say "FAIL: $*"
  failures=$((failures + 1))
}
check() { # check "description" command...
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
abort() {
  say "FAIL: $* (cannot go on)"
  exit 1
}
# The summary line and the exit status: 0 when every check passed.
finish() {
  say
  if [ "$failures" -eq 0 ]; then
    say "$session_name: all checks passed"
    exit 0
  fi
  say "$session_name: $failures check(s) failed"
  exit 1
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }
sleep_until() { # sleep_until <ms since run_start>
  local left=$(($1 - ($(now_ms) - run_start)))
  [ "$left" -gt 0 ] && sleep "$(printf '%d.%03d' $((left / 1000)) $((left % 1000)))"
  return 0
}

# The virtual screen the run's windows are drawn on, 1024 x 768 unless a size is given.
start_screen() { # start_screen [WIDTHxHEIGHT]
  start_xvfb "$@" || abort "no virtual screen"
}
# Where shot puts its screenshots; "fresh" removes the ones an earlier run left there.
screenshots_in() { # screenshots_in folder [fresh]
  shots=$1
  mkdir -p "$shots"
  [ "${2:-}" != fresh ] || rm -f "$shots"/*.png
}
