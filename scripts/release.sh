#!/usr/bin/env bash
# Builds the release a Windows user installs, in build/dist: the stripped 64-bit (x86_64) and 32-bit
# (i686) Quintrel.exe, each in a zip with its README.txt and in a per-user setup program (NSIS), and
# SHA256SUMS of the four files.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUINTREL_BUILD_DIR:-$root/build}
out=$build/release
dist=$build/dist

bash "$root/scripts/setup.sh" || exit 1
mkdir -p "$out" || exit 1

# The commit's time, not the build's, in the programs' headers and on the packed files: the same
# sources give the same bytes, so a rebuilt release can be compared with SHA256SUMS. A time given
# in the environment wins, so that a copy of the sources without its history builds the same.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0)}
export SOURCE_DATE_EPOCH

# The release names of each build: the 64-bit one is the setup program most users want.
triplet_of() { case $1 in win64) echo x86_64-w64-mingw32 ;; win32) echo i686-w64-mingw32 ;; esac; }
setup_name_of() { case $1 in win64) echo "Quintrel-$version-setup.exe" ;; win32) echo "Quintrel-$version-setup-x86.exe" ;; esac; }
zip_name_of() { echo "Quintrel-$version-$1.zip"; }

# Builds the stripped program of one Windows build into its stage folder, beside its README.txt.
build_stage() { # build_stage win64|win32
  local arch=$1 tree=$out/$1 triplet
  triplet=$(triplet_of "$arch")
  cmake -S "$root" -B "$tree" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-${triplet%%-*}.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DQUINTREL_TESTS=OFF >"$tree.configure.log" 2>&1 &&
    cmake --build "$tree" --target Quintrel -j "$(nproc)" >"$tree.build.log" 2>&1 || {
    echo "release: the $arch build failed; see $tree.configure.log and $tree.build.log" >&2
    return 1
  }
  rm -rf "$out/stage-$arch"
  mkdir -p "$out/stage-$arch"
  "$triplet-strip" -o "$out/stage-$arch/Quintrel.exe" "$tree/Quintrel.exe" || return 1
  # Notepad before Windows 10 shows a file without carriage returns as one line.
  sed -e "s/@VERSION@/$version/g" -e "s/@BUILD@/${arch#win}/g" -e 's/$/\r/' "$root/installer/README.txt" \
    >"$out/stage-$arch/README.txt"
  touch -d "@$SOURCE_DATE_EPOCH" "$out/stage-$arch"/*
}

# Packs one build's stage into its zip and its setup program.
package() { # package win64|win32
  local arch=$1 stage=$out/stage-$1 zip_name setup_name
  zip_name=$(zip_name_of "$arch")
  setup_name=$(setup_name_of "$arch")
  (cd "$stage" && TZ=UTC zip -q -X "$dist/$zip_name" Quintrel.exe README.txt) || return 1
  makensis -V2 -NOCD -DVERSION="$version" -DBITS="${arch#win}" -DSTAGE="$stage" -DOUTFILE="$dist/$setup_name" \
    "$root/installer/quintrel.nsi" >"$out/$arch.nsis.log" 2>&1 || {
    cat "$out/$arch.nsis.log" >&2
    echo "release: makensis failed for the $arch setup program" >&2
    return 1
  }
}

# The project's version, from project() in CMakeLists.txt.
version=$(sed -n 's/^project(Quintrel VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "release: no project version in $root/CMakeLists.txt" >&2; exit 1; }
for arch in win64 win32; do build_stage "$arch" || exit 1; done

rm -rf "$dist"
mkdir -p "$dist"
files=()
for arch in win64 win32; do
  package "$arch" || exit 1
  files+=("$(setup_name_of "$arch")" "$(zip_name_of "$arch")")
done
(cd "$dist" && sha256sum "${files[@]}" >SHA256SUMS) || exit 1

echo "release $version in $dist:"
for arch in win64 win32; do
  echo "  $arch Quintrel.exe $(stat -c %s "$out/stage-$arch/Quintrel.exe") bytes (stripped)"
  echo "  $(zip_name_of "$arch") $(stat -c %s "$dist/$(zip_name_of "$arch")") bytes"
  echo "  $(setup_name_of "$arch") $(stat -c %s "$dist/$(setup_name_of "$arch")") bytes"
done
