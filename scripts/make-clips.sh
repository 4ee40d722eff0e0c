#!/usr/bin/env bash
# Generates the short clips the tests play: MPEG program streams (MPEG-1 video, MP2 audio), and in
# formats/ one small clip of each common container, in formats/subtitles a dark clip with its subtitles.
# Usage: make-clips.sh DIR. Clips that already exist are kept.
set -euo pipefail
dir=${1:?usage: make-clips.sh DIR}
mkdir -p "$dir/folder" "$dir/bars" "$dir/formats/subtitles"

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
# One clip per container, with the codecs it usually carries, 5 s each: video of one known colour
# (#3070D0) at 160 x 120, or a 440 Hz tone alone. Together they are the mixed folder Next steps through.
format() { # format NAME VIDEO-CODEC AUDIO-CODEC [ffmpeg options...]; VIDEO-CODEC - for sound alone
  local name=$1 video=$2 audio=$3
  shift 3
  local out=$dir/formats/$name
  [ -s "$out" ] && return 0
  local inputs=(-f lavfi -i "sine=frequency=440:sample_rate=44100:duration=5")
  local codecs=(-c:a "$audio")
  if [ "$video" != - ]; then
    inputs=(-f lavfi -i "color=c=0x3070D0:size=160x120:rate=25:duration=5" "${inputs[@]}")
    codecs=(-c:v "$video" -pix_fmt yuv420p "${codecs[@]}")
  fi
  ffmpeg -nostdin -loglevel error -y "${inputs[@]}" "${codecs[@]}" -shortest "$@" "$out.part" &&
    mv "$out.part" "$out"
}
format clip.mp4 libx264 aac -f mp4
format clip.mkv libx264 libvorbis -f matroska
format clip.webm libvpx-vp9 libopus -b:v 100k -f webm
format clip.avi mpeg4 libmp3lame -f avi
format clip.mov mpeg4 aac -f mov
format clip.ogv libtheora libvorbis -f ogg
format clip.wmv wmv2 wmav2 -f asf
format clip.ts libx264 aac -f mpegts
format clip.mp3 - libmp3lame -f mp3
format clip.flac - flac -f flac
format clip.wav - pcm_s16le -ar 22050 -f wav
# A dark clip and its subtitles beside it, under the same name: one white line for 10 s.
if [ ! -s "$dir/formats/subtitles/dark.mp4" ]; then
  ffmpeg -nostdin -loglevel error -y -f lavfi -i "color=c=0x202020:size=320x240:rate=25:duration=10" \
    -c:v libx264 -pix_fmt yuv420p -f mp4 "$dir/formats/subtitles/dark.mp4.part"
  mv "$dir/formats/subtitles/dark.mp4.part" "$dir/formats/subtitles/dark.mp4"
fi
printf '1\r\n00:00:00,000 --> 00:00:10,000\r\nSubtitles beside the video\r\n\r\n' >"$dir/formats/subtitles/dark.srt"
# A film long enough to be left in its middle, in film/: five minutes of one colour, a key frame a second.
mkdir -p "$dir/film"
if [ ! -s "$dir/film/five minutes.mp4" ]; then
  ffmpeg -nostdin -loglevel error -y -f lavfi -i "color=c=0x3070D0:size=160x120:rate=10:duration=300" \
    -c:v libx264 -preset ultrafast -g 10 -pix_fmt yuv420p -f mp4 "$dir/film/five minutes.mp4.part"
  mv "$dir/film/five minutes.mp4.part" "$dir/film/five minutes.mp4"
