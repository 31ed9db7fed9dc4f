#!/usr/bin/env bash
# Builds the release a Windows user installs: the stripped 32-bit Quintrel.exe in a zip with its
# README.txt, the per-user setup program (NSIS) and SHA256SUMS of the two, in build/dist.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUINTREL_BUILD_DIR:-$root/build}
out=$build/release
dist=$build/dist

bash "$root/scripts/setup.sh" || exit 1

cmake -S "$root" -B "$out" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DQUINTREL_TESTS=OFF >"$out.configure.log" 2>&1 &&
  cmake --build "$out" --target Quintrel -j "$(nproc)" >"$out.build.log" 2>&1 || {
  echo "release: the build failed; see $out.configure.log and $out.build.log" >&2
  exit 1
}
# The project's version, from project() in CMakeLists.txt, as CMake read it.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/CMakeCache.txt")
[ -n "$version" ] || { echo "release: no project version in $out/CMakeCache.txt" >&2; exit 1; }

stage=$out/stage
rm -rf "$stage" "$dist"
mkdir -p "$stage" "$dist"
# The commit's time, not the build's, in the program's header and on the packed files: the same
# sources give the same bytes, so a rebuilt release can be compared with SHA256SUMS.
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0)
export SOURCE_DATE_EPOCH
i686-w64-mingw32-strip -o "$stage/Quintrel.exe" "$out/Quintrel.exe" || exit 1
# Notepad before Windows 10 shows a file without carriage returns as one line.
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' "$root/installer/README.txt" >"$stage/README.txt"
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*

zip_name=Quintrel-$version-win32.zip
setup_name=Quintrel-$version-setup.exe
(cd "$stage" && TZ=UTC zip -q -X "$dist/$zip_name" Quintrel.exe README.txt) || exit 1
makensis -V2 -NOCD -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$dist/$setup_name" \
  "$root/installer/quintrel.nsi" >"$out.nsis.log" 2>&1 || {
  cat "$out.nsis.log" >&2
  echo "release: makensis failed" >&2
  exit 1
}
(cd "$dist" && sha256sum "$zip_name" "$setup_name" >SHA256SUMS) || exit 1

echo "release $version in $dist:"
echo "  Quintrel.exe $(stat -c %s "$stage/Quintrel.exe") bytes (stripped)"
echo "  $zip_name $(stat -c %s "$dist/$zip_name") bytes"
echo "  $setup_name $(stat -c %s "$dist/$setup_name") bytes"
