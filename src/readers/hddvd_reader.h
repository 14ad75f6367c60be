#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/chapter_list.h"

namespace markwright {

// What the reader takes from an HD DVD playlist (.xpl): its titles in text order, each with the
// chapter start timecodes as written.
//
// The text is searched exactly, letter case included, without parsing XML, and all of it is
// examined. A title is the text between a "<ChapterList>" and the first "</ChapterList>" after
// it. Each chapter is a titleTimeBegin=" attribute directly followed by a timecode HH:MM:SS:FF
// of 60 frames a second; a title may hold none. Only the chapters' names are read as XML
// attributes. The text is first decoded to UTF-8 as XmlTextInUtf8 decodes it.
struct HdDvdChapter {
  std::string written;  // titleTimeBegin=" and the 11 characters after it, as far as the title goes
  std::size_t line = 0;  // where it stands, for messages
  // The displayName of the start tag it stands in, references decoded; empty when it has none.
  std::string name;
};

struct HdDvdTitle {
  std::vector<HdDvdChapter> chapters;
  // The titleDuration=" timecode of the element the chapter list stands in, as written; empty
  // when there is none.
  std::string duration;
};

struct HdDvdPlaylist {
  std::vector<HdDvdTitle> titles;  // none when the text has neither tag
};

// The titles of a playlist text. Throws ReadError naming the line for a "</ChapterList>" before
// the first "<ChapterList>", a "<ChapterList>" inside another, and a first "<ChapterList>" never
// closed (a later one that is never closed is left alone, like a stray closing tag at the end).
HdDvdPlaylist DecodeHdDvdPlaylist(std::string_view bytes, std::string_view source_name);

// The file read once and decoded; fails like ReadSourceFile and DecodeHdDvdPlaylist.
HdDvdPlaylist ReadHdDvdPlaylist(const std::filesystem::path& path);

// The title that Open File and the command line load: the first one with the most chapters,
// every title looked at; 0 when there are none.
std::int32_t ChooseHdDvdTitle(const HdDvdPlaylist& playlist);

// The chapters of title 1, 2, ..., each timecode's time stretched by 1.001 (24 to 24/1.001
// frames a second) and named by its displayName; the title's length is its titleDuration,
// stretched alike, when that is a timecode. Throws ReadError: "no chapter list found" for a
// playlist without titles, "there is no title N" for a number the playlist does not have, "title
// N has no chapters" for a title without titleTimeBegin, and naming the line for a timecode that
// is not HH:MM:SS:FF.
TitleChapters HdDvdTitleChapters(const HdDvdPlaylist& playlist, std::int32_t title,
                                 std::string_view source_name);

}  // namespace markwright
