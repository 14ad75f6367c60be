#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/timecode.h"

namespace markwright {

// What the readers of timecoded markers share.

// The timecode base of the input rate. Throws ReadError naming the source for a rate without
// timecode.
TimecodeBase InputTimecodeBase(double input_rate, std::string_view source_name);

// The frame of the timecode text on the line (drop-frame as it says, or as force_drop_frame asks,
// where the base allows it). Throws ReadError naming the line for a malformed text or one no
// frame has.
std::int64_t SourceTimecodeFrame(std::string_view text, TimecodeBase base, bool force_drop_frame,
                                 std::string_view source_name, std::size_t line_number,
                                 Timecode* parsed = nullptr);

}  // namespace markwright
