#include "core/timestamp.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "core/chapter_list.h"
#include "core/decimal.h"
#include "core/error.h"

namespace markwright {
namespace {

// Keeps every millisecond count exact in a double and every hour count printable.
constexpr double kLargestMilliseconds = 9007199254740992.0;  // 2^53

[[noreturn]] void Malformed(std::string_view timestamp, std::string_view cause) {
  throw Error("malformed timestamp \"" + std::string(timestamp) + "\": " + std::string(cause));
}

std::int64_t Field(std::string_view timestamp, std::string_view text, std::string_view name) {
  const auto value = ParseDigits(text);
  if (!value) Malformed(timestamp, std::string(name) + " is not a whole number");
  return *value;
}

}  // namespace

double TimestampMilliseconds(std::string_view timestamp) {
  const auto first_colon = timestamp.find(':');
  if (first_colon == std::string_view::npos) Malformed(timestamp, "no ':' separators");
  const auto second_colon = timestamp.find(':', first_colon + 1);
  if (second_colon == std::string_view::npos) Malformed(timestamp, "only one ':' separator");
  std::string_view seconds_piece = timestamp.substr(second_colon + 1);
  seconds_piece = seconds_piece.substr(0, seconds_piece.find(':'));
  const auto dot = seconds_piece.find('.');
  if (dot == std::string_view::npos) Malformed(timestamp, "no '.' before the milliseconds");
  std::string_view millisecond_text = seconds_piece.substr(dot + 1);
  millisecond_text = millisecond_text.substr(0, millisecond_text.find('.'));

  const double hours =
      static_cast<double>(Field(timestamp, timestamp.substr(0, first_colon), "the hour field"));
  const double minutes = static_cast<double>(
      Field(timestamp, timestamp.substr(first_colon + 1, second_colon - first_colon - 1),
            "the minute field"));
  const double seconds =
      static_cast<double>(Field(timestamp, seconds_piece.substr(0, dot), "the second field"));
  const double milliseconds =
      static_cast<double>(Field(timestamp, millisecond_text, "the millisecond field"));
  const double total = ((hours * 3600000 + minutes * 60000) + seconds * 1000) + milliseconds;
  if (!(total < kLargestMilliseconds)) Malformed(timestamp, "the time is too large");
  return total;
}

std::string FormatTimestamp(std::int64_t milliseconds) {
  if (milliseconds < 0) throw Error("a chapter time cannot be negative");
  const std::int64_t hours = milliseconds / 3600000;
  const std::int64_t minutes = milliseconds / 60000 - 60 * hours;
  const std::int64_t seconds = milliseconds % 60000 / 1000;
  const std::int64_t rest = milliseconds % 1000;
  char buffer[48];
  const int length = std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld.%03lld",
                                   static_cast<long long>(hours), static_cast<long long>(minutes),
                                   static_cast<long long>(seconds), static_cast<long long>(rest));
  return std::string(buffer, static_cast<std::size_t>(length));
}

std::int32_t TimestampToFrame(std::string_view timestamp, double frame_rate) {
  const double total = TimestampMilliseconds(timestamp);
  const double frame = RoundHalfEven((total * frame_rate) * 0.001);
  if (!(frame >= std::numeric_limits<std::int32_t>::min() &&
        frame <= std::numeric_limits<std::int32_t>::max())) {
    throw Error("the frame number of " + std::string(timestamp) + " is out of range");
  }
  return static_cast<std::int32_t>(frame);
}

std::string RetimeTimestamp(std::string_view timestamp, double input_rate, double output_rate) {
  if (output_rate == 0) throw Error("the output frame rate is 0");
  const double total = TimestampMilliseconds(timestamp);
  const double scaled = RoundTo15Digits((total * input_rate) / output_rate);
  const double rounded = RoundHalfEven(scaled);
  if (!(rounded >= 0 && rounded < kLargestMilliseconds)) {
    throw Error("re-timing " + std::string(timestamp) + " leaves the range of chapter times");
  }
  return FormatTimestamp(static_cast<std::int64_t>(rounded));
}

ChapterList RetimeChapters(const ChapterList& chapters, double input_rate, double output_rate) {
  ChapterList retimed;
  retimed.reserve(chapters.size());
  for (const auto& chapter : chapters) {
    retimed.push_back(RetimeTimestamp(chapter, input_rate, output_rate));
  }
  return retimed;
}

}  // namespace markwright
