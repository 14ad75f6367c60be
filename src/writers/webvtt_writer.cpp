#include "writers/webvtt_writer.h"

#include <cstdint>
#include <string_view>

#include "core/timestamp.h"
#include "writers/chapter_label.h"

namespace markwright {
namespace {

std::string Escaped(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    if (!AppendMarkupEntity(escaped, c)) escaped += c;
  }
  return escaped;
}

}  // namespace

std::string WriteWebVtt(const TitleChapters& title) {
  std::string text = "WEBVTT\n\n";
  // A cue must end after it starts, so it runs to the next later chapter start, wherever that
  // chapter stands in the list.
  const auto following = FollowingStarts(title);
  for (std::size_t index = 0; index < title.chapters.size(); ++index) {
    const std::int64_t start = title.chapters[index].start;
    std::int64_t end = start + 1000;
    if (following[index]) {
      end = *following[index];
    } else if (title.length && *title.length > start) {
      end = *title.length;
    }
    text += FormatTimestamp(start) + " --> " + FormatTimestamp(end) + "\n" +
            Escaped(ChapterLabel(title.chapters[index], index)) + "\n\n";
  }
  return text;
}

}  // namespace markwright
