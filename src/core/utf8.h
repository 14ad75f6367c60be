#pragma once

#include <cstddef>
#include <string_view>

namespace markwright {

// The length (1 to 4) of the well-formed UTF-8 sequence the text begins with, or 0 when it begins
// with none: a continuation byte, an overlong form, a surrogate, a code point above U+10FFFF, a
// sequence cut short, or no byte at all. The one check of UTF-8 every reader, message and
// document shares.
std::size_t Utf8SequenceLength(std::string_view text);

}  // namespace markwright
