#!/usr/bin/env bash
# Pictures of the player with its control bar (idle, playing and paused at 672 and 480 pixels, idle and
# playing at 150 % display scale, and an audio file playing over the logo), and of watching a film (the
# Subtitles menu, a subtitle track, the speed, the texts that tell a change for a video and a sound file,
# the muted look) into docs/, taken by the end-to-end tests of the bar's buttons, of the display scale, of
# the formats and of watching a film: bar-screenshots.sh BUILD
# The build tree must be built and its Wine session running (scripts/wine-session start BUILD/win32).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
export LC_ALL=C.UTF-8
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
cd "$build/win32/tests/e2e"
# The player decodes the clip with Debian's libvlc through the bridge, so the pictures show real video.
WINEDLLPATH=$build/win32/bridge/lib VELMORA_BRIDGE_ARGS="--aout=alsa --alsa-audio-device=null --quiet" \
VELMORA_CLIP_DIR=$build/win32/clips VELMORA_SCREENSHOT_DIR="Z:${shots//\//\\}" \
  "$root/scripts/wine-run" "$build/win32/wine-session.env" e2e_bridge.exe \
  --gtest_filter="PlayerTest.BarButtonsFollowPlayingPausedAndStoppedAtBothWidths:PlayerTest.AtOneAndAHalfTheScaleTheBarAndTheVideoUseRealPixels:Containers/Formats.*/mp3:Places/WatchingAt.*/window:Watching.LoadSubtitleFileShowsItsLine:Watching.SpeedKeysMoveTheLibrarysRateAndTheDisplay:Watching.VolumeAndSeekAreToldOverThePicture:FormatClips.ASoundFileTellsChangesInTheTimeLine"
for picture in "$shots"/*.bmp; do
  # The captured pixels carry no alpha: without -alpha off they would come out transparent.
  convert "$picture" -alpha off "$root/docs/$(basename "${picture%.bmp}").png"
done
ls "$root"/docs/bar-*.png "$root"/docs/audio-*.png "$root"/docs/film-*.png
