#include "writers/text_lines.h"

#include <charconv>

#include "core/timestamp.h"

namespace markwright {

std::size_t TimesSize(std::span<const Chapter> chapters) {
  return chapters.size() * 12;
}

void AppendTimeLines(std::string& text, std::span<const Chapter> chapters) {
  for (const auto& chapter : chapters) {
    AppendTimestamp(text, chapter.start);
    text += kLineEnd;
  }
}

std::string JoinWith(std::span<const Chapter> chapters, std::string_view separator) {
  std::string text;
  if (chapters.empty()) return text;
  text.reserve(TimesSize(chapters) + (chapters.size() - 1) * separator.size());
  for (const auto& chapter : chapters) {
    if (&chapter != &chapters.front()) text += separator;
    AppendTimestamp(text, chapter.start);
  }
  return text;
}

void AppendTwoDigits(std::string& text, long long number) {
  char buffer[24];
  char* start = buffer + 1;
  char* const end = std::to_chars(start, buffer + sizeof buffer, number).ptr;
  if (number >= 0 && number < 10) *--start = '0';
  text.append(start, end);
}

std::string TwoDigits(long long number) {
  std::string text;
  AppendTwoDigits(text, number);
  return text;
}

}  // namespace markwright
