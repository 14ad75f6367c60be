#include "writers/ogg_writer.h"

#include <algorithm>

#include "core/timestamp.h"
#include "writers/chapter_label.h"
#include "writers/text_lines.h"

namespace markwright {

std::string WriteOggText(const TitleChapters& retimed_chapters, const FrameClock&,
                         std::string_view) {
  std::string text;
  // Per chapter: its time and name, "CHAPTER" and the number twice, "=", "NAME=" and two line
  // ends.
  const std::span<const Chapter> chapters = retimed_chapters.chapters;
  const std::size_t count = chapters.size();
  const std::size_t number_size = std::max<std::size_t>(2, std::to_string(count).size());
  std::size_t names_size = 0;
  for (const Chapter& chapter : chapters) names_size += chapter.name.size();
  text.reserve(TimesSize(chapters) + names_size + count * (2 * (7 + number_size) + 1 + 5 + 4));
  long long number = 0;
  for (const Chapter& chapter : chapters) {
    ++number;
    text += "CHAPTER";
    AppendTwoDigits(text, number);
    text += '=';
    AppendTimestamp(text, chapter.start);
    text += kLineEnd;
    text += "CHAPTER";
    AppendTwoDigits(text, number);
    text += "NAME=";
    AppendOnOneLine(text, chapter.name);
    text += kLineEnd;
  }
  return text;
}

}  // namespace markwright
