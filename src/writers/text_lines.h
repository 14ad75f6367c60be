#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/chapter.h"

namespace markwright {

// Every line a writer emits ends with CR LF.
inline constexpr std::string_view kLineEnd = "\r\n";

// Appends the line and its CR LF.
inline void AppendLine(std::string& text, std::string_view line) {
  text += line;
  text += kLineEnd;
}

// Appends one line per chapter, line_of(its start in milliseconds), each with its CR LF.
template <typename LineOf>
void AppendLines(std::string& text, std::span<const Chapter> chapters, LineOf line_of) {
  for (const auto& chapter : chapters) AppendLine(text, line_of(chapter.start));
}

// Room for the chapters' times as HH:MM:SS.mmm: enough for all below 100 hours.
std::size_t TimesSize(std::span<const Chapter> chapters);

// Appends one line per chapter: its time as HH:MM:SS.mmm and CR LF.
void AppendTimeLines(std::string& text, std::span<const Chapter> chapters);

// The chapter times as HH:MM:SS.mmm with the separator between two of them, none after the last;
// "" for none.
std::string JoinWith(std::span<const Chapter> chapters, std::string_view separator);

// The number with at least two digits: 07, 12, 100.
std::string TwoDigits(long long number);

// Appends the number with at least two digits.
void AppendTwoDigits(std::string& text, long long number);

}  // namespace markwright
