#pragma once

#include <string_view>

#include "core/chapter.h"

namespace markwright {

// Whether the line (blanks around it allowed) is a chapter line of a time list: a clock time
// M:SS or H:MM:SS (an optional fraction after a '.'), bare or in [ ] or ( ), then the end of the
// line or a blank. Such a line is no frame number, so no Celltimes list holds it.
bool IsTimeListLine(std::string_view line);

// The chapters of a list as video descriptions, podcast apps and our own TimeList writer write
// them, one per line: "0:00 Title", "1:02:03 - Title", "[00:12] Title", "00:12.500 Title". After
// the time, blanks and one dash (-, en dash, em dash), '|' or ':' standing alone are passed over;
// the rest of the line is the name. A line without a time is left out with a note naming it (the
// first ten, then a count); blank lines are passed over. A file that is not UTF-8 throughout is
// read as Windows-1252. Throws ReadError naming path when no line has a time.
TitleChapters ParseTimeList(std::string_view text, std::string_view path);

}  // namespace markwright
