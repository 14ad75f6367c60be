#include "core/chapter_list.h"

#include <algorithm>

#include "core/timestamp.h"

namespace markwright {

TitleChapters RetimeChapters(const TitleChapters& title, double input_rate, double output_rate) {
  TitleChapters retimed;
  retimed.chapters.reserve(title.chapters.size());
  for (const Chapter& chapter : title.chapters) {
    retimed.chapters.push_back(chapter);
    retimed.chapters.back().start = RetimeMilliseconds(chapter.start, input_rate, output_rate);
  }
  retimed.media_file = title.media_file;
  retimed.notes = title.notes;
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

std::size_t EndsNotKept(const TitleChapters& title,
                        const std::vector<std::optional<std::int64_t>>& ends) {
  std::vector<std::int64_t> starts;
  starts.reserve(title.chapters.size());
  for (const Chapter& chapter : title.chapters) starts.push_back(chapter.start);
  std::ranges::sort(starts);
  std::size_t lost = 0;
  for (std::size_t i = 0; i < ends.size() && i < title.chapters.size(); ++i) {
    if (!ends[i] || ends[i] == title.length) continue;
    // A chapter ends where the next later one starts; after the latest, the length stands in.
    const auto later = std::ranges::upper_bound(starts, title.chapters[i].start);
    if (later != starts.end() && *later != *ends[i]) ++lost;
  }
  return lost;
}

}  // namespace markwright
