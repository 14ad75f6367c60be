#pragma once

#include <algorithm>
#include <cctype>
#include <string_view>

namespace markwright {

// Whether the two texts are the same but for the letter case of ASCII letters (keywords, language
// tags, folder names); other bytes must match exactly.
inline bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace markwright
