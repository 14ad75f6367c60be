#include "writers/ogg_writer.h"

#include "writers/text_lines.h"

namespace markwright {

std::string WriteOggText(const ChapterList& retimed_chapters, double, std::string_view) {
  std::string text;
  long long number = 0;
  for (const auto& chapter : retimed_chapters) {
    const std::string chapter_key = "CHAPTER" + TwoDigits(++number);
    AppendLine(text, chapter_key + "=" + chapter);
    AppendLine(text, chapter_key + "NAME=");
  }
  return text;
}

}  // namespace markwright
