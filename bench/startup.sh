#!/bin/sh
# What a run of the executable costs before it does anything: the libraries it loads (ldd) and
# the wall time of a plain conversion (hyperfine), which must stay about 7 ms and 11 libraries.
# libavformat, libavcodec, libswscale (the video module) and Qt (the window module) are loaded
# only when needed; linking one of them into the executable shows here at once (138 libraries,
# 63 ms).
#   bench/startup.sh build/markwright
# Needs hyperfine (Debian package).
set -eu
program=$(realpath "$1")
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
printf 'CHAPTER01=00:00:00.000\nCHAPTER01NAME=a\nCHAPTER02=00:01:00.000\nCHAPTER02NAME=b\n' \
  > "$folder/in.txt"
echo "libraries: $(ldd "$program" | wc -l)"
hyperfine -N --warmup 20 --runs 200 \
  "$program -i $folder/in.txt -o $folder/out.txt -f x264 -infps 25 -outfps 25"
