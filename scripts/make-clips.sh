#!/usr/bin/env bash
# Generates the short MPEG program-stream clips (MPEG-1 video, MP2 audio) the tests play.
# Usage: make-clips.sh DIR. Clips that already exist are kept.
set -euo pipefail
dir=${1:?usage: make-clips.sh DIR}
mkdir -p "$dir/folder" "$dir/bars"

clip() { # clip FILE SECONDS [audio|bars]
  local out=$1 secs=$2 kind=${3:-av} picture=testsrc
  [ -s "$out" ] && return 0
  local tmp="$out.part.mpg"
  if [ "$kind" = audio ]; then
    ffmpeg -nostdin -loglevel error -y -f lavfi -i "sine=frequency=440:duration=$secs" \
      -c:a mp2 -b:a 128k -f mpeg "$tmp"
  else
    [ "$kind" = bars ] && picture=smptebars
    ffmpeg -nostdin -loglevel error -y \
      -f lavfi -i "$picture=size=320x240:rate=25:duration=$secs" \
      -f lavfi -i "sine=frequency=440:duration=$secs" \
      -c:v mpeg1video -b:v 400k -c:a mp2 -b:a 128k -shortest -f mpeg "$tmp"
  fi
  mv "$tmp" "$out"
}

clip "$dir/short.mpg" 2
clip "$dir/long.mpg" 12
clip "$dir/audio.mpg" 2 audio
clip "$dir/folder/a.mpg" 1
clip "$dir/folder/b.mpg" 1
clip "$dir/folder/c.mpg" 1
# Colour bars, alone in their folder: real decoding is checked against their known colours.
clip "$dir/bars/bars.mpg" 10 bars
# Not media at all: random bytes under a playable name, an empty file, and 60 MB of zeros as a download
# that isn't done yet leaves them (a sparse file: no disk space, written at once).
[ -s "$dir/garbage.mpg" ] || head -c 65536 /dev/urandom > "$dir/garbage.mpg"
: > "$dir/empty.mpg"
[ -s "$dir/unfinished.mkv" ] || truncate -s 60M "$dir/unfinished.mkv"
exit 0
