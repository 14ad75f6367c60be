#!/bin/sh
# The frames of a large video read by --video (every packet of the video stream, none decoded)
# beside ffprobe listing the same packets: about 1 GB of Matroska and the same streams as an MP4.
# Reading packets costs one pass over the file, where a container's index would cost a few reads;
# the index holds only key frames in Matroska (cues), and --check needs every frame between them.
# Wall time of each run. On the 2-core build machine, release build, files in the page cache:
# 0.26 s for 1 GB of Matroska and 0.24 s for the MP4, as fast as ffprobe (0.27 s, 0.26 s).
#   bench/video_frames.sh build/markwright [copies of the 100 MB clip, default 10]
# Needs ffmpeg and ffprobe, and twice the size free in $TMPDIR or /tmp; the files are made afresh
# and deleted at the end.
set -eu
program=$(realpath "$1")
copies=${2:-10}
folder=${TMPDIR:-/tmp}/markwright_video_frames
mkdir -p "$folder"
trap 'rm -rf "$folder"' EXIT
cd "$folder"

# 20 s of noise at 40 Mbit/s (about 100 MB), key frames every 2 s, copied over.
ffmpeg -v error -f lavfi -i 'nullsrc=s=640x360:r=25,geq=random(1)*255:128:128' -t 20 \
  -c:v libx264 -preset ultrafast -g 50 -b:v 40M noise.mkv
ffmpeg -v error -stream_loop $((copies - 1)) -i noise.mkv -c copy big.mkv
ffmpeg -v error -i big.mkv -c copy big.mp4
printf 'CHAPTER01=00:00:00.000\nCHAPTER01NAME=a\nCHAPTER02=00:01:00.000\nCHAPTER02NAME=b\n' \
  > chapters.txt
ls -l big.mkv big.mp4

timed() {
  start=$(date +%s.%N)
  "$@" > /dev/null
  end=$(date +%s.%N)
  printf '%6.2f s  %s\n' "$(echo "$end - $start" | bc)" "$1"
}
for file in big.mkv big.mp4; do
  echo "$file:"
  timed "$program" -i chapters.txt --video "$file" --check -infps 25 -outfps 25
  timed ffprobe -v error -select_streams v -show_entries packet=pts_time,flags -of csv "$file"
done
