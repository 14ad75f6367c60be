#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/language_tag.h"

namespace markwright {

// One chapter point: its start in whole milliseconds (never negative; readers turn their format's
// times into this count where they read them, and writers format it), the name the source gives
// it (UTF-8, empty when it has none) and the language of that name (an ISO 639-2 code such as
// "eng" or a BCP 47 tag; empty when unknown).
struct Chapter {
  std::int64_t start = 0;
  std::string name;
  LanguageTag language;
  // What podcast chapters add (Podlove, Podcasting 2.0): the web page the chapter links to, its
  // picture's address, and whether podcast apps leave it out of their chapter list ("toc": false)
  // while still showing its picture. Empty or false for other sources; other writers ignore them.
  std::string link = {};
  std::string image = {};
  bool hidden = false;

  bool operator==(const Chapter&) const = default;
};

// What a reader saw in the source and did not put into the chapters, so that a conversion can
// say what it loses (see LossNotes). Counts, 0 when nothing of the kind was left out.
struct LeftOutOnReading {
  std::size_t other_editions = 0;   // editions of the file besides the one read
  std::size_t nested_chapters = 0;  // chapters inside chapters, not read
  std::size_t other_names = 0;      // chapters also named in further languages (one name is read)
  std::size_t end_times = 0;        // chapter ends other than the next start or the title's end

  bool operator==(const LeftOutOnReading&) const = default;
};

// The chapters of one title in source order (never sorted, never de-duplicated) and the title's
// length in milliseconds when the source knows it (nullopt otherwise: a length of 0 is a length).
// Formats that need the end of the last chapter take it from the length.
struct TitleChapters {
  std::vector<Chapter> chapters;
  std::optional<std::int64_t> length;
  // The media file the chapters belong to when the source names it (a CUE sheet's FILE); empty
  // otherwise.
  std::string media_file = {};
  // What the reader passed over and the user should hear of (a line without a time), one line
  // each; shown as notes, with the format's own, after a conversion.
  std::vector<std::string> notes = {};
  LeftOutOnReading left_out = {};

  bool operator==(const TitleChapters&) const = default;
};

}  // namespace markwright
