#!/usr/bin/env bash
# Builds the release (scripts/release.sh) twice, the second time from a copy of the sources into
# other folders, prints the SHA-256 of the four files of both builds and checks they are the same
# bytes; checks the zips and programs; then checks the setup programs as a Windows user meets them,
# in a fresh 64-bit Wine prefix on its own virtual screen: folders they cannot install in, the 64-bit
# setup's silent install (files, shortcuts, uninstall entry), the program started from its
# Start-menu and sign-in shortcuts writing its log in the log folder, upgrades while the meter runs
# (from and to the 32-bit install where this machine runs 32-bit programs), a meter that does not
# end, the silent uninstall while the meter runs keeping logs and settings; and where 32-bit programs
# run, the 32-bit setup refused on Windows 2000, then installed afresh, run and removed.
# Prints PASS/FAIL/SKIP lines and last "release: N passed, N failed, N skipped"; exits 1 on a failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${QUINTREL_BUILD_DIR:-$root/build}
dist=$build/dist
. "$root/scripts/wine_env.sh"
# Only the prefix made below is ever removed, never one named by the caller's environment.
unset WINEPREFIX
# No menu entries or file associations in the home folder for the installed shortcuts.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe="

passed=0 failed=0 skipped=0
pass() { echo "PASS: $*"; passed=$((passed + 1)); }
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }
skip() { echo "SKIP: $*"; skipped=$((skipped + 1)); }
check() { # check "description" command...
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
finish() {
  echo "release: $passed passed, $failed failed, $skipped skipped"
  [ "$failed" -eq 0 ]
  exit
}

work=$(mktemp -d /tmp/quintrel-release.XXXXXX)
cleanup() {
  remove_wine_prefix
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# --- the artefacts, built twice
for tool in makensis zip unzip x86_64-w64-mingw32-g++-posix i686-w64-mingw32-g++-posix; do
  if ! command -v "$tool" >/dev/null; then
    echo "release: $tool is not installed here; the release is not built or checked"
    skipped=$((skipped + 1))
    finish
  fi
done
version=$(sed -n 's/^project(Quintrel VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
files=("Quintrel-$version-setup.exe" "Quintrel-$version-win64.zip" "Quintrel-$version-setup-x86.exe"
  "Quintrel-$version-win32.zip")
started=$SECONDS
if bash "$root/scripts/release.sh"; then
  pass "release built in $((SECONDS - started)) s"
else
  fail "release built"
  finish
fi

# The second build: a copy of the sources without their history, in other folders, minutes later,
# given the commit's time as release.sh takes it from the history.
mkdir -p "$work/source"
tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$work/source" -xf -
started=$SECONDS
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0)}
if SOURCE_DATE_EPOCH=$epoch QUINTREL_BUILD_DIR=$work/rebuild bash "$work/source/scripts/release.sh" >/dev/null; then
  pass "release built again from a copy of the sources in $((SECONDS - started)) s"
else
  fail "release built again from a copy of the sources"
fi
echo "reproducibility: the SHA-256 of each file, built in $build and in $work/rebuild:"
(cd "$dist" && sha256sum "${files[@]}") | sed 's/^/  first:  /'
(cd "$work/rebuild/dist" && sha256sum "${files[@]}") 2>&1 | sed 's/^/  second: /'
for file in "${files[@]}"; do
  check "$file is the same bytes in both builds" cmp -s "$dist/$file" "$work/rebuild/dist/$file"
done
rm -rf "$work/source" "$work/rebuild"

check "the zips and the setup programs are named for version $version" \
  test -s "$dist/${files[0]}" -a -s "$dist/${files[1]}" -a -s "$dist/${files[2]}" -a -s "$dist/${files[3]}"
sums_match() { [ "$(wc -l <"$dist/SHA256SUMS")" -eq 4 ] && (cd "$dist" && sha256sum --quiet -c SHA256SUMS); }
check "SHA256SUMS holds the four files and matches them" sums_match
setup64=$dist/${files[0]}
setup32=$dist/${files[2]}
pe_format_is() { "${3:-x86_64}-w64-mingw32-objdump" -f "$1" 2>/dev/null | grep -q "file format $2\$"; }
check "the setup program is a 64-bit program" pe_format_is "$setup64" pei-x86-64
check "the -x86 setup program is a 32-bit program" pe_format_is "$setup32" pei-i386 i686

# One zip's program and README: bits, format, stripped, version resource and manifest.
check_zip() { # check_zip 64|32 zip triplet pe-format
  local bits=$1 zip=$2 triplet=$3 format=$4 dir=$work/zip$1 exe resources numbers
  mkdir -p "$dir"
  unzip -q "$zip" -d "$dir"
  exe=$dir/Quintrel.exe
  check "the $bits-bit zip holds Quintrel.exe and README.txt and nothing else" \
    test "$(cd "$dir" && ls | tr '\n' ' ')" = "Quintrel.exe README.txt "
  check "its Quintrel.exe is a $bits-bit Windows program" pe_format_is "$exe" "$format" "${triplet%%-*}"
  check "and is stripped" bash -c "! $triplet-nm '$exe' 2>/dev/null | grep -q ."
  readme_tells() {
    grep -q "^Quintrel $version ($bits-bit)" "$dir/README.txt" && grep -q 'Documents.Quintrel' "$dir/README.txt" &&
      grep -qF '%APPDATA%\Quintrel\Quintrel.ini' "$dir/README.txt" && grep -q 'Uninstall' "$dir/README.txt" &&
      grep -qF "Quintrel-$version-setup-x86.exe" "$dir/README.txt"
  }
  check "README.txt names the version and build, the log and settings folders, how to remove it and the other build" \
    readme_tells
  # The resources as built into the program, decompiled: the version agrees with the project's.
  resources=$("$triplet-windres" -J coff -O rc -i "$exe" 2>/dev/null)
  numbers="${version%%.*}, ${version#*.}, 0, 0"
  version_resource_agrees() {
    grep -qx " FILEVERSION $numbers" <<<"$resources" && grep -qx " PRODUCTVERSION $numbers" <<<"$resources" &&
      grep -qF "VALUE \"FileVersion\", \"$version\"" <<<"$resources" &&
      grep -qF "VALUE \"ProductVersion\", \"$version\"" <<<"$resources" &&
      grep -qF "VALUE \"FileDescription\", \"Quintrel network traffic meter ($bits-bit)\"" <<<"$resources"
  }
  check "the version resource says $numbers, \"$version\" and the $bits-bit build" version_resource_agrees
  has_manifest() { sed -n '/^1 24 /,/^END/p' <<<"$resources" | grep -q 'asInvoker'; }
  check "the program carries its manifest (resource 1 of type 24), asking to run as the user" has_manifest
}
check_zip 64 "$dist/${files[1]}" x86_64-w64-mingw32 pei-x86-64
check_zip 32 "$dist/${files[3]}" i686-w64-mingw32 pei-i386
exe64=$work/zip64/Quintrel.exe
exe32=$work/zip32/Quintrel.exe

# --- under Wine
if ! [ -x "$WINE64" ]; then
  skip "Wine is not installed ($WINE64); the setup programs are not run"
  finish
fi
mkdir -p "$work/tools"
x86_64-w64-mingw32-g++-posix -std=c++17 -O1 -static -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0501 \
  "$root/tests/tools/qdriver.cpp" -o "$work/tools/qdriver.exe" -luser32 -lgdi32 -lcomctl32 -lshell32 &&
  i686-w64-mingw32-g++-posix -O1 -static "$root/tests/tools/bitness_probe.cpp" -o "$work/tools/bitness_probe.exe" ||
  { fail "the test tools built"; finish; }

# Wine links the prefix's Documents and Desktop to the home folder: a temporary one.
export HOME=$work/home
mkdir -p "$HOME"
start_xvfb && make_wine_prefix || { fail "a Wine prefix and a virtual screen"; finish; }
if reason=$(can_run_win32 "$work/tools/bitness_probe.exe"); then
  runs_win32=true
else
  runs_win32=false
  echo "release: this machine cannot run 32-bit Windows programs: $reason; the 32-bit setup program is not run"
fi

win_env() { "$WINE64" cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
unix_of() { "$WINE64" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
lower() { tr '[:upper:]' '[:lower:]' <<<"$1"; }
program_win="$(win_env LOCALAPPDATA)\\Programs\\Quintrel"
logs_win="$(win_env USERPROFILE)\\Documents\\Quintrel"
settings_win="$(win_env APPDATA)\\Quintrel"
menu_win="$(win_env APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs"
program=$(unix_of "$program_win")
logs=$(unix_of "$logs_win")
settings=$(unix_of "$settings_win")
menu=$(unix_of "$menu_win")
shortcut=$menu/Quintrel.lnk
logs_shortcut="$menu/Quintrel traffic logs.lnk"
startup_shortcut=$(unix_of "$menu_win\\Startup")/Quintrel.lnk
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quintrel'
wow_key='HKCU\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Quintrel'

# Waits until every program in the prefix has ended; ends them after a minute.
settle() { timeout 60 "$WINESERVER" -w || "$WINESERVER" -k; }
# The setup program, silently; the loader returns when it has ended (a meter it starts runs on).
run_setup() { # run_setup loader setup [options]
  timeout 120 "$1" "$2" /S "${@:3}" >/dev/null 2>&1
}
# One value of the uninstall entry, as the registry gives it.
entry() {
  "$WINE64" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$1 *REG_[A-Z]* *//p"
}
# The shortcut's target and working folder: "target|workdir", in lower case.
link_of() {
  local info
  info=$(python3 "$root/tests/release/lnk_info.py" "$1") || return 1
  lower "$(sed -n 's/^target=//p' <<<"$info")|$(sed -n 's/^workdir=//p' <<<"$info")"
}
program_link="$(lower "$program_win\\Quintrel.exe|$logs_win")"
# No program, shortcuts or uninstall entry (the log folder, once made, is kept by design).
nothing_installed() {
  test ! -e "$program" -a ! -e "$shortcut" -a ! -e "$logs_shortcut" -a ! -e "$startup_shortcut" &&
    ! "$WINE64" reg query "$key" >/dev/null 2>&1
}
qdriver() { "$WINE64" "$work/tools/qdriver.exe" "$@" 2>/dev/null | tr -d '\r'; }
# The running meters: the processes of a Quintrel.exe holding a log of the log folder open.
meter_pids() {
  local real p
  real=$(realpath "$logs" 2>/dev/null) || return 0
  for p in /proc/[0-9]*; do
    grep -qa 'Quintrel\.exe' "$p/cmdline" 2>/dev/null && ls -l "$p/fd" 2>/dev/null | grep -qF " $real/" &&
      echo "${p#/proc/}"
  done
}
# Waits up to 20 s for one meter, another than the one given, with its log open in the log folder.
new_meter_runs() { # new_meter_runs [old pid]
  local pids
  for _ in $(seq 200); do
    pids=$(meter_pids)
    [ -n "$pids" ] && [ "$pids" != "${1:-}" ] && [ "$(wc -w <<<"$pids")" -eq 1 ] && return 0
    sleep 0.1
  done
  return 1
}
window_up() { qdriver main 10000 >/dev/null; }
# Whether the process has ended (a zombie not yet reaped by its parent has), waiting up to 5 s.
process_ended() { # process_ended pid
  for _ in $(seq 50); do
    [ -e "/proc/$1" ] && ! grep -q '^State:[[:space:]]*Z' "/proc/$1/status" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}
# The meter's Exit saves its settings, which the caller removed before (a killed meter saves none).
ended_by_exit() { [ -n "$1" ] && process_ended "$1" && test -s "$settings/Quintrel.ini"; }
start_from() { "$WINE64" start /unix "$1" >/dev/null 2>&1 & }
end_meter() { qdriver command 537 >/dev/null && qdriver gone 10000 >/dev/null && settle; }

# --- folders the setup cannot install in: a clear refusal and nothing installed
echo "blocks the folder below" >"$work/a-file"
run_setup "$WINE64" "$setup64" "/D=$("$WINE64" winepath -w "$work/a-file" | tr -d '\r')\\Quintrel"
check "a folder under a file (/D=): the setup stops with exit code 2" test $? -eq 2
settle
nor_a_log_folder() { nothing_installed && test ! -e "$logs"; }
check "and installs nothing (no program, shortcuts, log folder or uninstall entry)" nor_a_log_folder
# A folder on a read-only file system, silently and on the setup's pages (tests/release/read_only_folder.sh).
mkdir -p "$work/read-only" "$build/release-screens"
read_only_win="$("$WINE64" winepath -w "$work/read-only" | tr -d '\r')\\Programs\\Quintrel"
read_only_shot=$build/release-screens/setup_read_only_folder.png
rm -f "$read_only_shot"
if unshare -m true 2>/dev/null; then
  "$WINESERVER" -k >/dev/null 2>&1
  "$WINESERVER" -w
  read_only=$(unshare -m bash "$root/tests/release/read_only_folder.sh" "$work/read-only" "$read_only_win" \
    "$setup64" "Quintrel $version (64-bit) Setup" "$read_only_shot")
  [ $? -eq 99 ] && read_only=
fi
if [ -z "${read_only:-}" ]; then
  skip "a folder that cannot be written: no read-only mount here (unshare -m, mount)"
else
  check "a folder that cannot be written, silently: the setup stops with exit code 2" grep -qx 'silent=2' <<<"$read_only"
  check "on its pages: Install shows why it cannot install there ($read_only_shot)" grep -qx 'message=1' <<<"$read_only"
  check "and keeps the folder page open" grep -qx 'page_kept=1' <<<"$read_only"
  check "and installs nothing" nor_a_log_folder
fi

# A fresh install by one setup program, silently, and its choices: files, shortcuts, entry.
fresh_install() { # fresh_install bits loader setup expected-program
  local bits=$1 size_kb files_kb started=$SECONDS
  install_it() {
    run_setup "$2" "$3" "${@:5}"
    local status=$?
    settle
    return $status
  }
  check "the $bits-bit setup program installs silently (/S)" install_it "$@"
  echo "silent install, $bits-bit: $((SECONDS - started)) s"
  for file in Quintrel.exe README.txt Uninstall.exe; do
    check "installed $file" test -s "$program/$file"
  done
  check "the installed Quintrel.exe is the one of the $bits-bit zip" cmp -s "$program/Quintrel.exe" "$4"
  check "the log folder Documents\\Quintrel is made" test -d "$logs"
  check "the Start-menu shortcut starts the installed program in the log folder" \
    test "$(link_of "$shortcut")" = "$program_link"
  check "the second shortcut opens the log folder" \
    test "$(link_of "$logs_shortcut" | cut -d'|' -f1)" = "$(lower "$logs_win")"
  check "no sign-in shortcut unless asked for" test ! -e "$startup_shortcut"

  check "uninstall entry: DisplayName" test "$(entry DisplayName)" = Quintrel
  check "uninstall entry: DisplayVersion is $version" test "$(entry DisplayVersion)" = "$version"
  check "uninstall entry: Publisher" test -n "$(entry Publisher)"
  check "uninstall entry: Comments name the $bits-bit build" test "$(entry Comments)" = "$bits-bit build"
  check "uninstall entry: DisplayIcon is the program" \
    test "$(lower "$(entry DisplayIcon)")" = "$(lower "$program_win\\Quintrel.exe,0")"
  check "uninstall entry: UninstallString is the installed uninstaller" \
    test "$(lower "$(entry UninstallString)")" = "$(lower "\"$program_win\\Uninstall.exe\"")"
  size_kb=$(($(entry EstimatedSize)))
  files_kb=$(($(cat "$program"/* | wc -c) / 1024))
  check "uninstall entry: EstimatedSize $size_kb KB is the installed files' $files_kb KB" \
    test "$size_kb" -ge "$files_kb" -a "$size_kb" -le $((files_kb + 4))

  check "installing again with /STARTUP adds the sign-in shortcut" install_it "$@" /STARTUP
  check "the sign-in shortcut starts the program in the log folder too" \
    test "$(link_of "$startup_shortcut")" = "$program_link"
  install_without_startup() { install_it "$@" && test ! -e "$startup_shortcut"; }
  check "installing again without it takes the sign-in shortcut away" install_without_startup "$@"
  install_it "$@" /STARTUP
}

# The program as the user starts it: through the Start-menu shortcut.
start_from_menu() {
  start_from "$shortcut"
  check "started from its Start-menu shortcut, the meter runs with its log open in the log folder" new_meter_runs
  check "and no log in the program folder" bash -c "! ls '$program'/*.csv 2>/dev/null | grep -q ."
  check "the program's window is up" window_up
}

# An upgrade while the meter runs: the setup ends it with its own Exit (which saves the settings,
# removed here beforehand), replaces the program and starts the new one as its shortcuts do.
upgrade_while_running() { # upgrade_while_running what loader setup expected-program bits
  local what=$1 old_pid
  old_pid=$(meter_pids)
  rm -f "$settings/Quintrel.ini"
  run_setup "$2" "$3" /STARTUP
  check "$what: the setup succeeds" test $? -eq 0
  check "$what: the meter ended by its own Exit, saving its settings" ended_by_exit "$old_pid"
  check "$what: the program is replaced" cmp -s "$program/Quintrel.exe" "$4"
  check "$what: the new program runs again, its log in the log folder" new_meter_runs "$old_pid"
  check "$what: its window is up" window_up
  check "$what: one uninstall entry, of the $5-bit build" \
    bash -c "test '$(entry Comments)' = '$5-bit build' && ! '$WINE64' reg query '$wow_key' >/dev/null 2>&1"
  check "$what: the traffic log and the sign-in shortcut are kept" \
    test "$(head -1 "$log" | tr -d '\r')" = "$log_header" -a -e "$startup_shortcut"
}

# The silent uninstall while the meter runs.
uninstall_while_running() { # uninstall_while_running bits loader
  local old_pid started=$SECONDS
  old_pid=$(meter_pids)
  rm -f "$settings/Quintrel.ini"
  # The uninstaller copies itself out of the program folder and runs from there; wait for all of it.
  timeout 120 "$2" "$program/Uninstall.exe" /S >/dev/null 2>&1
  settle
  echo "silent uninstall, $1-bit: $((SECONDS - started)) s"
  check "the $1-bit silent uninstall (/S) ends the running meter by its own Exit, saving its settings" \
    ended_by_exit "$old_pid"
  check "and no meter runs" test -z "$(meter_pids)"
  check "and removes the program folder" test ! -e "$program"
  check "and the three shortcuts" test ! -e "$shortcut" -a ! -e "$logs_shortcut" -a ! -e "$startup_shortcut"
  check "and the uninstall entry" bash -c "! '$WINE64' reg query '$key' >/dev/null 2>&1"
  check "and keeps the traffic log" test "$(head -1 "$log" | tr -d '\r')" = "$log_header"
  check "and keeps the settings" test -s "$settings/Quintrel.ini"
}

# --- the 64-bit setup program, on every machine
fresh_install 64 "$WINE64" "$setup64" "$exe64"
start_from_menu
log_header=
for _ in $(seq 100); do
  log=$(ls "$logs"/*_Quintrel.csv 2>/dev/null | head -1)
  [ -n "$log" ] && log_header=$(head -1 "$log" | tr -d '\r') && [ -n "$log_header" ] && break
  sleep 0.1
done
check "the meter's log header is in the log folder" \
  test "${log_header#Quintrel V1.33 Log file for interface: }" != "$log_header"

if $runs_win32; then
  upgrade_while_running "the 32-bit setup over the running 64-bit meter" "$WINE32" "$setup32" "$exe32" 32
  check "the uninstaller is the 32-bit one" pe_format_is "$program/Uninstall.exe" pei-i386 i686
  upgrade_while_running "the 64-bit setup over the running 32-bit install" "$WINE64" "$setup64" "$exe64" 64
else
  skip "the 32-bit setup over the running 64-bit meter, and back: this machine cannot run 32-bit programs"
  # Another program to replace: the installed one with bytes after its end, which Windows ignores.
  end_meter
  echo "an older build" >>"$program/Quintrel.exe"
  start_from "$shortcut"
  new_meter_runs
  upgrade_while_running "the 64-bit setup over a running older meter" "$WINE64" "$setup64" "$exe64" 64
fi
check "the uninstaller is the 64-bit one" pe_format_is "$program/Uninstall.exe" pei-x86-64

# A meter that does not end (stopped here): the setup waits for it, then gives up and changes nothing.
hung_pid=$(meter_pids)
cp "$program/Quintrel.exe" "$work/installed.exe"
kill -STOP "$hung_pid"
started=$SECONDS
run_setup "$WINE64" "$setup64" /STARTUP
check "a meter that does not end: the setup gives up after $((SECONDS - started)) s with exit code 2" test $? -eq 2
check "and changes nothing" bash -c "cmp -s '$program/Quintrel.exe' '$work/installed.exe' && test -e '$startup_shortcut'"
kill -CONT "$hung_pid"
check "the meter, going on, ends by the Exit the setup sent it" process_ended "$hung_pid"

# The sign-in shortcut, as Windows starts it at sign-in.
start_from "$startup_shortcut"
check "started from the sign-in shortcut, the meter runs with its log in the log folder" new_meter_runs
check "and its window is up" window_up
uninstall_while_running 64 "$WINE64"

# --- the 32-bit setup program, where this machine runs it: installed afresh, run and removed
if $runs_win32; then
  # A system it cannot serve: Windows 2000, as Wine tells the setup program its version.
  app_key="HKCU\\Software\\Wine\\AppDefaults\\$(basename "$setup32")"
  "$WINE64" reg add "$app_key" /v Version /d win2k /f >/dev/null 2>&1
  run_setup "$WINE32" "$setup32"
  check "the 32-bit setup program on Windows 2000 stops with exit code 2" test $? -eq 2
  settle
  check "and installs nothing" nothing_installed
  "$WINE64" reg delete "$app_key" /f >/dev/null 2>&1
  fresh_install 32 "$WINE32" "$setup32" "$exe32"
  start_from_menu
  uninstall_while_running 32 "$WINE32"
else
  skip "the 32-bit setup program refused on Windows 2000, installed, run and removed: this machine cannot run 32-bit programs"
fi
finish
