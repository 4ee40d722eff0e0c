#!/usr/bin/env bash
# Generates the sample clips `make run` plays when it is given no file: four clips of 20 s, 640 x 360, moving
# pictures with sound, in one folder, so that the player moves on from one to the next and Previous and Next
# have somewhere to go. MPEG-2 video and MP2 sound in MPEG program streams, which every libvlc the run can
# use plays (the bridge's, a Windows VLC's and the test stand-in). A few seconds of ffmpeg on a first run.
# Usage: make-samples.sh DIR. Clips that already exist are kept.
set -euo pipefail
dir=${1:?usage: make-samples.sh DIR}
mkdir -p "$dir"
seconds=20

# A note every quarter second, each fading out before the next: the root, third, fifth and octave of a
# chord on BASE Hz, one after the other.
arpeggio() { # arpeggio BASE
  local step='floor(mod(t*4\,4))'
  printf 'aevalsrc=exprs=0.25*pow(1-mod(t*4\\,1)\\,2)*sin(2*PI*%s*pow(2\\,(4*%s-eq(%s\\,2))/12)*t):sample_rate=44100' \
    "$1" "$step" "$step"
}

sample() { # sample NAME VIDEO-SOURCE AUDIO-SOURCE
  local out=$dir/$1
  [ -s "$out" ] && return 0
  ffmpeg -nostdin -loglevel error -y -f lavfi -i "$2" -f lavfi -i "$3" -t "$seconds" \
    -c:v mpeg2video -b:v 3000k -maxrate 6000k -bufsize 1835k -pix_fmt yuv420p \
    -c:a mp2 -b:a 192k -ac 2 -f vob "$out.part"
  mv "$out.part" "$out"
}

# The fixed seeds keep the pictures the same from one machine to the next.
sample "1 Test pattern.mpg" "testsrc2=size=640x360:rate=25" "sine=frequency=330:beep_factor=2:sample_rate=44100"
sample "2 Game of Life.mpg" \
  "life=size=160x90:rate=25:mold=8:ratio=0.15:seed=42:death_color=#2A5CAA:life_color=#F0C040:mold_color=#0A1020,scale=640:360:flags=neighbor" \
  "$(arpeggio 261.63)"
sample "3 Carpet.mpg" "sierpinski=size=640x360:rate=25:seed=3:jump=10:type=carpet" "$(arpeggio 196)"
sample "4 Gradients.mpg" "gradients=size=640x360:rate=25:speed=0.02:seed=7" "$(arpeggio 329.63)"
