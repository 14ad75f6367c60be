#pragma once

#include <filesystem>
#include <string_view>

#include "core/chapter_list.h"
#include "core/frame_times.h"

namespace markwright {

// One chapter per line of a Celltimes list: a frame number counted from 0 at input_rate (blanks
// around it and a decimal fraction are accepted). Lines end at CR LF, CR or LF; the last line
// counts without a line end; blank lines are skipped; a UTF-8 byte-order mark is skipped. The
// time is the frame's second count rounded to 15 significant digits, then to whole milliseconds
// (half to even). An empty list gives no chapters. Throws ReadError naming the line for a line
// that is not a number of 0 or more, or whose time is beyond 596 hours (32-bit milliseconds).
TitleChapters ParseCelltimes(std::string_view text, std::string_view source_name,
                             double input_rate);
TitleChapters ReadCelltimes(const std::filesystem::path& path, double input_rate);

// The same with the frames counted on a clock: at a constant rate as above; on frames of varying
// length a chapter is its frame's start rounded to 15 digits, then to whole milliseconds. Throws
// ReadError for a number that is no whole frame or a frame past the end of the clock's file.
TitleChapters ParseCelltimes(std::string_view text, std::string_view source_name,
                             const FrameClock& input_clock);
TitleChapters ReadCelltimes(const std::filesystem::path& path, const FrameClock& input_clock);

}  // namespace markwright
