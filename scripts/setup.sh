#!/usr/bin/env bash
# Installs, as root on Debian, everything Quintrel needs to build, run, test and package; skips what
# is there. The 32-bit Wine loader (wine32) comes from Debian's i386 architecture, added when absent.
set -euo pipefail

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

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
missing_32bit=()
for p in "${packages_32bit[@]}"; do installed "$p" || missing_32bit+=("$p"); done

if ((${#missing[@]} + ${#missing_32bit[@]})); then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: need root to install: ${missing[*]} ${missing_32bit[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  if ((${#missing_32bit[@]})) && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386 || echo "setup: cannot add the i386 architecture" >&2
  fi
  apt-get update -qq
  if ((${#missing[@]})); then
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  if ((${#missing_32bit[@]})); then
    apt-get install -y -qq --no-install-recommends "${missing_32bit[@]}" >/dev/null ||
      echo "setup: cannot install ${missing_32bit[*]}; 32-bit programs will not run here" >&2
  fi
fi
