#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine.
# Runs as root; does nothing when every package is already there.
set -euo pipefail

packages=(
  cmake make g++ pkg-config g++-mingw-w64-i686-posix googletest
  wine wine32:i386 fonts-wine fonts-liberation
  libxrender1:i386 libxcomposite1:i386 libxrandr2:i386 libxcursor1:i386
  libxi6:i386 libxfixes3:i386 libxinerama1:i386 libxxf86vm1:i386
  xvfb x11-utils imagemagick python3
  # two monitors side by side for the end-to-end tests (scripts/two-monitor-run)
  xserver-xephyr
  libvlc-dev vlc-plugin-base ffmpeg
  # the sanitizer build and the fuzz targets
  clang libclang-rt-14-dev
  # the libvlc bridge (tests/bridge): Wine's 32-bit builder and Debian's 32-bit libvlc
  gcc-multilib wine32-tools:i386 libvlc-dev:i386 libvlc5:i386
  # the 64-bit build, its Wine (with the X libraries of its own architecture) and the packages
  g++-mingw-w64-x86-64-posix wine64
  libxrender1:amd64 libxcomposite1:amd64 libxrandr2:amd64 libxcursor1:amd64
  libxi6:amd64 libxfixes3:amd64 libxinerama1:amd64 libxxf86vm1:amd64
  nsis zip unzip
)

# What Debian's 32-bit libvlc plugins need, from the package's own list. The bridge unpacks the
# plugins into its build tree, since they can't be installed beside the 64-bit ones; three of the
# libraries they name aren't multi-arch, and the few plugins that need them simply don't load.
plugin_deps() {
  apt-cache show --no-all-versions vlc-plugin-base:i386 2>/dev/null |
    sed -n 's/^Depends: //p' | tr ',' '\n' | sed 's/|.*//; s/(.*)//; s/ //g' |
    grep -vxE 'libcddb2|libresid-builder0c2a|libsidplay2|vlc-plugin-abi-.*|' | sed 's/$/:i386/' || true
}

# Installed, whether named with its architecture or not (a library installed for both architectures
# needs the name with one; a package for all architectures has none). One dpkg query for all.
declare -A have=()
read_installed() {
  have=()
  local name arch status
  while read -r name arch status; do
    [ "$status" = installed ] || continue
    have[$name]=1
    have[$name:$arch]=1
  done < <(dpkg-query -W -f='${Package} ${Architecture} ${db:Status-Status}\n' 2>/dev/null)
}
installed() { [ -n "${have[$1]:-}" ] || [ -n "${have[${1%:i386}:all]:-}" ]; }

check() {
  read_installed
  deps=$(plugin_deps)
  missing=()
  for p in "${packages[@]}" $deps; do
    installed "$p" || missing+=("$p")
  done
}
check
[ ${#missing[@]} -eq 0 ] && [ -n "$deps" ] && exit 0

echo "Installing: ${missing[*]}"
# As root, or through sudo for a user who may use it.
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps: root (or sudo) is needed to install: ${missing[*]}" >&2
    exit 1
  fi
  as_root=(sudo)
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${as_root[@]}" dpkg --add-architecture i386
fi
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
check # the plugins' list is known only once the i386 package lists are there
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -q --no-install-recommends "${missing[@]}"
