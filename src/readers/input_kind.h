#pragma once

#include <filesystem>
#include <string_view>

namespace markwright {

enum class InputKind {
  kUnknown = 0,
  kOggChapters = 1,
  kBluRayPlaylist = 2,
  kHdDvdPlaylist = 3,
  kDvdTitleSet = 4,
  kCelltimes = 5,
  kMatroskaXml = 6,
  kFfmetadata = 7,
  kWebVtt = 8,
  kMediaFile = 9,
  kResolveEdl = 10,
  kPremiereMarkers = 11,
  kFcpxml = 12,
  kPodlove = 13,
  kPodcastJson = 14,
  kCueSheet = 15,
  kAudacity = 16,
  kTimeList = 17,
  kAudioFile = 18,
};

// How much of a file detection reads: enough for blank lines before the first character and for
// an XML prolog before the root element.
inline constexpr std::size_t kDetectionHeadSize = 4096;

// The kind of a source from its head (after a UTF-8 byte-order mark). The first four characters
// decide: "<?" among them means XML, which is Matroska chapters when the root element is
// Chapters, Final Cut Pro XML when it is fcpxml, Podlove Simple Chapters when it is chapters with
// any prefix, and HD DVD otherwise (also when the head ends before the root element); XML in
// UTF-16 with its byte-order mark is told apart the same way, and UTF-16 text whose first line
// begins "Marker Name" and a tab is Premiere Pro's marker list; else the first character: C OGG,
// M Blu-ray, < HD DVD, D DVD, a digit Celltimes (letter case ignored), unless the first line is a
// clock time or tab-separated seconds, which no Celltimes list holds. A head none of these fits
// may be a media file (EBML or an MP4 "ftyp" box, by their bytes), a marker EDL ("TITLE:"),
// ffmpeg metadata (";FFMETADATA1"), WebVTT ("WEBVTT") or an MP3, Ogg Vorbis, Opus or FLAC file
// (AudioContainerOfHead); then the first non-blank line tells
// Audacity labels, a time list ("0:00 Title", "[00:12] Title"), a CUE sheet (REM, PERFORMER,
// TITLE, FILE or SONGWRITER) or Podcasting 2.0 JSON ('{'); failing those, blank lines and blanks
// before the first character are passed over and the classic rules tried again.
InputKind DetectInputKindFromHead(std::string_view head);

// Reads the head of the file and classifies it; XML whose root element stands beyond the head is
// read further, as far as its root element. Throws ReadError when the file cannot be opened
// or holds fewer than four characters.
InputKind DetectInputKind(const std::filesystem::path& path);

}  // namespace markwright
