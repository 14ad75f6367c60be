#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace markwright {

// Chapter times are whole milliseconds (std::int64_t) from the moment a reader takes them out of
// a file until a writer puts them into one; text exists only at those two edges.

// The milliseconds of H:MM:SS.mmm with one to nine hour digits, minutes and seconds below 60 and
// exactly three millisecond digits (every time this program writes has this form); -1 for any
// other text. Readers whose own rules give such a text this same value try it first: it is the
// common case and the cheap one.
std::int64_t PlainTimestampMilliseconds(std::string_view text);

// The milliseconds a timestamp text stands for. Fields are cut at the separators, so their widths
// are free: hours ":" minutes ":" seconds "." milliseconds, the millisecond text read as a whole
// number of milliseconds ("1:2:3.4" is 3723004). Throws Error ("malformed timestamp ...") on
// anything else and for a time of 2^53 ms or more, which a double could not re-time exactly.
std::int64_t ParseTimestamp(std::string_view timestamp);

// ParseTimestamp for a time a source (or a library reading it) gives: its Error becomes a
// ReadError naming the source.
std::int64_t ParseSourceTimestamp(std::string_view timestamp, std::string_view source_name);

// The canonical text HH:MM:SS.mmm of a whole number of milliseconds; the hour field widens from
// 100 hours on. Throws Error for a negative count.
std::string FormatTimestamp(std::int64_t milliseconds);

// Appends FormatTimestamp(milliseconds) without a string of its own.
void AppendTimestamp(std::string& text, std::int64_t milliseconds);

// The frame on which the time falls at the frame rate: (ms x rate) x 0.001, rounded half to even.
// Throws Error when the frame number does not fit a 32-bit signed integer.
std::int32_t TimestampToFrame(std::int64_t milliseconds, double frame_rate);

// The start of a frame (counted from 0 at the frame rate) in milliseconds, not yet checked
// against any limit: its seconds rounded to 15 significant digits, which drops the division's
// last-bit noise, then half to even to the millisecond. TimestampToFrame gives the frame back.
double FrameStartMilliseconds(double frame, double frame_rate);

// The time at which the frame of a time falls when the video runs at output_rate instead of
// input_rate: (ms x input) / output, rounded to 15 significant digits, then half to even to the
// millisecond. Throws Error for an output rate of 0 and for a result outside 0 to 2^53 ms.
std::int64_t RetimeMilliseconds(std::int64_t milliseconds, double input_rate, double output_rate);

}  // namespace markwright
