#!/bin/sh
# What a run of the executable costs before it does anything: the libraries it loads (ldd) and
# the wall time of a plain conversion (hyperfine), which must stay about 7 ms and 11 libraries.
# libavformat, libavcodec, libswscale (the video module) and Qt (the window module) are loaded
# only when needed; linking one of them into the executable shows here at once (138 libraries,
# 63 ms).
#   bench/startup.sh build/markwright
# Needs hyperfine (Debian package).
#
# The Debian package's executable (cpack, unpacked), 2-core build machine busy with 6 other builds
# (load average 13): 9 libraries (ldd lines), 2.7 ms at best, 2.6 ms of CPU a run (hyperfine's
# mean wall time is 7 ms on a quiet machine, 17 ms ± 12 ms at that load). The same executable
# with libavformat, libavcodec and libswscale preloaded (LD_PRELOAD), as when the executable
# linked them: 139 libraries, 96 ms at best, 27 ms of CPU a run.
set -eu
program=$(realpath "$1")
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
printf 'CHAPTER01=00:00:00.000\nCHAPTER01NAME=a\nCHAPTER02=00:01:00.000\nCHAPTER02NAME=b\n' \
  > "$folder/in.txt"
echo "libraries: $(ldd "$program" | wc -l)"
hyperfine -N --warmup 20 --runs 200 \
  "$program -i $folder/in.txt -o $folder/out.txt -f x264 -infps 25 -outfps 25"
