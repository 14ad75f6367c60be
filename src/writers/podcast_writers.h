#pragma once

#include <string>

#include "core/chapter.h"

namespace markwright {

// Podlove Simple Chapters 1.2: an XML declaration, then a psc:chapters root in the Podlove
// namespace holding one psc:chapter per chapter, start as HH:MM:SS.mmm, title as ChapterLabel
// gives it, and href and image when the chapter has them. Control characters, which XML 1.0
// cannot carry, are left out, and bytes that are not UTF-8 become U+FFFD. Two-space indent, LF.
std::string WritePodloveChapters(const TitleChapters& title);

// Podcasting 2.0 JSON chapters: {"version": "1.2.0", "chapters": [...]}, each chapter with
// "startTime" in seconds (a whole number when it falls on a second, else up to three decimals),
// "title" as ChapterLabel gives it, "img" and "url" when it has them, "toc": false when it is
// hidden, and for the last chapter "endTime" when the title's length lies after its start.
// Two-space indent, LF; bytes that are not UTF-8 become U+FFFD.
std::string WritePodcastJsonChapters(const TitleChapters& title);

}  // namespace markwright
