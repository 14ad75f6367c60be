#include "writers/frame_list_writers.h"

#include <charconv>
#include <span>

#include "core/timestamp.h"
#include "writers/text_lines.h"

namespace markwright {
namespace {

// Appends one line per chapter: its frame number on the output clock and the suffix.
void AppendFrameLines(std::string& text, std::span<const Chapter> chapters,
                      const FrameClock& output_clock, std::string_view suffix = {}) {
  // A frame number takes at most 11 characters; room that no line fills is never touched, so
  // reserving for the longest costs no memory and spares the copies of a growing text.
  text.reserve(text.size() + chapters.size() * (11 + suffix.size() + kLineEnd.size()));
  const std::string line_end = std::string(suffix) + std::string(kLineEnd);
  for (const auto& chapter : chapters) {
    char number[16];
    const auto written = std::to_chars(number, number + sizeof number,
                                       output_clock.FrameAt(chapter.start, FrameTie::kEven));
    text.append(number, written.ptr).append(line_end);
  }
}

std::string FrameLines(std::span<const Chapter> chapters, const FrameClock& output_clock,
                       std::string_view suffix = {}) {
  std::string text;
  AppendFrameLines(text, chapters, output_clock, suffix);
  return text;
}

}  // namespace

std::string WriteX264QpText(const TitleChapters& retimed_chapters, const FrameClock& output_clock,
                            std::string_view) {
  return FrameLines(retimed_chapters.chapters, output_clock, " I");
}

std::string WriteHcEncText(const TitleChapters& retimed_chapters, const FrameClock& output_clock,
                           std::string_view) {
  std::string text;
  AppendLine(text, "*CHAPTER          " + std::to_string(retimed_chapters.chapters.size()));
  AppendFrameLines(text, retimed_chapters.chapters, output_clock);
  return text;
}

std::string WriteCelltimesText(const TitleChapters& retimed_chapters,
                               const FrameClock& output_clock, std::string_view) {
  if (retimed_chapters.chapters.empty()) return {};
  return FrameLines(std::span(retimed_chapters.chapters).subspan(1), output_clock);
}

std::string WriteMuxmanText(const TitleChapters& retimed_chapters, const FrameClock& output_clock,
                            std::string_view) {
  return FrameLines(retimed_chapters.chapters, output_clock);
}

std::string WriteTsMuxerText(const TitleChapters& retimed_chapters, const FrameClock&,
                             std::string_view) {
  return "--custom-chapters=" + JoinWith(retimed_chapters.chapters, ";");
}

std::string WriteTimecodesText(const TitleChapters& retimed_chapters, const FrameClock&,
                               std::string_view) {
  std::string text;
  text.reserve(TimesSize(retimed_chapters.chapters) +
               retimed_chapters.chapters.size() * kLineEnd.size());
  AppendTimeLines(text, retimed_chapters.chapters);
  return text;
}

}  // namespace markwright
