#pragma once

#include <string>

#include "core/chapter.h"

namespace markwright {

// An ffmpeg metadata file with LF line ends: ";FFMETADATA1", then per chapter a [CHAPTER]
// section in milliseconds (TIMEBASE=1/1000). A chapter ends where the next one in time starts
// (FollowingStarts, ties following in list order), so no END lies before its START even when the
// list is out of order; the latest one ends at the title's length when that is known and not
// before its start, otherwise at its own start. A name is written as title=, with '=', ';', '#',
// '\' and line ends escaped by a backslash as ffmpeg escapes them; a nameless chapter has no title
// line.
std::string WriteFfmetadata(const TitleChapters& title);

}  // namespace markwright
