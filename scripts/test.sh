#!/usr/bin/env bash
# Builds everything and the packages, then runs the native suites and, in a fresh Wine session each, the
# Windows suites of the 32-bit build and those of the 64-bit build (in a 64-bit prefix, where the tests
# of the packages run too: they install and run both bitnesses).
#
# The suites run in an empty environment, as on a fresh machine, under cron or after `env -i`: what they
# need (the Wine session with its locale and display, the clip folder) comes from the rig itself, so a
# caller's LANG, DISPLAY, HOME or Wine settings can neither make a run pass nor make it fail. The Windows
# suites always get a private Xvfb display, even when the caller has a desktop.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)

"$root/scripts/build.sh" "$build" || exit 1
"$root/scripts/dist.sh" "$build" >/dev/null || exit 1

bare() { env -i PATH="$PATH" "$@"; }
session() { bare VELMORA_FORCE_XVFB=1 "$root/scripts/wine-session" "$@"; }

trap 'session stop "$build/win32"; session stop "$build/win64"' EXIT

status=0
bare ctest --test-dir "$build/native" --output-on-failure || status=1
session start "$build/win32" || exit 1
bare ctest --test-dir "$build/win32" --output-on-failure || status=1
session stop "$build/win32"
session start "$build/win64" || exit 1
bare ctest --test-dir "$build/win64" --output-on-failure || status=1
session stop "$build/win64"
bare ctest --test-dir "$build/native-asan" --output-on-failure || status=1
# Each fuzz target for a bounded time (make fuzz runs them longer), then what each one ran and found.
bare ctest --test-dir "$build/fuzz" --output-on-failure || status=1
cat "$build"/fuzz/work/*/summary 2>/dev/null
exit $status
