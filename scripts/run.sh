#!/usr/bin/env bash
# Builds the player and starts it under Wine:  run.sh BUILD [FILE]
#   BUILD  build tree (the Windows build goes to BUILD/win32, the run's own files to BUILD/run)
#   FILE   a media file (Unix or Windows path); without one, the sample clips (scripts/make-samples.sh) are
#          generated once into BUILD/run/samples and the first of them plays
# The video is decoded by Debian's libvlc through the bridge (tests/bridge). STANDIN=1 gives the test
# stand-in instead, which paints a test picture, and VLC_DIR=<folder with libvlc.dll, libvlccore.dll and
# plugins/> a real Windows libvlc. With no X display the run is headless: the player plays for a few
# seconds, a screenshot is saved to BUILD/run/screenshot.png and the player is closed.
# The Wine prefix in BUILD/run is kept from one run to the next, so the player finds what it stored there
# (the window's place and size) as it would on Windows; only the player's folder is made anew. What the
# player and the libraries print (libvlc's and the sound system's messages) goes to BUILD/run/player.log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)
file=${2:-}
win32=$build/win32
run=$build/run
app=$run/app

say() { printf 'run: %s\n' "$*"; }

if [ -n "${VLC_DIR:-}" ]; then
  library=windows
elif [ -n "${STANDIN:-}" ]; then
  library=standin
else
  library=bridge
fi

# Only what the player needs: the program, its advertisement library and the libvlc it gets.
"$root/scripts/install-deps.sh"
# Started by `make run`, the build would count as a sub-make and name every directory it enters.
unset MAKELEVEL
cmake -S "$root" -B "$win32" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
targets=(VelmoraPlayer libads)
case $library in
  bridge) targets+=(libvlc_bridge) ;;
  standin) targets+=(standin_libvlc) ;;
esac
cmake --build "$win32" -j "$(nproc)" --target "${targets[@]}"

# The player's folder, rebuilt on every run so that no library of an earlier run is left in it.
rm -rf "$app"
mkdir -p "$app"
cp "$win32/bin/VelmoraPlayer.exe" "$win32/bin/libads.dll" "$app/"
unset WINEDLLPATH
case $library in
  windows)
    for f in libvlc.dll libvlccore.dll; do
      [ -f "$VLC_DIR/$f" ] || { echo "run: $VLC_DIR has no $f" >&2; exit 1; }
      cp "$VLC_DIR/$f" "$app/"
    done
    [ -d "$VLC_DIR/plugins" ] && cp -r "$VLC_DIR/plugins" "$app/"
    say "using the Windows libvlc from $VLC_DIR"
    ;;
  bridge)
    cp "$win32/bridge/placeholder/libvlc.dll" "$app/"
    export WINEDLLPATH=$win32/bridge/lib
    say "video decoded by Debian's libvlc through the bridge (STANDIN=1 for the test stand-in)"
    ;;
  standin)
    cp "$win32/standins/libvlc/libvlc.dll" "$app/"
    say "using the test stand-in, which paints a test picture instead of decoding video"
    ;;
esac

# A session of its own, so that a test run in BUILD/win32 keeps its prefix, and this prefix is never made
# anew by a test run. wineserver stays up for the whole session and would hold this script's output open,
# hence the redirection; the session's own complaints go to the log.
log=$run/player.log
if [ -f "$run/wineprefix/velmora-made-by" ]; then
  say "starting Wine with the prefix of the last run"
else
  say "starting Wine (making its prefix takes about 20 s, once)"
fi
: >"$log"
"$root/scripts/wine-session" reuse "$run" >/dev/null 2>>"$log" </dev/null
sed -n 's/^wine-session: /run: /p' "$log"
trap '"$root/scripts/wine-session" stop "$run" >/dev/null 2>&1 || true' EXIT
# shellcheck disable=SC1091
. "$run/wine-session.env"
headless=
[ -f "$run/xvfb.pid" ] && headless=1

if [ -z "$file" ]; then
  [ -d "$run/samples" ] || say "making the sample clips in $run/samples (once)"
  "$root/scripts/make-samples.sh" "$run/samples"
  file="$run/samples/1 Test pattern.mpg"
fi
case $file in
  [A-Za-z]:\\*) winfile=$file ;;
  *)
    [ -e "$file" ] || { echo "run: no such file: $file" >&2; exit 1; }
    winfile=$(winepath -w "$(cd "$(dirname "$file")" && pwd)/$(basename "$file")" 2>/dev/null)
    ;;
esac
say "playing $winfile"
say "libvlc's and the sound system's messages go to $log"

player() { wine "$app/VelmoraPlayer.exe" "$@" </dev/null >>"$log" 2>&1; }

if [ -z "$headless" ]; then
  say "the player runs on display $DISPLAY until you close it"
  status=0
  player "$winfile" || status=$?
  [ "$status" = 0 ] || say "the player ended with exit code $status; see $log"
  exit 0
fi

# Headless: play for a moment, take a picture of the virtual screen, then close the player as its
# frame button would (taskkill without /f asks the window to close).
player "$winfile" &
pid=$!
for _ in $(seq 50); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Velmora Player - ' && break
  sleep 0.2
done
sleep 3
import -window root "$run/screenshot.png"
wine taskkill /im VelmoraPlayer.exe >/dev/null 2>&1 || true
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$pid" 2>/dev/null; then
  wine taskkill /f /im VelmoraPlayer.exe >/dev/null 2>&1 || true
fi
wait "$pid" 2>/dev/null || true
say "headless run (no X display): screenshot saved to $run/screenshot.png"
