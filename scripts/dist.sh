#!/usr/bin/env bash
# Packs the player for Windows into BUILD/dist: for 32-bit (win32) and 64-bit (win64) Windows each a zip
# (the program, libads.dll and ReadMe.txt) and an installer, VelmoraPlayer-<version>-<arch>.zip and .exe.
# Builds what it packs in BUILD/win32 and BUILD/win64 (see cmake/Packaging.cmake).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)

"$root/scripts/install-deps.sh"
mkdir -p "$build/dist"
for target in win32:i686 win64:x86_64; do
  tree=$build/${target%%:*}
  cmake -S "$root" -B "$tree" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-${target#*:}.cmake" >/dev/null
  cmake --build "$tree" -j "$(nproc)" --target VelmoraPlayer libads
  (cd "$tree" && cpack -C RelWithDebInfo --config CPackConfig.cmake >"$tree/cpack.log" 2>&1) || {
    cat "$tree/cpack.log" >&2
    exit 1
  }
done
ls -l "$build/dist"
