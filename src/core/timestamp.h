#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace markwright {

// The milliseconds a timestamp stands for. Fields are cut at the separators, so their widths are
// free: hours ":" minutes ":" seconds "." milliseconds, the millisecond text read as a whole
// number of milliseconds ("1:2:3.4" is 3723004). Throws Error on anything else.
double TimestampMilliseconds(std::string_view timestamp);

// The whole milliseconds of TimestampMilliseconds, a fraction cut off: the time as formats that
// count whole milliseconds write it. Throws Error as TimestampMilliseconds does.
std::int64_t WholeMilliseconds(std::string_view timestamp);

// The canonical text HH:MM:SS.mmm of a whole number of milliseconds; the hour field widens from
// 100 hours on. Throws Error for a negative count.
std::string FormatTimestamp(std::int64_t milliseconds);

// The frame on which the timestamp falls at the frame rate: (ms x rate) x 0.001, rounded half to
// even. Throws Error when the frame number does not fit a 32-bit signed integer.
std::int32_t TimestampToFrame(std::string_view timestamp, double frame_rate);

// The time at which the timestamp's frame falls when the video runs at output_rate instead of
// input_rate, in canonical form. Throws Error for a malformed timestamp or an output rate of 0.
std::string RetimeTimestamp(std::string_view timestamp, double input_rate, double output_rate);

}  // namespace markwright
