#include "writers/chapter_label.h"

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

}  // namespace markwright
