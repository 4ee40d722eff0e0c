#!/usr/bin/env bash
# Builds everything, then runs the native suites and, in a fresh Wine session, the Windows suites.
#
# The suites run in an empty environment, as on a fresh machine, under cron or after `env -i`: what they
# need (the Wine session with its locale and display, the clip folder) comes from the rig itself, so a
# caller's LANG, DISPLAY, HOME or Wine settings can neither make a run pass nor make it fail. The Windows
# suites always get a private Xvfb display, even when the caller has a desktop.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)

"$root/scripts/build.sh" "$build" || exit 1

bare() { env -i PATH="$PATH" "$@"; }

bare VELMORA_FORCE_XVFB=1 "$root/scripts/wine-session" start "$build/win32" || exit 1
trap 'bare "$root/scripts/wine-session" stop "$build/win32"' EXIT

status=0
bare ctest --test-dir "$build/native" --output-on-failure || status=1
bare ctest --test-dir "$build/win32" --output-on-failure || status=1
bare ctest --test-dir "$build/native-asan" --output-on-failure || status=1
# Each fuzz target for a bounded time (make fuzz runs them longer), then what each one ran and found.
bare ctest --test-dir "$build/fuzz" --output-on-failure || status=1
cat "$build"/fuzz/work/*/summary 2>/dev/null
exit $status
