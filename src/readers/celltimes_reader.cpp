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

TitleChapters ParseCelltimes(std::string_view text, std::string_view source_name,
                             double input_rate) {
  if (!(std::isfinite(input_rate) && input_rate > 0)) {
    throw ReadError(source_name, "", "the input frame rate must be a number above 0");
  }
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
    // The seconds are rounded to 15 digits first, which drops the division's last-bit noise.
    const double seconds = RoundTo15Digits(*frame / input_rate);
    const double milliseconds = RoundHalfEven(seconds * 1000);
    if (!(milliseconds <= std::numeric_limits<std::int32_t>::max())) {
      throw ReadError(source_name, AtLine(line_number),
                      "frame " + std::string(number) + " lies beyond 596 hours");
    }
    CheckRoomForChapter(title.chapters.size(), source_name);
    title.chapters.push_back({static_cast<std::int64_t>(milliseconds), {}, {}});
  }
  return title;
}

TitleChapters ReadCelltimes(const std::filesystem::path& path, double input_rate) {
  return ParseCelltimes(ReadSourceFile(path), path.string(), input_rate);
}

}  // namespace markwright
