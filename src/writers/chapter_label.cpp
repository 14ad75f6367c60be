#include "writers/chapter_label.h"

#include <algorithm>
#include <numeric>

namespace markwright {

void AppendOnOneLine(std::string& text, std::string_view name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (c == '\r' && i + 1 < name.size() && name[i + 1] == '\n') continue;
    text += c == '\r' || c == '\n' ? ' ' : c;
  }
}

std::string ChapterLabel(const Chapter& chapter, std::size_t index) {
  if (chapter.name.empty()) return "Chapter " + std::to_string(index + 1);
  std::string label;
  label.reserve(chapter.name.size());
  AppendOnOneLine(label, chapter.name);
  return label;
}

bool AppendMarkupEntity(std::string& text, char c) {
  switch (c) {
    case '&':
      text += "&amp;";
      return true;
    case '<':
      text += "&lt;";
      return true;
    case '>':
      text += "&gt;";
      return true;
    default:
      return false;
  }
}

std::vector<std::optional<std::int64_t>> FollowingStarts(const TitleChapters& title) {
  const std::size_t count = title.chapters.size();
  std::vector<std::int64_t> starts(count);
  bool in_order = true;
  for (std::size_t i = 0; i < count; ++i) {
    starts[i] = title.chapters[i].start;
    in_order = in_order && (i == 0 || starts[i - 1] <= starts[i]);
  }
  // Positions in time order, ties in list order; a list already in order needs no sorting.
  std::vector<std::size_t> order(count);
  std::iota(order.begin(), order.end(), std::size_t{0});
  if (!in_order) {
    std::stable_sort(order.begin(), order.end(),
                     [&starts](std::size_t a, std::size_t b) { return starts[a] < starts[b]; });
  }
  std::vector<std::optional<std::int64_t>> following(count);
  // From the latest back, later is the earliest start after the time of the chapter at hand.
  std::optional<std::int64_t> later;
  std::optional<std::int64_t> seen;
  for (std::size_t k = count; k-- > 0;) {
    const std::int64_t start = starts[order[k]];
    if (seen && start < *seen) later = seen;
    seen = start;
    following[order[k]] = later;
  }
  return following;
}

}  // namespace markwright
