#!/usr/bin/env bash
# Builds the Debian package from the build folder, unpacks it, checks what it depends on, and
# runs the unpacked program: it must convert like the built one and find its window module and
# its reading child where it is installed.
set -euo pipefail
build=$1 work=$2 built=$3 source=$4
rm -rf "$work" && mkdir -p "$work"
cd "$work"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >cpack.log 2>&1 || {
  cat cpack.log >&2
  exit 1
}
deb=$(echo markwright_*.deb)
dpkg-deb -x "$deb" root
fail() {
  echo "$*" >&2
  exit 1
}

depends=$(dpkg-deb -f "$deb" Depends)
required=(libmediainfo0v5 libpugixml1v5 libmatroska7 libebml5 'libstdc\+\+6' 'libavformat[0-9]+'
  'libswscale[0-9]+')
# A build with the window has its module beside the executable; the package must carry it.
window_module=$(dirname "$built")/libmarkwright_ui.so
[ -e "$window_module" ] && required+=(libqt6widgets6 libqt6svg6)
for package in "${required[@]}"; do
  grep -Eq "(^|, )$package(t64)?( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

exe=root/usr/bin/markwright
sample=$source/samples/movie-chapters.txt
ifo=$source/tests/fixtures/dvd/pal_chapters/VIDEO_TS/VTS_01_0.IFO
for input in "$sample" "$ifo"; do
  "$built" -i "$input" -o built.txt -f x264 -infps 25 -outfps 25
  "$exe" -i "$input" -o packaged.txt -f x264 -infps 25 -outfps 25
  cmp built.txt packaged.txt || fail "the packaged program converts $input differently"
done
if [ -e "$window_module" ]; then
  window=$(QT_QPA_PLATFORM=offscreen MARKWRIGHT_SMOKE_TEST=1 "$exe" --window "$sample")
  [ "$window" = $'Form1: movie-chapters.txt (5 chapters) - Markwright\nList1: 5 chapter(s)' ] || fail "window: $window"
fi
# The video module where it is installed: the packaged reading child finds it.
if command -v ffmpeg >/dev/null; then
  ffmpeg -v error -f lavfi -i testsrc=d=2:s=64x48:r=25 -c:v libx264 -g 25 clip.mkv
  printf 'CHAPTER01=00:00:00.000\nCHAPTER02=00:00:01.000\n' >two.txt
  "$built" -i two.txt --video clip.mkv --check -infps 25 -outfps 25 >built.txt
  "$exe" -i two.txt --video clip.mkv --check -infps 25 -outfps 25 >packaged.txt
  cmp built.txt packaged.txt || fail "the packaged program checks key frames differently"
fi

# The icon at every theme size, each of its size.
for size in 16 22 24 32 48 64 128 256; do
  png=root/usr/share/icons/hicolor/${size}x${size}/apps/markwright.png
  file "$png" | grep -q "PNG image data, $size x $size," || fail "icon: $(file "$png")"
done
cmp root/usr/share/bash-completion/completions/markwright "$build/data/markwright.bash-completion"
# The metadata with the desktop entry and icon it names, as a software centre finds them.
if command -v appstreamcli >/dev/null; then
  appstreamcli validate-tree --no-net root
fi
