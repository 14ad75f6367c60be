#include "readers/celltimes_reader.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "core/decimal.h"
#include "core/error.h"
#include "core/timestamp.h"
#include "readers/chapter_limit.h"
#include "readers/source_file.h"

namespace markwright {

namespace {

// One chapter per line; milliseconds_of(frame, number, line_number) gives the chapter's time,
// not yet checked against the 32-bit limit.
template <typename MillisecondsOf>
TitleChapters ParseFrameLines(std::string_view text, std::string_view source_name,
                              const MillisecondsOf& milliseconds_of) {
  TitleChapters title;
  std::size_t line_number = 0;
  // Line by line, without a list of all lines: a huge file is refused at the chapter limit
  // before it costs memory.
  LineWalker lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    ++line_number;
    const std::string_view number = TrimBlanks(line);
    if (number.empty()) continue;
    const auto frame = ParseDecimal(number);
    if (!frame || !std::isfinite(*frame) || *frame < 0) {
      throw ReadError(source_name, AtLine(line_number),
                      "expected a frame number of 0 or more, found " + QuotedExcerpt(number));
    }
    const double milliseconds = milliseconds_of(*frame, number, line_number);
    if (!(milliseconds <= std::numeric_limits<std::int32_t>::max())) {
      throw ReadError(source_name, AtLine(line_number),
                      "frame " + std::string(number) + " lies beyond 596 hours");
    }
    CheckRoomForChapter(title.chapters.size(), source_name);
    title.chapters.push_back({static_cast<std::int64_t>(milliseconds), {}, {}});
  }
  return title;
}

}  // namespace

TitleChapters ParseCelltimes(std::string_view text, std::string_view source_name,
                             double input_rate) {
  if (!(std::isfinite(input_rate) && input_rate > 0)) {
    throw ReadError(source_name, "", "the input frame rate must be a number above 0");
  }
  return ParseFrameLines(text, source_name, [input_rate](double frame, std::string_view, auto) {
    return FrameStartMilliseconds(frame, input_rate);
  });
}

TitleChapters ParseCelltimes(std::string_view text, std::string_view source_name,
                             const FrameClock& input_clock) {
  const auto rate = input_clock.ConstantRate();
  return ParseFrameLines(
      text, source_name, [&](double frame, std::string_view number, std::size_t line_number) {
        const auto whole = frame < 9.0e15 ? static_cast<std::int64_t>(frame) : -1;
        if (static_cast<double>(whole) != frame) {
          throw ReadError(source_name, AtLine(line_number),
                          "frame " + std::string(number) + " is no whole frame number");
        }
        if (!input_clock.HasFrame(whole)) {
          throw ReadError(source_name, AtLine(line_number),
                          "frame " + std::string(number) + " is past the last frame of " +
                              std::string(input_clock.File()));
        }
        if (rate) return FrameStartMilliseconds(frame, *rate);
        return RoundHalfEven(RoundTo15Digits(input_clock.FrameStart(whole)));
      });
}

TitleChapters ReadCelltimes(const std::filesystem::path& path, double input_rate) {
  return ParseCelltimes(ReadSourceFile(path), path.string(), input_rate);
}

TitleChapters ReadCelltimes(const std::filesystem::path& path, const FrameClock& input_clock) {
  return ParseCelltimes(ReadSourceFile(path), path.string(), input_clock);
}

}  // namespace markwright
