#pragma once

#include <string_view>

#include "core/chapter.h"

namespace markwright {

// Whether the line is a label line of an Audacity label file: two numbers of seconds separated by
// a tab, then the end of the line or a tab. No Celltimes list holds such a line.
bool IsAudacityLabelLine(std::string_view line);

// The chapters of an Audacity label file (File > Export > Labels): one label a line, its start
// and end in seconds ("12.500000") and its text, separated by tabs; each label's start is a
// chapter named by its text. The lines of frequency ranges that Audacity writes below a spectral
// label (they begin with '\') and blank lines are passed over. Seconds round half away from zero
// to the millisecond. The length is the latest end when it lies beyond every start (a region
// label); point labels (start = end) give none. A file that is not UTF-8 throughout is read as
// Windows-1252. Throws ReadError naming path and the line for a line that is not a label, or
// when there is no label.
TitleChapters ParseAudacityLabels(std::string_view text, std::string_view path);

}  // namespace markwright
