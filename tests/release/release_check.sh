#!/usr/bin/env bash
# Builds the release (scripts/release.sh) and checks it as a Windows user meets it: the zip, then
# the setup program under the 32-bit Wine loader in a fresh prefix on its own virtual screen (silent
# install, files, shortcuts, uninstall entry, the program started through its Start-menu shortcut
# writing its log in the log folder, silent uninstall keeping logs and settings).
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

# --- the artefacts
for tool in makensis zip unzip i686-w64-mingw32-g++-posix; do
  if ! command -v "$tool" >/dev/null; then
    echo "release: $tool is not installed here; the release is not built or checked"
    skipped=$((skipped + 1))
    finish
  fi
done
started=$SECONDS
if bash "$root/scripts/release.sh"; then
  pass "release built in $((SECONDS - started)) s"
else
  fail "release built"
  finish
fi
version=$(sed -n 's/^project(Quintrel VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
zip=$dist/Quintrel-$version-win32.zip
setup=$dist/Quintrel-$version-setup.exe
check "the zip and the setup program are named for version $version" test -s "$zip" -a -s "$setup"
sums_match() { [ "$(wc -l <"$dist/SHA256SUMS")" -eq 2 ] && (cd "$dist" && sha256sum --quiet -c SHA256SUMS); }
check "SHA256SUMS holds the zip and the setup program and matches them" sums_match

mkdir -p "$work/zip"
unzip -q "$zip" -d "$work/zip"
check "the zip holds Quintrel.exe and README.txt and nothing else" \
  test "$(cd "$work/zip" && ls | tr '\n' ' ')" = "Quintrel.exe README.txt "
exe=$work/zip/Quintrel.exe
readme=$work/zip/README.txt
is_win32_program() { i686-w64-mingw32-objdump -f "$exe" | grep -q 'file format pei-i386'; }
check "Quintrel.exe is a 32-bit Windows program" is_win32_program
is_stripped() { ! i686-w64-mingw32-nm "$exe" 2>/dev/null | grep -q .; }
check "Quintrel.exe is stripped" is_stripped
readme_tells() {
  grep -q "^Quintrel $version" "$readme" && grep -q 'Documents.Quintrel' "$readme" &&
    grep -qF '%APPDATA%\Quintrel\Quintrel.ini' "$readme" && grep -q 'Uninstall' "$readme"
}
check "README.txt names the version, the log and settings folders and how to remove it" readme_tells

# The resources as built into the program, decompiled: the version agrees with the project's.
resources=$(i686-w64-mingw32-windres -J coff -O rc -i "$exe" 2>/dev/null)
numbers="${version%%.*}, ${version#*.}, 0, 0"
version_resource_agrees() {
  grep -qx " FILEVERSION $numbers" <<<"$resources" && grep -qx " PRODUCTVERSION $numbers" <<<"$resources" &&
    grep -qF "VALUE \"FileVersion\", \"$version\"" <<<"$resources" &&
    grep -qF "VALUE \"ProductVersion\", \"$version\"" <<<"$resources"
}
check "the version resource says $numbers and \"$version\"" version_resource_agrees
has_manifest() { sed -n '/^1 24 /,/^END/p' <<<"$resources" | grep -q 'asInvoker'; }
check "the program carries its manifest (resource 1 of type 24), asking to run as the user" has_manifest

# --- under Wine
mkdir -p "$work/tools"
i686-w64-mingw32-g++-posix -O1 -static "$root/tests/tools/bitness_probe.cpp" -o "$work/tools/bitness_probe.exe" &&
  i686-w64-mingw32-g++-posix -std=c++17 -O1 -static -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0501 \
    "$root/tests/tools/qdriver.cpp" -o "$work/tools/qdriver.exe" -luser32 -lgdi32 -lcomctl32 -lshell32 ||
  { fail "the test tools built"; finish; }
if ! reason=$(can_run_win32 "$work/tools/bitness_probe.exe"); then
  echo "release: this machine cannot run 32-bit Windows programs: $reason; the setup program is not checked"
  skipped=$((skipped + 1))
  finish
fi

# Wine links the prefix's Documents and Desktop to the home folder: a temporary one.
export HOME=$work/home
mkdir -p "$HOME"
start_xvfb && make_wine_prefix || { fail "a Wine prefix and a virtual screen"; finish; }

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

# Waits until every program in the prefix has ended; ends them after a minute.
settle() { timeout 60 "$WINESERVER" -w || "$WINESERVER" -k; }
install() { # install [setup options]
  timeout 120 "$WINE32" "$setup" /S "$@" >/dev/null 2>&1
  local status=$?
  settle
  return $status
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

started=$SECONDS
check "the setup program installs silently (/S)" install
echo "silent install: $((SECONDS - started)) s"
for file in Quintrel.exe README.txt Uninstall.exe; do
  check "installed $file" test -s "$program/$file"
done
check "the installed Quintrel.exe is the one of the zip" cmp -s "$program/Quintrel.exe" "$exe"
check "the log folder Documents\\Quintrel is made" test -d "$logs"
check "the Start-menu shortcut starts the installed program in the log folder" \
  test "$(link_of "$shortcut")" = "$program_link"
check "the second shortcut opens the log folder" \
  test "$(link_of "$logs_shortcut" | cut -d'|' -f1)" = "$(lower "$logs_win")"
check "no sign-in shortcut unless asked for" test ! -e "$startup_shortcut"

check "uninstall entry: DisplayName" test "$(entry DisplayName)" = Quintrel
check "uninstall entry: DisplayVersion is $version" test "$(entry DisplayVersion)" = "$version"
check "uninstall entry: Publisher" test -n "$(entry Publisher)"
check "uninstall entry: DisplayIcon is the program" test "$(lower "$(entry DisplayIcon)")" = "$(lower "$program_win\\Quintrel.exe,0")"
check "uninstall entry: UninstallString is the installed uninstaller" \
  test "$(lower "$(entry UninstallString)")" = "$(lower "\"$program_win\\Uninstall.exe\"")"
size_kb=$(($(entry EstimatedSize)))
files_kb=$(($(cat "$program"/* | wc -c) / 1024))
check "uninstall entry: EstimatedSize $size_kb KB is the installed files' $files_kb KB" \
  test "$size_kb" -ge "$files_kb" -a "$size_kb" -le $((files_kb + 4))

check "installing again with /STARTUP adds the sign-in shortcut" install /STARTUP
check "the sign-in shortcut starts the program in the log folder too" \
  test "$(link_of "$startup_shortcut")" = "$program_link"
install_without_startup() { install && test ! -e "$startup_shortcut"; }
check "installing again without it takes the sign-in shortcut away" install_without_startup
install /STARTUP

# The program as the user starts it: through the Start-menu shortcut.
"$WINE64" start /unix "$shortcut" >/dev/null 2>&1 &
log_header=
for _ in $(seq 200); do
  log=$(ls "$logs"/*_Quintrel.csv 2>/dev/null | head -1)
  [ -n "$log" ] && log_header=$(head -1 "$log" | tr -d '\r') && [ -n "$log_header" ] && break
  sleep 0.1
done
check "started from its shortcut, the program writes its log header in the log folder" \
  test "${log_header#Quintrel V1.33 Log file for interface: }" != "$log_header"
check "and no log in the program folder" bash -c "! ls '$program'/*.csv 2>/dev/null | grep -q ."
qdriver() { "$WINE32" "$work/tools/qdriver.exe" "$@" >/dev/null 2>&1; }
check "the program's window is up" qdriver main 10000
qdriver command 537 # Exit, from the popup menu
check "Exit ends the program" qdriver gone 10000
check "and leaves its settings in %APPDATA%\\Quintrel\\Quintrel.ini" test -s "$settings/Quintrel.ini"
settle

started=$SECONDS
# The uninstaller copies itself out of the program folder and runs from there; wait for all of it.
timeout 120 "$WINE32" "$program/Uninstall.exe" /S >/dev/null 2>&1
settle
echo "silent uninstall: $((SECONDS - started)) s"
check "the silent uninstall (/S) removes the program folder" test ! -e "$program"
check "and the three shortcuts" test ! -e "$shortcut" -a ! -e "$logs_shortcut" -a ! -e "$startup_shortcut"
check "and the uninstall entry" bash -c "! '$WINE64' reg query '$key' >/dev/null 2>&1"
check "and keeps the traffic log" test -s "$log"
check "and keeps the settings" test -s "$settings/Quintrel.ini"
finish
