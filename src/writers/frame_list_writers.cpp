#include "writers/frame_list_writers.h"

#include <span>

#include "core/timestamp.h"
#include "writers/text_lines.h"

namespace markwright {
namespace {

// One line per chapter: its frame number at the output rate and the suffix.
std::string FrameLines(std::span<const std::string> chapters, double output_rate,
                       std::string_view suffix = {}) {
  std::string text;
  AppendLines(text, chapters, [&](std::string_view chapter) {
    return std::to_string(TimestampToFrame(chapter, output_rate)) + std::string(suffix);
  });
  return text;
}

}  // namespace

std::string WriteX264QpText(const ChapterList& retimed_chapters, double output_rate,
                            std::string_view) {
  return FrameLines(retimed_chapters, output_rate, " I");
}

std::string WriteHcEncText(const ChapterList& retimed_chapters, double output_rate,
                           std::string_view) {
  std::string text;
  AppendLine(text, "*CHAPTER          " + std::to_string(retimed_chapters.size()));
  return text + FrameLines(retimed_chapters, output_rate);
}

std::string WriteCelltimesText(const ChapterList& retimed_chapters, double output_rate,
                               std::string_view) {
  if (retimed_chapters.empty()) return {};
  return FrameLines(std::span(retimed_chapters).subspan(1), output_rate);
}

std::string WriteMuxmanText(const ChapterList& retimed_chapters, double output_rate,
                            std::string_view) {
  return FrameLines(retimed_chapters, output_rate);
}

std::string WriteTsMuxerText(const ChapterList& retimed_chapters, double, std::string_view) {
  return "--custom-chapters=" + JoinWith(retimed_chapters, ";");
}

std::string WriteTimecodesText(const ChapterList& retimed_chapters, double, std::string_view) {
  std::string text;
  AppendLines(text, retimed_chapters, [](std::string_view chapter) { return chapter; });
  return text;
}

}  // namespace markwright
