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

// HH:MM:SS of the time, its milliseconds left out; 100 hours and more are written whole.
std::string ClockPart(std::int64_t milliseconds) {
  std::string text = FormatTimestamp(milliseconds);
  text.resize(text.size() - 4);  // ".mmm"
  return text;
}

// The frame within the second, not yet whole: the milliseconds within the second / 1000.1 x the
// output rate.
double FrameWithinSecond(std::int64_t milliseconds, double output_rate) {
  return static_cast<double>(milliseconds % 1000) / 1000.1 * output_rate;
}

// The whole frame field; a rate so high that the field cannot be a count is an error.
long long FrameField(double whole_value) {
  if (!(whole_value >= 0 && whole_value < 1e15)) throw Error("the frame rate is out of range");
  return static_cast<long long>(whole_value);
}

std::string FrameTimecode(std::string_view clock, long long frame_field) {
  return std::string(clock) + ":" + TwoDigits(frame_field);
}

std::string ConstantRateRoundedDown(std::int64_t milliseconds, double output_rate) {
  const long long field = FrameField(std::floor(FrameWithinSecond(milliseconds, output_rate)));
  return FrameTimecode(ClockPart(milliseconds), field);
}

// Rounding can reach the nominal rate (25 at 25 fps from 981 ms on), which no timecode holds:
// that is frame 0 of the next second, carried on into minutes and hours.
std::string ConstantRateRounded(std::int64_t milliseconds, double output_rate) {
  const long long field = FrameField(RoundHalfEven(FrameWithinSecond(milliseconds, output_rate)));
  const double nominal_rate = RoundHalfEven(output_rate);
  if (nominal_rate > 0 && static_cast<double>(field) >= nominal_rate) {
    return FrameTimecode(ClockPart((milliseconds / 1000 + 1) * 1000), 0);
  }
  return FrameTimecode(ClockPart(milliseconds), field);
}

// On frames of varying length the chapter's frame is the one whose start is nearest; its
// timecode is the second in which that frame starts and its count among the frames that start
// in that second.
std::string VaryingRateTimecode(std::int64_t milliseconds, const FrameClock& clock, FrameTie tie) {
  const std::int64_t frame = clock.FrameAt(milliseconds, tie);
  const auto second = static_cast<std::int64_t>(std::floor(clock.FrameStart(frame) / 1000));
  const std::int64_t field = frame - clock.FirstFrameFrom(static_cast<double>(second) * 1000);
  return FrameTimecode(ClockPart(second * 1000), field);
}

// The rounded-down formats take the earlier of two frames equally near, as rounding down would.
std::string RoundedDownTimecode(std::int64_t milliseconds, const FrameClock& clock) {
  const auto rate = clock.ConstantRate();
  if (!rate) return VaryingRateTimecode(milliseconds, clock, FrameTie::kEarlier);
  clock.FrameAt(milliseconds, FrameTie::kEarlier);  // refuses a time past a file's last frame
  return ConstantRateRoundedDown(milliseconds, *rate);
}

std::string RoundedTimecode(std::int64_t milliseconds, const FrameClock& clock) {
  const auto rate = clock.ConstantRate();
  if (!rate) return VaryingRateTimecode(milliseconds, clock, FrameTie::kEven);
  clock.FrameAt(milliseconds, FrameTie::kEven);  // refuses a time past a file's last frame
  return ConstantRateRounded(milliseconds, *rate);
}

void AppendRoundedDownTimecodes(std::string& text, const TitleChapters& chapters,
                                const FrameClock& output_clock) {
  AppendLines(text, chapters.chapters,
              [&](std::int64_t start) { return RoundedDownTimecode(start, output_clock); });
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

std::string WriteCceSpText(const TitleChapters& retimed_chapters, const FrameClock& output_clock,
                           std::string_view input_rate_text) {
  const auto code = CceFrameRateCode(input_rate_text);
  if (!code) throw FrameRateNotAllowed();
  std::string text;
  AppendLine(text, "%Frame Rate\t" + std::string(*code));
  AppendLines(text, retimed_chapters.chapters,
              [&](std::int64_t start) { return RoundedTimecode(start, output_clock); });
  return text;
}

std::string WriteCinevisionText(const TitleChapters& retimed_chapters,
                                const FrameClock& output_clock, std::string_view) {
  std::string text;
  AppendRoundedDownTimecodes(text, retimed_chapters, output_clock);
  return text;
}

std::string WriteScenaristText(const TitleChapters& retimed_chapters,
                               const FrameClock& output_clock, std::string_view input_rate_text) {
  std::string text;
  AppendLine(text, input_rate_text);
  AppendLine(text, "NonDrop");
  AppendRoundedDownTimecodes(text, retimed_chapters, output_clock);
  return text;
}

std::string WriteMaestroText(const TitleChapters& retimed_chapters, const FrameClock& output_clock,
                             std::string_view) {
  std::string text;
  AppendLine(text, "$Spruce_IFrame_List");
  AppendRoundedDownTimecodes(text, retimed_chapters, output_clock);
  return text;
}

std::string WriteDvdAuthorText(const TitleChapters& retimed_chapters, const FrameClock&,
                               std::string_view) {
  return "chapters=\"" + JoinWith(retimed_chapters.chapters, ",") + "\"";
}

}  // namespace markwright
