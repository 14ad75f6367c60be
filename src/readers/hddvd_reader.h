#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "core/chapter_list.h"

namespace markwright {

// An HD DVD playlist (.xpl) holds several titles, numbered from 1 in text order, each the text
// between a "<ChapterList>" tag and its "</ChapterList>" (the k-th opening tag pairs with the
// k-th closing tag). Each chapter is a titleTimeBegin=" attribute directly followed by a
// timecode HH:MM:SS:FF of 60 frames a second. The text is searched exactly, letter case included,
// without parsing XML; the whole text is examined.
//
// Failures throw ReadError naming the file: a "<ChapterList>" never closed, a "</ChapterList>"
// before its opening tag, a title number that the playlist does not have, and (when loading) a
// malformed timecode or a text without any chapter list ("no chapter list found").

// The number of titles; 0 for a text without chapter-list tags.
std::int32_t CountHdDvdTitlesInText(std::string_view text, std::string_view source_name);
// The number of titleTimeBegin attributes of the title (0 is possible); 0 for a text without
// chapter-list tags.
std::int32_t CountHdDvdChaptersInText(std::string_view text, std::string_view source_name,
                                      std::int32_t title);
// The title's chapter times, each re-timed from 24 to 24/1.001 frames a second.
ChapterList ParseHdDvdPlaylist(std::string_view text, std::string_view source_name,
                               std::int32_t title);
// The first title with the largest chapter count; 0 when there are no titles.
std::int32_t ChooseHdDvdTitleInText(std::string_view text, std::string_view source_name);

// The same on the file's content.
std::int32_t CountHdDvdTitles(const std::filesystem::path& path);
std::int32_t CountHdDvdChapters(const std::filesystem::path& path, std::int32_t title);
ChapterList ReadHdDvdPlaylist(const std::filesystem::path& path, std::int32_t title);

// The title that Open File and the command line load: the first one with the most chapters.
std::int32_t ChooseHdDvdTitle(const std::filesystem::path& path);

}  // namespace markwright
