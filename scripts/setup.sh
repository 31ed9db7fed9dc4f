#!/usr/bin/env bash
# Installs, as root on Debian, everything Quintrel needs to build, run, test and package; skips what
# is there. The 32-bit Wine loader (wine32) comes from Debian's i386 architecture, added when absent.
# An archive index that fails to download (a mirror mid-sync) does not stop the setup: the update is
# tried a few times, then the packages are installed from what the archive gives. A package that
# still cannot be installed is named in one line; the suites that need it count themselves skipped.
set -uo pipefail

packages=(
  cmake g++ make libgtest-dev googletest libbenchmark-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  wine wine64 fonts-wine xvfb xauth xdotool imagemagick fonts-liberation
  iproute2 procps psmisc x11-utils clang clang-format libclang-rt-14-dev python3
  nsis zip unzip
)
# Wanted, but a machine whose archive has no i386 part still builds and tests everything else.
packages_32bit=(wine32:i386)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
missing_of() { local p; for p in "$@"; do installed "$p" || echo "$p"; done; }

update_archive_index() {
  local try
  for try in 1 2 3 4; do
    apt-get update -qq && return 0
    [ "$try" -lt 4 ] && sleep $((try * 5))
  done
  echo "setup: the archive index is incomplete (mirror mid-sync?); installing from what it gives" >&2
}

# Installs the packages in one go; when that fails, one by one, so one missing package costs only itself.
install_packages() {
  apt-get install -y -qq --no-install-recommends "$@" >/dev/null 2>&1 && return 0
  local p
  for p in "$@"; do apt-get install -y -qq --no-install-recommends "$p" >/dev/null 2>&1; done
  return 0
}

mapfile -t missing < <(missing_of "${packages[@]}")
mapfile -t missing_32bit < <(missing_of "${packages_32bit[@]}")
((${#missing[@]} + ${#missing_32bit[@]})) || exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: need root to install: ${missing[*]} ${missing_32bit[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if ((${#missing_32bit[@]})) && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386 || echo "setup: cannot add the i386 architecture" >&2
fi
update_archive_index
((${#missing[@]})) && install_packages "${missing[@]}"
((${#missing_32bit[@]})) && install_packages "${missing_32bit[@]}"

mapfile -t still_missing < <(missing_of "${packages[@]}")
((${#still_missing[@]})) && echo "setup: cannot install ${still_missing[*]}; what needs them is skipped" >&2
mapfile -t still_missing_32bit < <(missing_of "${packages_32bit[@]}")
((${#still_missing_32bit[@]})) &&
  echo "setup: cannot install ${still_missing_32bit[*]}; 32-bit programs will not run here" >&2
exit 0
