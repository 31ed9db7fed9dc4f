#!/usr/bin/env bash
# Sets up the machine, builds all three builds and runs every test: natively, then under Wine.
# Ends with one line "N passed, N failed" over every suite.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUINTREL_BUILD_DIR:-$root/build}
jobs=$(nproc)

bash "$root/scripts/setup.sh" || exit 1
. "$root/scripts/wine_env.sh"

passed=0
failed=0
skipped=0
# Adds the counts of a ctest log ("N tests failed out of M") to the totals.
count_ctest() {
  local line total fail
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -1)
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  fail=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  # Skipped tests count in ctest's total; disabled ones do not.
  skip=$(grep -cE '^[[:space:]]*[0-9]+ - .*\(Skipped\)$' "$1")
  disabled=$(grep -cE '^[[:space:]]*[0-9]+ - .*\(Disabled\)$' "$1")
  passed=$((passed + total - fail - skip))
  failed=$((failed + fail))
  skipped=$((skipped + skip + disabled))
}

configure_and_build() {  # dir, extra cmake args...
  local dir=$1; shift
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >"$dir.configure.log" 2>&1 &&
    cmake --build "$dir" -j "$jobs" >"$dir.build.log" 2>&1
}

mkdir -p "$build"
echo "== native core and unit tests (ASan, UBSan)"
if configure_and_build "$build/native"; then
  (cd "$build/native" && ctest -j "$jobs" --output-on-failure) 2>&1 | tee "$build/native.test.log" | tail -3
  count_ctest "$build/native.test.log"
else
  echo "native build failed"; tail -30 "$build/native.configure.log" "$build/native.build.log" 2>/dev/null; failed=$((failed + 1))
fi

# -- fuzzing: the libFuzzer targets for a short while, counted as one suite --
echo "== fuzzing (libFuzzer, about 30 s)"
if bash "$root/scripts/fuzz.sh"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
# -- end of fuzzing --

echo "== win32 release program and its tests (i686, built, not run)"
if configure_and_build "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake"; then
  echo "built $build/win32/Quintrel.exe"; passed=$((passed + 1))
else
  echo "win32 build failed"; tail -30 "$build/win32.configure.log" "$build/win32.build.log" 2>/dev/null; failed=$((failed + 1))
fi

echo "== win64 program and tests under Wine"
if configure_and_build "$build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"; then
  start_xvfb && make_wine_prefix
  trap 'remove_wine_prefix; stop_xvfb' EXIT
  (cd "$build/win64" && ctest -j "$jobs" --timeout 600 --output-on-failure) 2>&1 | tee "$build/win64.test.log" | tail -3
  count_ctest "$build/win64.test.log"
  remove_wine_prefix; stop_xvfb; trap - EXIT
else
  echo "win64 build failed"; tail -30 "$build/win64.configure.log" "$build/win64.build.log" 2>/dev/null; failed=$((failed + 1))
fi

echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
