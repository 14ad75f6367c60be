#include "writers/chapter_label.h"

namespace markwright {

std::string ChapterLabel(const Chapter& chapter, std::size_t index) {
  if (chapter.name.empty()) return "Chapter " + std::to_string(index + 1);
  std::string label;
  label.reserve(chapter.name.size());
  for (std::size_t i = 0; i < chapter.name.size(); ++i) {
    const char c = chapter.name[i];
    if (c == '\r' && i + 1 < chapter.name.size() && chapter.name[i + 1] == '\n') continue;
    label += c == '\r' || c == '\n' ? ' ' : c;
  }
  return label;
}

}  // namespace markwright
