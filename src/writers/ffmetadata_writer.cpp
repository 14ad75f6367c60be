#include "writers/ffmetadata_writer.h"

#include <cstdint>
#include <string_view>

#include "writers/chapter_label.h"

namespace markwright {
namespace {

// The characters ffmpeg's own metadata writer puts a backslash before, and CR, so that a name
// ending in one is not read as a line ending in CR LF.
std::string Escaped(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '=' || c == ';' || c == '#' || c == '\\' || c == '\n' || c == '\r') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

}  // namespace

std::string WriteFfmetadata(const TitleChapters& title) {
  std::string text = ";FFMETADATA1\n";
  // ffmpeg refuses a whole file for one chapter that ends before it starts, and players skip a
  // chapter of no length, so each chapter ends at the next later start wherever that chapter
  // stands in the list, the last at the title's length, and one millisecond after its start
  // when nothing later is known.
  const auto following = FollowingStarts(title);
  for (std::size_t index = 0; index < title.chapters.size(); ++index) {
    const Chapter& chapter = title.chapters[index];
    const std::int64_t start = chapter.start;
    std::int64_t end = start + 1;
    if (following[index]) {
      end = *following[index];
    } else if (title.length && *title.length > start) {
      end = *title.length;
    }
    text += "[CHAPTER]\nTIMEBASE=1/1000\nSTART=" + std::to_string(start) +
            "\nEND=" + std::to_string(end) + "\n";
    if (!chapter.name.empty()) text += "title=" + Escaped(chapter.name) + "\n";
  }
  return text;
}

}  // namespace markwright
