#pragma once

#include <string>

#include "core/chapter.h"

namespace markwright {

// An ffmpeg metadata file with LF line ends: ";FFMETADATA1", then per chapter a [CHAPTER]
// section in milliseconds (TIMEBASE=1/1000). Every END lies after its START: a chapter ends where
// the next later one starts (FollowingStarts), even when the list is out of order; one with none
// later ends at the title's length when that is known and later, otherwise 1 ms after its start. A
// name is written as title=, with '=', ';', '#',
// '\' and line ends escaped by a backslash as ffmpeg escapes them; a nameless chapter has no title
// line.
std::string WriteFfmetadata(const TitleChapters& title);

}  // namespace markwright
