#include "writers/ogg_writer.h"

#include <algorithm>

#include "writers/text_lines.h"

namespace markwright {

std::string WriteOggText(const ChapterList& retimed_chapters, double, std::string_view) {
  std::string text;
  // Per chapter: its time, "CHAPTER" and the number twice, "=", "NAME=" and two line ends.
  const std::size_t count = retimed_chapters.size();
  const std::size_t number_size = std::max<std::size_t>(2, std::to_string(count).size());
  text.reserve(TotalSize(retimed_chapters) + count * (2 * (7 + number_size) + 1 + 5 + 4));
  long long number = 0;
  for (const auto& chapter : retimed_chapters) {
    ++number;
    text += "CHAPTER";
    AppendTwoDigits(text, number);
    text += '=';
    AppendLine(text, chapter);
    text += "CHAPTER";
    AppendTwoDigits(text, number);
    AppendLine(text, "NAME=");
  }
  return text;
}

}  // namespace markwright
