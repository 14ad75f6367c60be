#include "core/timestamp.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/decimal.h"
#include "core/error.h"

namespace markwright {
namespace {

// Keeps every millisecond count exact in a double and every hour count printable.
constexpr double kLargestMilliseconds = 9007199254740992.0;  // 2^53

[[noreturn]] void Malformed(std::string_view timestamp, std::string_view cause) {
  throw Error("malformed timestamp " + QuotedText(timestamp) + ": " + std::string(cause));
}

std::int64_t Field(std::string_view timestamp, std::string_view text, std::string_view name) {
  const auto value = ParseDigits(text);
  if (!value) Malformed(timestamp, std::string(name) + " is not a whole number");
  return *value;
}

// The value of the digits from first to last, or -1 when one is not a digit.
std::int64_t DigitsValue(const char* first, const char* last) {
  std::int64_t value = 0;
  for (; first != last; ++first) {
    const auto digit = static_cast<unsigned>(*first - '0');
    if (digit > 9) return -1;
    value = value * 10 + digit;
  }
  return value;
}

}  // namespace

std::int64_t PlainTimestampMilliseconds(std::string_view text) {
  const std::size_t size = text.size();
  if (size < 11 || size > 19) return -1;
  const char* const begin = text.data();
  const char* const tail = begin + size - 10;  // ":MM:SS.mmm"
  if (tail[0] != ':' || tail[3] != ':' || tail[6] != '.') return -1;
  const std::int64_t hours = DigitsValue(begin, tail);
  const std::int64_t minutes = DigitsValue(tail + 1, tail + 3);
  const std::int64_t seconds = DigitsValue(tail + 4, tail + 6);
  const std::int64_t milliseconds = DigitsValue(tail + 7, tail + 10);
  if (hours < 0 || minutes < 0 || seconds < 0 || milliseconds < 0 || minutes > 59 || seconds > 59) {
    return -1;
  }
  return hours * 3600000 + minutes * 60000 + seconds * 1000 + milliseconds;
}

std::int64_t ParseTimestamp(std::string_view timestamp) {
  const std::int64_t plain = PlainTimestampMilliseconds(timestamp);
  if (plain >= 0) return plain;
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
  // Summed in doubles, in this order, so that fields too large for a 64-bit sum still give the
  // "too large" refusal rather than wrapping around.
  const double total = ((hours * 3600000 + minutes * 60000) + seconds * 1000) + milliseconds;
  if (!(total < kLargestMilliseconds)) Malformed(timestamp, "the time is too large");
  return static_cast<std::int64_t>(total);
}

std::int64_t ParseSourceTimestamp(std::string_view timestamp, std::string_view source_name) {
  try {
    return ParseTimestamp(timestamp);
  } catch (const Error& failure) {
    throw ReadError(source_name, "", failure.what());
  }
}

void AppendTimestamp(std::string& text, std::int64_t milliseconds) {
  if (milliseconds < 0) throw Error("a chapter time cannot be negative");
  const std::int64_t hours = milliseconds / 3600000;
  const std::int64_t minutes = milliseconds / 60000 - 60 * hours;
  const std::int64_t seconds = milliseconds % 60000 / 1000;
  const std::int64_t rest = milliseconds % 1000;
  char buffer[32];
  char* end = buffer;
  if (hours < 100) {
    *end++ = static_cast<char>('0' + hours / 10);
    *end++ = static_cast<char>('0' + hours % 10);
  } else {
    end = std::to_chars(end, buffer + sizeof buffer, hours).ptr;
  }
  end[0] = ':';
  end[1] = static_cast<char>('0' + minutes / 10);
  end[2] = static_cast<char>('0' + minutes % 10);
  end[3] = ':';
  end[4] = static_cast<char>('0' + seconds / 10);
  end[5] = static_cast<char>('0' + seconds % 10);
  end[6] = '.';
  end[7] = static_cast<char>('0' + rest / 100);
  end[8] = static_cast<char>('0' + rest / 10 % 10);
  end[9] = static_cast<char>('0' + rest % 10);
  text.append(buffer, end + 10);
}

std::string FormatTimestamp(std::int64_t milliseconds) {
  std::string text;
  AppendTimestamp(text, milliseconds);
  return text;
}

std::int32_t TimestampToFrame(std::int64_t milliseconds, double frame_rate) {
  const double frame = RoundHalfEven((static_cast<double>(milliseconds) * frame_rate) * 0.001);
  if (!(frame >= std::numeric_limits<std::int32_t>::min() &&
        frame <= std::numeric_limits<std::int32_t>::max())) {
    throw Error("the frame number of " + FormatTimestamp(milliseconds) + " is out of range");
  }
  return static_cast<std::int32_t>(frame);
}

double FrameStartMilliseconds(double frame, double frame_rate) {
  return RoundHalfEven(RoundTo15Digits(frame / frame_rate) * 1000);
}

std::int64_t RetimeMilliseconds(std::int64_t milliseconds, double input_rate, double output_rate) {
  if (output_rate == 0) throw Error("the output frame rate is 0");
  const double rounded =
      RoundHalfEvenAt15Digits((static_cast<double>(milliseconds) * input_rate) / output_rate);
  if (!(rounded >= 0 && rounded < kLargestMilliseconds)) {
    throw Error("re-timing " + FormatTimestamp(milliseconds) +
                " leaves the range of chapter times");
  }
  return static_cast<std::int64_t>(rounded);
}

}  // namespace markwright
