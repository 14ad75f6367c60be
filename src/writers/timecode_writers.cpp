#include "writers/timecode_writers.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>

#include "core/decimal.h"
#include "core/error.h"
#include "core/timestamp.h"
#include "writers/text_lines.h"

namespace markwright {
namespace {

[[noreturn]] void Malformed(std::string_view timestamp, std::string_view cause) {
  throw Error("malformed timestamp " + QuotedText(timestamp) + ": " + std::string(cause));
}

// HH:MM:SS: everything before the ".", so 100 hours and more are written whole.
std::string ClockPart(std::string_view timestamp) {
  const auto dot = timestamp.find('.');
  if (dot == std::string_view::npos) Malformed(timestamp, "no '.' before the milliseconds");
  return std::string(timestamp.substr(0, dot));
}

// The frame within the second, not yet whole: the milliseconds (the last three characters) /
// 1000.1 x the output rate.
double FrameWithinSecond(std::string_view timestamp, double output_rate) {
  const auto milliseconds =
      timestamp.size() >= 3 ? ParseDigits(timestamp.substr(timestamp.size() - 3)) : std::nullopt;
  if (!milliseconds) Malformed(timestamp, "it does not end in three millisecond digits");
  return static_cast<double>(*milliseconds) / 1000.1 * output_rate;
}

// The whole frame field; a rate so high that the field cannot be a count is an error.
long long FrameField(double whole_value) {
  if (!(whole_value >= 0 && whole_value < 1e15)) throw Error("the frame rate is out of range");
  return static_cast<long long>(whole_value);
}

std::string FrameTimecode(std::string_view clock, long long frame_field) {
  return std::string(clock) + ":" + TwoDigits(frame_field);
}

std::string RoundedDownTimecode(std::string_view timestamp, double output_rate) {
  const long long field = FrameField(std::floor(FrameWithinSecond(timestamp, output_rate)));
  return FrameTimecode(ClockPart(timestamp), field);
}

// Rounding can reach the nominal rate (25 at 25 fps from 981 ms on), which no timecode holds:
// that is frame 0 of the next second, carried on into minutes and hours.
std::string RoundedTimecode(std::string_view timestamp, double output_rate) {
  const long long field = FrameField(RoundHalfEven(FrameWithinSecond(timestamp, output_rate)));
  const double nominal_rate = RoundHalfEven(output_rate);
  if (nominal_rate > 0 && static_cast<double>(field) >= nominal_rate) {
    const auto next_second =
        static_cast<std::int64_t>(std::floor(TimestampMilliseconds(timestamp) / 1000)) + 1;
    return FrameTimecode(ClockPart(FormatTimestamp(next_second * 1000)), 0);
  }
  return FrameTimecode(ClockPart(timestamp), field);
}

void AppendRoundedDownTimecodes(std::string& text, const TitleChapters& chapters,
                                double output_rate) {
  AppendLines(text, chapters.chapters,
              [&](std::string_view chapter) { return RoundedDownTimecode(chapter, output_rate); });
}

// CCE SP's code for the input rate, by the rate's whole part: 23.976 and 23.976023976024 are
// both 23. nullopt for a rate it has no code for, or a text that is no number.
std::optional<std::string_view> CceFrameRateCode(std::string_view input_rate_text) {
  static constexpr std::array<std::pair<double, std::string_view>, 5> kCodes = {{
      {23, "1,0"},
      {24, "2,0"},
      {25, "3,0"},
      {29, "4,0"},
      {30, "5,0"},
  }};
  const auto rate = ParseDecimal(input_rate_text);
  if (!rate) return std::nullopt;
  const double whole_part = std::trunc(*rate);
  for (const auto& [whole, code] : kCodes) {
    if (whole == whole_part) return code;
  }
  return std::nullopt;
}

}  // namespace

std::string WriteCceSpText(const TitleChapters& retimed_chapters, double output_rate,
                           std::string_view input_rate_text) {
  const auto code = CceFrameRateCode(input_rate_text);
  if (!code) throw FrameRateNotAllowed();
  std::string text;
  AppendLine(text, "%Frame Rate\t" + std::string(*code));
  AppendLines(text, retimed_chapters.chapters,
              [&](std::string_view chapter) { return RoundedTimecode(chapter, output_rate); });
  return text;
}

std::string WriteCinevisionText(const TitleChapters& retimed_chapters, double output_rate,
                                std::string_view) {
  std::string text;
  AppendRoundedDownTimecodes(text, retimed_chapters, output_rate);
  return text;
}

std::string WriteScenaristText(const TitleChapters& retimed_chapters, double output_rate,
                               std::string_view input_rate_text) {
  std::string text;
  AppendLine(text, input_rate_text);
  AppendLine(text, "NonDrop");
  AppendRoundedDownTimecodes(text, retimed_chapters, output_rate);
  return text;
}

std::string WriteMaestroText(const TitleChapters& retimed_chapters, double output_rate,
                             std::string_view) {
  std::string text;
  AppendLine(text, "$Spruce_IFrame_List");
  AppendRoundedDownTimecodes(text, retimed_chapters, output_rate);
  return text;
}

std::string WriteDvdAuthorText(const TitleChapters& retimed_chapters, double, std::string_view) {
  return "chapters=\"" + JoinWith(retimed_chapters.chapters, ",") + "\"";
}

}  // namespace markwright
