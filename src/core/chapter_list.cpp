#include "core/chapter_list.h"

#include "core/timestamp.h"

namespace markwright {

TitleChapters RetimeChapters(const TitleChapters& title, double input_rate, double output_rate) {
  TitleChapters retimed;
  retimed.chapters.reserve(title.chapters.size());
  for (const Chapter& chapter : title.chapters) {
    retimed.chapters.push_back(
        {RetimeTimestamp(chapter.time, input_rate, output_rate), chapter.name, chapter.language});
  }
  if (!title.length.empty()) {
    retimed.length = RetimeTimestamp(title.length, input_rate, output_rate);
  }
  return retimed;
}

void RetimeChaptersInPlace(TitleChapters& title, double input_rate, double output_rate) {
  for (Chapter& chapter : title.chapters) {
    chapter.time = RetimeTimestamp(chapter.time, input_rate, output_rate);
  }
  if (!title.length.empty()) title.length = RetimeTimestamp(title.length, input_rate, output_rate);
}

}  // namespace markwright
