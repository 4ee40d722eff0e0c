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
  libvlc-dev vlc-plugin-base ffmpeg
)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

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
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -q --no-install-recommends "${missing[@]}"
