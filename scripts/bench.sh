#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine, outside the test suite: bench.sh BUILD
# Uses the build tree's Wine session when one is running, else starts one for the run and ends it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)
export LC_ALL=C.UTF-8

if [ ! -f "$build/win32/CMakeCache.txt" ]; then
  "$root/scripts/build.sh" "$build"
fi
cmake --build "$build/win32" --target playbar_bench -j 2 >/dev/null

envfile=$build/win32/wine-session.env
if [ ! -f "$envfile" ]; then
  "$root/scripts/wine-session" start "$build/win32"
  trap '"$root/scripts/wine-session" stop "$build/win32"' EXIT
fi
# One CPU for the program and the server: timings under Wine are otherwise bimodal on a 2-CPU machine.
taskset -c 0 "$root/scripts/wine-run" "$envfile" "$build/win32/bench/playbar_bench.exe"
