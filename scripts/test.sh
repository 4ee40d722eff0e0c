#!/usr/bin/env bash
# Builds everything, then runs the native suites and, in a fresh Wine session, the Windows suites.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)

"$root/scripts/build.sh" "$build" || exit 1

"$root/scripts/wine-session" start "$build/win32" || exit 1
trap '"$root/scripts/wine-session" stop "$build/win32"' EXIT

status=0
ctest --test-dir "$build/native" --output-on-failure || status=1
ctest --test-dir "$build/win32" --output-on-failure || status=1
exit $status
