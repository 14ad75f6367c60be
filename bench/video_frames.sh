#!/bin/sh
# The frames of large videos read by --video, beside ffprobe listing the same packets:
# - big.mkv, copies × 100 MB of noise in Matroska (1 GB by default): every packet of the video stream
#   is read, none decoded. Matroska's index (cues) holds only key frames, and --check needs every
#   frame between them, so this costs one pass over the file.
# - big.mp4, the same streams as an MP4: the sample tables give every frame's time and key-frame
#   flag, and the frames' bytes are not read at all.
# - long.mp4, two hours of a tiny picture at 25 fps with sound (180,000 frames, 340,000 sound
#   samples): the cost of the tables alone, as for a two-hour film of any size.
# Each file is read with its pages in the cache (warm), then after they were dropped (cold: the
# file comes from the disk, as a large file does on its first read).
# Wall time of each run on the 2-core build machine (its disk reads about 1.3 GB/s), release
# build, 40 copies (4.2 GB each); before: every packet read, MP4s too:
#                     before    after    ffprobe -show_packets
#   big.mkv   warm    1.04 s    1.21 s   1.14 s
#   big.mkv   cold    3.39 s    3.84 s   4.47 s
#   big.mp4   warm    1.18 s    0.14 s   1.15 s
#   big.mp4   cold    3.06 s    0.15 s   4.15 s
#   long.mp4  warm    0.47 s    0.48 s   1.29 s
#   long.mp4  cold    0.89 s    0.61 s   1.30 s
# Matroska is read as before (its two columns differ by the noise of a shared machine); an MP4
# costs what its tables cost, whatever its size: half a second for a two-hour film.
#   bench/video_frames.sh build/markwright [copies of the 100 MB clip, default 10]
# Needs ffmpeg, ffprobe and python3, and twice copies × 100 MB free in $TMPDIR or /tmp; the files
# are made afresh and deleted at the end.
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
# One minute with B-frames and sound, copied to two hours.
ffmpeg -v error -f lavfi -i testsrc=s=64x48:r=25:d=60 -f lavfi -i sine=d=60 -c:v libx264 \
  -bf 3 -g 250 -c:a aac minute.mp4
ffmpeg -v error -stream_loop 119 -i minute.mp4 -c copy long.mp4
printf 'CHAPTER01=00:00:00.000\nCHAPTER01NAME=a\nCHAPTER02=00:00:10.000\nCHAPTER02NAME=b\n' \
  > chapters.txt
ls -l big.mkv big.mp4 long.mp4

# Writes the file's pages out and drops them from the page cache.
uncache() {
  sync "$1"
  python3 -c 'import os, sys
descriptor = os.open(sys.argv[1], os.O_RDONLY)
os.posix_fadvise(descriptor, 0, 0, os.POSIX_FADV_DONTNEED)' "$1"
}
timed() {
  start=$(date +%s.%N)
  "$@" > /dev/null
  end=$(date +%s.%N)
  printf '%7.2f s  %s\n' "$(echo "$end - $start" | bc)" "$1"
}
for file in big.mkv big.mp4 long.mp4; do
  for cache in warm cold; do
    echo "$file, $cache:"
    [ "$cache" = warm ] && cat "$file" > /dev/null
    [ "$cache" = cold ] && uncache "$file"
    timed "$program" -i chapters.txt --video "$file" --check -infps 25 -outfps 25
    [ "$cache" = cold ] && uncache "$file"
    timed ffprobe -v error -select_streams v -show_entries packet=pts_time,flags -of csv "$file"
  done
done
