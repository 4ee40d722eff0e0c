#!/usr/bin/env bash
# Configures and builds both targets: BUILD/native (the libvlc backend and its tests, against
# Debian's libvlc) and the Windows builds, BUILD/win32 and BUILD/win64 (the player, its DLLs and the
# Windows tests, for 32-bit and for 64-bit Windows); then the checks of the code that compiles
# natively: BUILD/native-asan (the native build with AddressSanitizer and UndefinedBehaviorSanitizer)
# and BUILD/fuzz (the fuzz targets, built by clang).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)

"$root/scripts/install-deps.sh"
jobs=$(nproc)
cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build/native" -j "$jobs"
cmake -S "$root" -B "$build/win32" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build/win32" -j "$jobs"
cmake -S "$root" -B "$build/win64" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
cmake --build "$build/win64" -j "$jobs"
cmake -S "$root" -B "$build/native-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_SANITIZE=ON >/dev/null
cmake --build "$build/native-asan" -j "$jobs"
cmake -S "$root/tests/fuzz" -B "$build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build/fuzz" -j "$jobs"
