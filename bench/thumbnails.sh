#!/bin/sh
# 40 thumbnails (160 px wide) of a 1080p H.264 video through the reading child, as the window
# asks for them: times spread evenly over 2 minutes, each a seek to the key frame before and
# decoding on. Wall time to the first thumbnail, to the last, and to the end of the answer (the
# frame list, read after the thumbnails). Target: all 40 within 2 s on 2 cores.
#   bench/thumbnails.sh build-bench [count] [width]
# (a release build with -DMARKWRIGHT_BENCH=ON). Needs ffmpeg; the video (about 60 MB) is made
# once in $TMPDIR or /tmp and kept for the next run: remove markwright_thumbnails/ to make it
# again.
set -eu
build=$(realpath "$1")
count=${2:-40}
width=${3:-160}
folder=${TMPDIR:-/tmp}/markwright_thumbnails
mkdir -p "$folder"
video=$folder/testsrc2-1080p.mp4
if [ ! -s "$video" ]; then
  # libx264's defaults (key frame at most every 250 frames, B-frames), as most encodes have.
  ffmpeg -v error -y -f lavfi -i testsrc2=s=1920x1080:r=25:d=120 -c:v libx264 -preset veryfast \
    -pix_fmt yuv420p "$video.part.mp4"
  mv "$video.part.mp4" "$video"
fi
ls -l "$video"
for run in 1 2 3; do
  "$build/bench/markwright_thumbnails_bench" "$build/markwright" "$video" 120000 "$count" "$width"
done
