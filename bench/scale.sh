#!/bin/sh
# A million OGG chapters (about 48 MB) converted by the executable to an x264 QP file, with the
# wall time and peak memory of each run beside those of cat copying the same file.
#   bench/scale.sh build-perf/markwright [runs]
# The chapter file is made once, in $TMPDIR or /tmp, and kept for the next call.
set -eu
program=$1
runs=${2:-3}
folder=${TMPDIR:-/tmp}/markwright_scale
input=$folder/big.txt
mkdir -p "$folder"
if [ ! -s "$input" ]; then
  awk 'BEGIN {
    for (i = 1; i <= 1000000; i++) {
      t = (i - 1) * 7919
      printf "CHAPTER%02d=%02d:%02d:%02d.%03d\r\nCHAPTER%02dNAME=\r\n", i, int(t / 3600000),
             int(t / 60000) % 60, int(t / 1000) % 60, t % 1000, i
    }
  }' > "$input"
fi
echo "input: $(wc -c < "$input") bytes"
measure() {
  label=$1
  shift
  /usr/bin/time -f "$label: %e s wall, %U s user, %S s system, %M KB peak" "$@"
}
i=0
while [ "$i" -lt "$runs" ]; do
  measure markwright "$program" -i "$input" -o "$folder/qpfile.txt" -f x264 -infps 24/1.001 \
    -outfps 25
  measure cat sh -c 'cat "$1" > "$2"' sh "$input" "$folder/copy.txt"
  i=$((i + 1))
done
