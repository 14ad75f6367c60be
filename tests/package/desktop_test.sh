#!/usr/bin/env bash
# The desktop entry as desktop-file-validate reads it, and the MIME types it claims as a file
# manager sees them: with a MIME database made from the shared one and ours, Markwright's
# chapter files are of a type the entry claims, but plain text and other XML are not (else it is
# offered for every text file). The AppStream metadata lists the same types.
set -euo pipefail
# The entry is the one the build wrote, its MIME types from the program's table of input kinds.
data=$1 work=$2 desktop=$3
shared=/usr/share/mime/packages/freedesktop.org.xml
fail() {
  echo "$*" >&2
  exit 1
}
desktop-file-validate "$desktop"

claimed=$(sed -n 's/^MimeType=//p' "$desktop" | tr ';' '\n' | sed '/^$/d' | sort)
listed=$(sed -n 's:.*<mediatype>\(.*\)</mediatype>.*:\1:p' \
  "$data/io.github.markwright.Markwright.metainfo.xml" | sort)
[ "$claimed" = "$listed" ] || fail "the desktop entry claims"$'\n'"$claimed"$'\n'"the metadata lists"$'\n'"$listed"

rm -rf "$work" && mkdir -p "$work/share/mime/packages" "$work/home" "$work/files"
cp "$shared" "$work/share/mime/packages/"
cp "$data/markwright-mime.xml" "$work/share/mime/packages/markwright.xml"
update-mime-database "$work/share/mime" 2>"$work/update.log" || {
  cat "$work/update.log" >&2
  exit 1
}
cd "$work/files"
ContentType() {
  XDG_DATA_HOME="$work/home" XDG_DATA_DIRS="$work/share" gio info -a standard::content-type "$1" |
    sed -n 's/^ *standard::content-type: //p'
}

# Told by name, and by content alone (a name without an extension).
printf 'MPLS0200' >00800.mpls
printf 'MPLS0200' >playlist
printf '<?xml version="1.0"?>\n<Playlist xmlns="http://www.dvdforum.org/2005/HDDVDVideo/Playlist"/>\n' >VPLST000.XPL
printf 'DVDVIDEO-VTS' >VTS_01_0.IFO
printf 'DVDVIDEO-VTS' >titleset
printf '<?xml version="1.0"?>\n<!DOCTYPE Chapters SYSTEM "matroskachapters.dtd">\n<Chapters>\n</Chapters>\n' >chapters
printf ';FFMETADATA1\ntitle=Film\n' >Chapters.ffmeta
printf ';FFMETADATA1\ntitle=Film\n' >metadata
printf 'WEBVTT\n\n' >Chapters.vtt
for file in 00800.mpls playlist VPLST000.XPL VTS_01_0.IFO titleset chapters Chapters.ffmeta metadata \
  Chapters.vtt; do
  type=$(ContentType "$file")
  grep -qxF "$type" <<<"$claimed" || fail "$file is $type, which the desktop entry does not claim"
done

# Plain text, an OGG chapter text among it, and other XML are not claimed.
printf 'CHAPTER01=00:00:00.000\nCHAPTER01NAME=Start\n' >Chapters.txt
printf 'Shopping list\n' >notes.txt
printf '<?xml version="1.0"?>\n<config/>\n' >settings.xml
for file in Chapters.txt notes.txt settings.xml; do
  type=$(ContentType "$file")
  ! grep -qxF "$type" <<<"$claimed" || fail "$file is $type, which the desktop entry claims"
done