fi
# Two dark films in told/, 4 s and 10 s: a text told over the first must not come back over the second.
dark() { # dark FILE SECONDS
  [ -s "$1" ] && return 0
  ffmpeg -nostdin -loglevel error -y -f lavfi -i "color=c=0x202020:size=320x240:rate=25:duration=$2" \
    -c:v libx264 -pix_fmt yuv420p -f mp4 "$1.part"
  mv "$1.part" "$1"
}
mkdir -p "$dir/told"
dark "$dir/told/a.mp4" 4
dark "$dir/told/b.mp4" 10
# A film's tracks, in tracks/: 20 s of a dark picture with two audio tracks, a low and a high tone, and
# two subtitle tracks of different lines, each tagged with a language and some with a name (as the
# library lists them: "Low tone - [English]", "Track 2 - [French]", "Track 1 - [English]", "Signs and
# songs - [German]"; the first of each kind is the file's default). Each subtitle line is a cue of its
# own every second, so that a track chosen while the film plays shows within a moment. Beside it, in a
# folder whose name has a blank, a '%', a '#' and Cyrillic letters, a subtitle file of one line for the
# whole clip, which the library does not find by itself.
mkdir -p "$dir/tracks"
subs="$dir/tracks/внешние субтитры 100% #1"
if [ ! -s "$dir/tracks/film.mkv" ]; then
  cues() { # cues TEXT: the line once a second for 20 s
    for i in $(seq 0 19); do
      printf '%d\r\n00:00:%02d,000 --> 00:00:%02d,000\r\n%s\r\n\r\n' $((i + 1)) "$i" $((i + 1)) "$1"
    done
  }
  work=$(mktemp -d)
  cues "First subtitle track" >"$work/one.srt"
  cues "Second subtitle track" >"$work/two.srt"
  ffmpeg -nostdin -loglevel error -y -f lavfi -i "color=c=0x202020:size=320x240:rate=25:duration=20" \
    -f lavfi -i "sine=frequency=330:sample_rate=44100:duration=20" \
    -f lavfi -i "sine=frequency=880:sample_rate=44100:duration=20" -i "$work/one.srt" -i "$work/two.srt" \
    -map 0:v -map 1:a -map 2:a -map 3:s -map 4:s -c:v libx264 -pix_fmt yuv420p -c:a libvorbis -c:s srt \
    -metadata:s:a:0 language=eng -metadata:s:a:0 title="Low tone" -metadata:s:a:1 language=fre \
    -metadata:s:s:0 language=eng -metadata:s:s:1 language=ger -metadata:s:s:1 title="Signs and songs" \
    -f matroska "$dir/tracks/film.mkv.part"
  rm -rf "$work"
  mv "$dir/tracks/film.mkv.part" "$dir/tracks/film.mkv"
fi
mkdir -p "$subs"
# A film with chapters, in chapters/: 12 s of a dark picture and a tone, in three chapters of 4 s named
# "Opening", "The Road" and "The Storm" (written from an ffmetadata file). Beside it a clip without
# chapters, the next file of the folder.
mkdir -p "$dir/chapters"
if [ ! -s "$dir/chapters/chapters.mkv" ]; then
  meta=$(mktemp)
  printf ';FFMETADATA1\n' >"$meta"
  start=0
  for title in Opening "The Road" "The Storm"; do
    printf '[CHAPTER]\nTIMEBASE=1/1000\nSTART=%d\nEND=%d\ntitle=%s\n' $start $((start + 4000)) "$title" >>"$meta"
    start=$((start + 4000))
  done
  ffmpeg -nostdin -loglevel error -y -f lavfi -i "color=c=0x202020:size=320x240:rate=25:duration=12" \
    -f lavfi -i "sine=frequency=330:sample_rate=44100:duration=12" -i "$meta" -map 0:v -map 1:a \
    -map_metadata 2 -map_chapters 2 -c:v libx264 -pix_fmt yuv420p -c:a libvorbis \
    -f matroska "$dir/chapters/chapters.mkv.part"
  rm -f "$meta"
  mv "$dir/chapters/chapters.mkv.part" "$dir/chapters/chapters.mkv"
fi
[ -s "$dir/chapters/plain.mkv" ] || cp "$dir/formats/clip.mkv" "$dir/chapters/plain.mkv"
printf '1\r\n00:00:00,000 --> 00:00:20,000\r\nA line from a subtitle file\r\n\r\n' >"$subs/extra.srt"
# Not media at all: bytes that look random under a playable name, and an empty file.
#
# The bytes are the same on every machine: 64 KiB from a xorshift generator with a fixed seed, leaving
# out the zero byte, so that no MPEG start code (00 00 01) can occur in them. Fresh random bytes once held
# a video stream for the library. Checked natively: Debian's libvlc finds no track in them (tests/contract,
# tests/vlc) and neither does the stand-in's probe (tests/standins/libvlc/PsProbeVsLibvlcTest.cpp).
# Written every time, so that a tree made before keeps no bytes of its own.
perl -e 'binmode STDOUT;
  my ($x, $out) = (0x2545F491, "");
  while (length $out < 65536) {
    $x ^= ($x << 13) & 0xFFFFFFFF; $x ^= $x >> 17; $x ^= ($x << 5) & 0xFFFFFFFF;
    $out .= chr($x >> 24) if $x >> 24;
  }
  print $out' > "$dir/garbage.mpg.part"
cmp -s "$dir/garbage.mpg.part" "$dir/garbage.mpg" && rm "$dir/garbage.mpg.part" || mv "$dir/garbage.mpg.part" "$dir/garbage.mpg"
: > "$dir/empty.mpg"
exit 0
