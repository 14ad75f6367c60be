#!/bin/sh
# Media files' chapters read by the executable beside the tools of the field reading the same
# files: a 1.6 GB Matroska file with 40 chapters (mkvextract), the same streams as an MP4
# (ffprobe -show_chapters) and a small Matroska file with 50,000 chapters, which should take
# under 2 s (it took past the 10-second limit through libmediainfo; 0.3 s through libmatroska on
# the 2-core build machine). Wall time of each run.
#   bench/media.sh build/markwright [runs] [other markwright to compare]
# Needs ffmpeg, ffprobe, mkvmerge and mkvextract, and about 3.5 GB free in $TMPDIR or /tmp; the
# files are made afresh and deleted at the end. The page cache is left as it is: the first run
# of each file is the coldest.
set -eu
program=$(realpath "$1")
runs=${2:-3}
other=$(realpath "${3:-$1}")
folder=${TMPDIR:-/tmp}/markwright_media
mkdir -p "$folder"
trap 'rm -rf "$folder"' EXIT
cd "$folder"
df -h . | tail -1

# Chapter XML for mkvmerge: count chapters, step milliseconds apart.
chapters() {
  awk -v count="$1" -v step="$2" 'BEGIN {
    printf "<?xml version=\"1.0\"?><Chapters><EditionEntry>\n"
    for (i = 0; i < count; i++) {
      t = i * step
      printf "<ChapterAtom><ChapterTimeStart>%02d:%02d:%02d.%03d</ChapterTimeStart>", \
             int(t / 3600000), int(t / 60000) % 60, int(t / 1000) % 60, t % 1000
      printf "<ChapterDisplay><ChapterString>Chapter %d</ChapterString>", i + 1
      printf "<ChapterLanguage>eng</ChapterLanguage></ChapterDisplay></ChapterAtom>\n"
    }
    printf "</EditionEntry></Chapters>\n"
  }'
}

# 20 s of noise at 40 Mbit/s (about 100 MB), copied 16 times over: a stream libmediainfo would
# otherwise read into.
ffmpeg -v error -f lavfi -i 'nullsrc=s=640x360:r=25,geq=random(1)*255:128:128' -t 20 \
  -c:v libx264 -preset ultrafast -b:v 40M noise.mkv
ffmpeg -v error -stream_loop 15 -i noise.mkv -c copy loop.mkv
chapters 40 7000 > c40.xml
mkvmerge -q -o big.mkv --chapters c40.xml loop.mkv
rm loop.mkv
ffmpeg -v error -i big.mkv -map 0 -c copy big.mp4
# ffmpeg stores 50,000 chapters in a second or two; mkvmerge takes minutes over as many.
awk 'BEGIN {
  print ";FFMETADATA1"
  for (i = 0; i < 50000; i++) printf "[CHAPTER]\nTIMEBASE=1/1000\nSTART=%d\nEND=%d\ntitle=Chapter %d\n", \
                                      i * 70, i * 70 + 70, i + 1
}' > many.ffmeta
ffmpeg -v error -f lavfi -i testsrc=d=4:s=64x48:r=25 -c:v libx264 clip.mkv
ffmpeg -v error -i clip.mkv -i many.ffmeta -map 0 -map_chapters 1 -c copy many.mkv
ls -l big.mkv big.mp4 many.mkv

measure() {
  label=$1
  shift
  /usr/bin/time -f "$label: %e s" "$@" > /dev/null || echo "$label: failed"
}
i=0
while [ "$i" -lt "$runs" ]; do
  measure "markwright big.mkv" "$program" -i big.mkv -o out.txt -f ogg
  [ "$other" = "$program" ] || measure "other big.mkv" "$other" -i big.mkv -o out.txt -f ogg
  measure "mkvextract big.mkv" mkvextract big.mkv chapters -s out.txt
  measure "markwright big.mp4" "$program" -i big.mp4 -o out.txt -f ogg
  [ "$other" = "$program" ] || measure "other big.mp4" "$other" -i big.mp4 -o out.txt -f ogg
  measure "ffprobe big.mp4" ffprobe -v error -show_chapters big.mp4
  measure "markwright many.mkv (50,000 chapters; target under 2 s)" "$program" -i many.mkv \
    -o out.txt -f ogg
  [ "$other" = "$program" ] || measure "other many.mkv" "$other" -i many.mkv -o out.txt -f ogg
  measure "mkvextract many.mkv" mkvextract many.mkv chapters -s out.txt
  i=$((i + 1))
done
