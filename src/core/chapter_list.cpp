#include "core/chapter_list.h"

#include "core/timestamp.h"

namespace markwright {

ChapterList RetimeChapters(const ChapterList& chapters, double input_rate, double output_rate) {
  ChapterList retimed;
  retimed.reserve(chapters.size());
  for (const auto& chapter : chapters) {
    retimed.push_back(RetimeTimestamp(chapter, input_rate, output_rate));
  }
  return retimed;
}

}  // namespace markwright
