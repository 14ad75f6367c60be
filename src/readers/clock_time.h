#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace markwright {

// Times as podcast chapters, label lists and pasted chapter lists write them, in whole
// milliseconds. A fraction of a second beyond the millisecond is rounded half away from zero on
// its decimal digits ("1.0005" is 1001 ms, "1.00049" is 1000 ms), so a time reads the same
// whatever a tool's number formatting. Times of 2^53 ms or more are refused, as everywhere.

// Seconds as a decimal number: one or more digits, then optionally '.' (or ',', as some locales
// write it) and one or more digits. nullopt for anything else.
std::optional<std::int64_t> DecimalSecondsMilliseconds(std::string_view text);

// A clock time [[H:]MM:]SS[.f...]: the first field any number of digits, each later field exactly
// two digits below 60, and at least fewest_colons colons (0 lets plain seconds "90.5" through, as
// normal play time allows). nullopt for anything else.
std::optional<std::int64_t> ClockTimeMilliseconds(std::string_view text, int fewest_colons);

}  // namespace markwright
