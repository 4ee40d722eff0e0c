#!/usr/bin/env bash
# Unpacks Debian's 32-bit libvlc plugins into DIR/vlc/plugins, where the bridge points libvlc.
# They can't be installed beside the 64-bit ones that the native tests use (three of the libraries
# they need aren't multi-arch), so the package is fetched and unpacked instead; the plugins that need
# those three libraries simply don't load. scripts/install-deps.sh installs what the others need.
set -euo pipefail
dir=${1:?usage: stage-plugins.sh DIR}
mkdir -p "$dir"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
deb=$(ls "$dir"/vlc-plugin-base_*_i386.deb 2>/dev/null | head -n 1 || true)
if [ -z "$deb" ]; then
  (cd "$work" && apt-get download -q vlc-plugin-base:i386 2>/dev/null)
  mv "$work"/vlc-plugin-base_*_i386.deb "$dir/"
  deb=$(ls "$dir"/vlc-plugin-base_*_i386.deb | head -n 1)
fi
dpkg-deb -x "$deb" "$work/root"
rm -rf "$dir/vlc"
mv "$work/root/usr/lib/i386-linux-gnu/vlc" "$dir/vlc"
