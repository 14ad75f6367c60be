#pragma once

#include <string>
#include <string_view>

namespace markwright {

// Every line a writer emits ends with CR LF.
inline constexpr std::string_view kLineEnd = "\r\n";

// Appends the line and its CR LF.
inline void AppendLine(std::string& text, std::string_view line) {
  text += line;
  text += kLineEnd;
}

// The number with at least two digits: 07, 12, 100.
std::string TwoDigits(long long number);

}  // namespace markwright
