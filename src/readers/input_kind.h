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
  kAudioFile = 10,
};

// How much of a file detection reads: enough for blank lines before the first character and for
// an XML prolog before the root element.
inline constexpr std::size_t kDetectionHeadSize = 4096;

// The kind of a source from its head (after a UTF-8 byte-order mark). The first four characters
// decide: "<?" among them means XML, which is Matroska chapters when the root element is
// Chapters and HD DVD otherwise (also when the head ends before the root element); XML in UTF-16
// with its byte-order mark is told apart the same way; else the first character: C OGG, M Blu-ray,
// < HD DVD, D DVD, a digit Celltimes (letter case ignored). A head none of these fits may be a
// media file (EBML or an MP4 "ftyp" box, by their bytes), ffmpeg metadata (";FFMETADATA1") or
// WebVTT ("WEBVTT") or an MP3, Ogg Vorbis, Opus or FLAC file (AudioContainerOfHead); failing those,
// blank lines and blanks before the first character are passed over and the rules above tried
// again.
InputKind DetectInputKindFromHead(std::string_view head);

// Reads the head of the file and classifies it; XML whose root element stands beyond the head is
// read further, as far as its root element. Throws ReadError when the file cannot be opened
// or holds fewer than four characters.
InputKind DetectInputKind(const std::filesystem::path& path);

}  // namespace markwright
