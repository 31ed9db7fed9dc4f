#!/usr/bin/env bash
# Sets up the machine, builds the native, win32 and win64 builds and runs every test: natively, then
# both Windows builds under Wine (the 32-bit build under the 32-bit loader), and builds the release
# twice alike and checks its setup programs installed, upgraded and removed under Wine.
# Prints one line per suite, then one line "N passed, N failed, N skipped" over all of them.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUINTREL_BUILD_DIR:-$root/build}
jobs=$(nproc)

bash "$root/scripts/setup.sh" || exit 1
. "$root/scripts/wine_env.sh"

passed=0 failed=0 skipped=0
summary=()
# Adds one suite's counts to the totals and to the summary lines.
tally() { # tally name passed failed skipped
  passed=$((passed + $2)) failed=$((failed + $3)) skipped=$((skipped + $4))
  summary+=("$1: $2 passed, $3 failed, $4 skipped")
}
# The counts of a ctest log ("N tests failed out of M"); a log without that line counts as one failure.
tally_ctest() { # tally_ctest name log
  local line total fail skip disabled
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$2" | tail -1)
  if [ -z "$line" ]; then tally "$1" 0 1 0; return; fi
  fail=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  # Skipped tests count in ctest's total; disabled ones do not.
  skip=$(grep -cE '^[[:space:]]*[0-9]+ - .*\(Skipped\)$' "$2")
  disabled=$(grep -cE '^[[:space:]]*[0-9]+ - .*\(Disabled\)$' "$2")
  tally "$1" $((total - fail - skip)) "$fail" $((skip + disabled))
}

configure_and_build() { # dir, extra cmake args...
  local dir=$1
  shift
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >"$dir.configure.log" 2>&1 &&
    cmake --build "$dir" -j "$jobs" >"$dir.build.log" 2>&1
}
build_failed() { # build_failed name dir
  echo "$1 build failed"
  tail -30 "$2.configure.log" "$2.build.log" 2>/dev/null
  tally "$1" 0 1 0
}

mkdir -p "$build"
echo "== native core and unit tests (ASan, UBSan)"
if configure_and_build "$build/native"; then
  (cd "$build/native" && ctest -j "$jobs" --output-on-failure) 2>&1 | tee "$build/native.test.log" | tail -3
  tally_ctest native "$build/native.test.log"
else
  build_failed native "$build/native"
fi

echo "== format: src/ against the checked-in .clang-format"
unformatted=$(cd "$root" && find src -name '*.cpp' -o -name '*.h' | sort | while read -r f; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || echo "$f"
done)
if [ -z "$unformatted" ]; then tally format 1 0 0; else echo "not formatted: $unformatted"; tally format 0 1 0; fi

echo "== fuzzing (libFuzzer, about 30 s)"
if bash "$root/scripts/fuzz.sh"; then tally fuzz 1 0 0; else tally fuzz 0 1 0; fi

echo "== win32 and win64 builds (i686 and x86_64, both released)"
win32_built=false win64_built=false
configure_and_build "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" &&
  win32_built=true || build_failed win32 "$build/win32"
configure_and_build "$build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" &&
  win64_built=true || build_failed win64 "$build/win64"

if ($win32_built || $win64_built) && ! [ -x "$WINE64" ]; then
  echo "win32, win64: Wine is not installed ($WINE64); the Windows suites are skipped"
  tally win32 0 0 1
  tally win64 0 0 1
  win32_built=false win64_built=false
fi
if $win32_built || $win64_built; then
  start_xvfb && make_wine_prefix
  trap 'remove_wine_prefix; stop_xvfb' EXIT
  if $win64_built; then hold_wine_prefix "$build/win64/qdriver.exe"; else hold_wine_prefix "$build/win32/qdriver.exe"; fi
  if $win32_built; then
    echo "== win32 program and tests under 32-bit Wine"
    if reason=$(can_run_win32 "$build/win32/bitness_probe.exe"); then
      reason=
      (cd "$build/win32" && ctest -j "$jobs" --timeout 600 --output-on-failure) 2>&1 |
        tee "$build/win32.test.log" | tail -3
      tally_ctest win32 "$build/win32.test.log"
    else
      echo "win32: this machine cannot run 32-bit Windows programs: $reason; the 32-bit suite is skipped"
      tally win32 0 0 1
    fi
  fi
  if $win64_built; then
    echo "== win64 program and tests under Wine"
    (cd "$build/win64" && ctest -j "$jobs" --timeout 600 --output-on-failure) 2>&1 |
      tee "$build/win64.test.log" | tail -3
    tally_ctest win64 "$build/win64.test.log"
  fi
  if $win32_built && $win64_built && [ -n "${reason:-}" ]; then
    echo "arithmetic: needs the 32-bit build running; skipped"
    tally arithmetic 0 0 1
  elif $win32_built && $win64_built; then
    echo "== one arithmetic: the figures of the win32 and win64 builds, byte for byte"
    "$WINE32" "$build/win32/arithmetic_report.exe" >"$build/arithmetic-win32.txt" 2>/dev/null
    "$WINE64" "$build/win64/arithmetic_report.exe" >"$build/arithmetic-win64.txt" 2>/dev/null
    if [ -s "$build/arithmetic-win64.txt" ] && cmp "$build/arithmetic-win32.txt" "$build/arithmetic-win64.txt"; then
      echo "equal: $(wc -l <"$build/arithmetic-win64.txt") lines"
      tally arithmetic 1 0 0
    else
      diff "$build/arithmetic-win32.txt" "$build/arithmetic-win64.txt" | head -20
      tally arithmetic 0 1 0
    fi
  fi
  remove_wine_prefix
  stop_xvfb
  trap - EXIT
fi

echo "== release: built twice alike; the 64-bit setup program (and the 32-bit one where it runs) installed, upgraded, run and removed under Wine"
bash "$root/tests/release/release_check.sh" >"$build/release.test.log" 2>&1
grep -v '^PASS: ' "$build/release.test.log" | tail -20
counts=$(sed -nE 's/^release: ([0-9]+) passed, ([0-9]+) failed, ([0-9]+) skipped$/\1 \2 \3/p' "$build/release.test.log")
if [ -n "$counts" ]; then tally release $counts; else tally release 0 1 0; fi

echo
printf '%s\n' "${summary[@]}"
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
