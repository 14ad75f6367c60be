#pragma once

#include <span>
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

// Appends one line per item, line_of(item), each with its CR LF.
template <typename LineOf>
void AppendLines(std::string& text, std::span<const std::string> items, LineOf line_of) {
  for (const auto& item : items) AppendLine(text, line_of(item));
}

// The characters of all items together.
std::size_t TotalSize(std::span<const std::string> items);

// The items with the separator between two of them, none after the last; "" for no items.
std::string JoinWith(std::span<const std::string> items, std::string_view separator);

// The number with at least two digits: 07, 12, 100.
std::string TwoDigits(long long number);

// Appends the number with at least two digits.
void AppendTwoDigits(std::string& text, long long number);

}  // namespace markwright
