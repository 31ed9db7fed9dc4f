#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each for a bounded time, starting from
# the seeds in fuzz/corpus/<target>; exits non-zero when a target finds a fault (the input that
# caused it is kept in the build's findings folder).
# Usage: scripts/fuzz.sh [seconds-per-target]; by default about 30 seconds over all targets.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUINTREL_BUILD_DIR:-$root/build}/fuzz

command -v clang++ >/dev/null || { echo "fuzz: needs clang++"; exit 1; }
mkdir -p "$build"
if ! CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DQUINTREL_FUZZ=ON -DQUINTREL_TESTS=OFF \
  -DQUINTREL_SANITIZE=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build.configure.log" 2>&1 ||
  ! cmake --build "$build" -j "$(nproc)" >"$build.build.log" 2>&1; then
  echo "fuzz: build failed"
  tail -30 "$build.configure.log" "$build.build.log" 2>/dev/null
  exit 1
fi

targets=()
for source in "$root"/fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
seconds=${1:-$((30 / ${#targets[@]}))}
[ "$seconds" -ge 1 ] 2>/dev/null || seconds=1

failed=0
for target in "${targets[@]}"; do
  # New inputs go into the build's corpus; the checked-in seeds stay as they are.
  corpus=$build/corpus/$target
  seeds=$root/fuzz/corpus/$target
  mkdir -p "$corpus" "$seeds" "$build/findings"
  if "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$target-" "$corpus" "$seeds" >"$build/$target.log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/$target.log")
    echo "fuzz: $target: ${runs:-?} runs in ${seconds} s, nothing found"
  else
    echo "fuzz: $target: FOUND A FAULT"
    grep -E 'ERROR|runtime error|SUMMARY|artifact|Test unit written' "$build/$target.log" | head -20
    failed=$((failed + 1))
  fi
done
[ "$failed" -eq 0 ] && echo "fuzz: ${#targets[@]} targets, nothing found" || echo "fuzz: $failed of ${#targets[@]} targets found faults"
[ "$failed" -eq 0 ]
