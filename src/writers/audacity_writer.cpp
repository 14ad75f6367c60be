#include "writers/audacity_writer.h"

#include <algorithm>
#include <cstdint>

#include "writers/chapter_label.h"

namespace markwright {
namespace {

// Seconds with six decimals: the milliseconds and three zeros.
void AppendSeconds(std::string& text, std::int64_t milliseconds) {
  const std::string fraction = std::to_string(1000 + milliseconds % 1000);
  text += std::to_string(milliseconds / 1000) + "." + fraction.substr(1) + "000";
}

}  // namespace

std::string WriteAudacityLabels(const TitleChapters& title) {
  std::string text;
  for (const Chapter& chapter : title.chapters) {
    AppendSeconds(text, chapter.start);
    text += '\t';
    AppendSeconds(text, chapter.start);
    text += '\t';
    const std::size_t name_at = text.size();
    AppendOnOneLine(text, chapter.name);
    std::replace(text.begin() + static_cast<std::ptrdiff_t>(name_at), text.end(), '\t', ' ');
    text += '\n';
  }
  return text;
}

}  // namespace markwright
