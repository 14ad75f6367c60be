#!/bin/sh
# 40 thumbnails (160 px wide) of a 1080p H.264 video through the reading child, as the window
# asks for them: times spread evenly over 2 minutes of testsrc2. Every time first gets a quick
# picture (the key frame before it, decoded alone), then its exact frame (seek to the key frame
# before, decode on). Printed: wall time to the first picture, to a picture for every time, to
# an exact picture for every time, to the end of the answer (the frame list, read after the
# thumbnails), and the child's CPU time. Target: a picture for every time within 2 s on 2 cores.
#   bench/thumbnails.sh build-bench [count] [width] [key-frame interval in frames]
# (a release build with -DMARKWRIGHT_BENCH=ON). Without an interval, libx264's defaults (a key
# frame at most every 250 frames, 10 s, and B-frames), the costliest common case for exact
# frames: each may need up to 249 frames decoded. Needs ffmpeg; the video (about 75 MB) is made
# once in $TMPDIR or /tmp and kept for the next run: remove markwright_thumbnails/ to make it
# again.
#
# Release build, on the 2-core build machine busy with 6 other builds (load average 11 to 12),
# three runs each:
#   default key frames (13 in 3000 frames): every time pictured in 0.97 to 1.41 s, every
#     picture exact in 15 to 20 s, the child's CPU time 8.5 to 8.9 s;
#   a key frame every 50 frames (61): every time pictured in 1.1 to 2.6 s, every picture exact
#     in 10 to 14 s, the child's CPU time 5.7 to 5.8 s.
# The first picture comes after 0.2 to 0.3 s (the child's start, libav loaded, the file opened).
# Exact frames cost what decoding costs: from the key frame before each time, every frame but
# those no other refers to, about 4.5 ms of CPU a 1080p frame here.
#
# Then the window (markwright_window_bench --thumbnails): the video opened beside 40 chapters
# spread over it, a picture in each row as it arrives. Release build, load average 6 to 8:
# default key frames: first picture 0.19 to 0.29 s, every row pictured 0.42 to 0.62 s, every row
# exact 8.4 to 11.8 s, the timeline (frames and key frames, read beside the pictures) 0.14 to
# 0.19 s; with -g 50: every row pictured 1.1 to 1.7 s, every row exact 6.1 to 8.9 s.
# A million chapters beside the same video (--thumbnails-scroll): the rows in view pictured
# 0.32 to 0.34 s after opening it, 0.22 to 0.27 s after a jump to the middle of the list.
set -eu
build=$(realpath "$1")
count=${2:-40}
width=${3:-160}
gop=${4:-}
folder=${TMPDIR:-/tmp}/markwright_thumbnails
mkdir -p "$folder"
video=$folder/testsrc2-1080p${gop:+-gop$gop}.mp4
if [ ! -s "$video" ]; then
  ffmpeg -v error -y -f lavfi -i testsrc2=s=1920x1080:r=25:d=120 -c:v libx264 -preset veryfast \
    ${gop:+-g $gop} -pix_fmt yuv420p "$video.part.mp4"
  mv "$video.part.mp4" "$video"
fi
ls -l "$video"
for run in 1 2 3; do
  "$build/bench/markwright_thumbnails_bench" "$build/markwright" "$video" 120000 "$count" "$width"
done
# The same video in the window: 40 chapters spread over it, each row's picture as it arrives.
if [ -x "$build/bench/markwright_window_bench" ]; then
  for run in 1 2 3; do
    "$build/bench/markwright_window_bench" --thumbnails "$video"
  done
  "$build/bench/markwright_window_bench" --thumbnails-scroll "$video"
fi
