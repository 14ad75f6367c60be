#pragma once

#include <string_view>

#include "core/chapter.h"

namespace markwright {

// The chapters of an ffmpeg metadata file (";FFMETADATA1" first): each [CHAPTER] section's
// START and END in units of its TIMEBASE (1/1000000000 when absent, as ffmpeg reads it), rounded
// half to even to the millisecond, and its title. START, END and the two numbers of TIMEBASE are
// read as ffmpeg reads them: blanks before a number skipped, and the number ending at the first
// character that is not a digit ("END=1065451.0" is 1065451). A text that is not valid UTF-8 is
// read as Windows-1252. Backslash escapes are read as ffmpeg reads them: a backslash keeps the
// next character literally, a line end included. Lines starting with ';' or '#' are comments;
// keys outside chapters are passed over. The length is the latest END. Throws ReadError naming
// path and the line for a missing header, a line that is not KEY=VALUE, a malformed or missing
// START, a negative START or END, a malformed END or TIMEBASE, or no chapter.
TitleChapters ParseFfmetadata(std::string_view text, std::string_view path);

}  // namespace markwright
