#!/usr/bin/env bash
# Writes the clip target's seeds with sound into fuzz/corpus/clip: the sound formats lesson
# videos come with, each a few frames long. Run again after changing it; the files are
# checked in.
set -euo pipefail
out="$(cd "$(dirname "$0")" && pwd)/corpus/clip"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
ff() { ffmpeg -v error -y -fflags +bitexact -flags:v +bitexact -flags:a +bitexact "$@"; }
video=(-f lavfi -i testsrc=size=64x48:rate=15:duration=0.6)
tone() { echo "-f lavfi -i sine=f=440:r=$1:d=${2:-0.6}"; }

# MP3 whose second half changes rate and channels (a plain join of two files)
ff -f lavfi -i sine=f=440:r=44100:d=0.3 -ac 2 -b:a 32k "$tmp/a.mp3"
ff -f lavfi -i sine=f=660:r=22050:d=0.3 -ac 1 -b:a 32k "$tmp/b.mp3"
cat "$tmp/a.mp3" "$tmp/b.mp3" >"$tmp/ab.mp3"
ff "${video[@]}" -i "$tmp/ab.mp3" -c:v mjpeg -q:v 20 -c:a copy "$out/mp3-format-change.avi"
# PCM of every width and layout authors used, 8 to 48 kHz
ff "${video[@]}" $(tone 8000 0.4) -c:v mjpeg -q:v 20 -c:a pcm_u8 -ac 1 "$out/pcm-u8-mono-8k.avi"
ff "${video[@]}" $(tone 22050 0.25) -c:v mjpeg -q:v 20 -c:a pcm_s16le -ac 2 "$out/pcm-s16-stereo-22k.avi"
ff "${video[@]}" $(tone 48000 0.2) -c:v mjpeg -q:v 20 -c:a pcm_s24le -ac 1 "$out/pcm-s24-mono-48k.avi"
# AAC with H.264 in MP4 (priming in the edit list), a track starting late, Vorbis and Opus in Matroska
ff "${video[@]}" $(tone 44100) -c:v libx264 -preset ultrafast -threads 1 -pix_fmt yuv420p -c:a aac -b:a 32k \
    "$out/h264-aac.mp4"
ff "${video[@]}" -itsoffset 0.3 $(tone 16000 0.25) -c:v mjpeg -q:v 20 -c:a pcm_s16le "$out/late-sound.mkv"
ff "${video[@]}" $(tone 44100) -c:v mjpeg -q:v 20 -c:a libvorbis -q:a 0 "$out/vorbis.mkv"
ff "${video[@]}" $(tone 48000) -c:v mjpeg -q:v 20 -c:a libopus -b:a 16k "$out/opus.mkv"
