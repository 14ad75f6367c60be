#include "core/chapter_list.h"

#include "core/timestamp.h"

namespace markwright {

TitleChapters RetimeChapters(const TitleChapters& title, double input_rate, double output_rate) {
  TitleChapters retimed;
  retimed.chapters.reserve(title.chapters.size());
  for (const Chapter& chapter : title.chapters) {
    retimed.chapters.push_back({RetimeMilliseconds(chapter.start, input_rate, output_rate),
                                chapter.name, chapter.language});
  }
  if (title.length) retimed.length = RetimeMilliseconds(*title.length, input_rate, output_rate);
  retimed.left_out = title.left_out;
  return retimed;
}

void RetimeChaptersInPlace(TitleChapters& title, double input_rate, double output_rate) {
  for (Chapter& chapter : title.chapters) {
    chapter.start = RetimeMilliseconds(chapter.start, input_rate, output_rate);
  }
  if (title.length) title.length = RetimeMilliseconds(*title.length, input_rate, output_rate);
}

}  // namespace markwright
