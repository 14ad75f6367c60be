#include "readers/clock_time.h"

#include "core/decimal.h"

namespace markwright {
namespace {

constexpr std::int64_t kLimit = std::int64_t{1} << 53;

// Enough digits for any whole-second count below the limit, few enough that no sum overflows.
constexpr std::size_t kMostWholeDigits = 13;

// The milliseconds of a fraction's digits (after the decimal point), rounded half away from
// zero: the fourth digit decides.
std::optional<std::int64_t> FractionMilliseconds(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::int64_t milliseconds = 0;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (digits[i] < '0' || digits[i] > '9') return std::nullopt;
    if (i < 3) milliseconds = milliseconds * 10 + (digits[i] - '0');
  }
  for (std::size_t i = digits.size(); i < 3; ++i) milliseconds *= 10;
  if (digits.size() > 3 && digits[3] >= '5') ++milliseconds;
  return milliseconds;
}

std::optional<std::int64_t> WholeSeconds(std::string_view digits) {
  if (digits.size() > kMostWholeDigits) return std::nullopt;
  return ParseDigits(digits);
}

std::optional<std::int64_t> WithFraction(std::int64_t seconds, std::string_view fraction,
                                         bool has_fraction) {
  if (seconds >= kLimit / 1000) return std::nullopt;
  std::int64_t milliseconds = seconds * 1000;
  if (has_fraction) {
    const auto part = FractionMilliseconds(fraction);
    if (!part) return std::nullopt;
    milliseconds += *part;
  }
  if (milliseconds >= kLimit) return std::nullopt;
  return milliseconds;
}

}  // namespace

std::optional<std::int64_t> DecimalSecondsMilliseconds(std::string_view text) {
  const std::size_t point = text.find_first_of(".,");
  const auto seconds = WholeSeconds(text.substr(0, point));
  if (!seconds) return std::nullopt;
  const bool has_fraction = point != std::string_view::npos;
  return WithFraction(*seconds, has_fraction ? text.substr(point + 1) : "", has_fraction);
}

std::optional<std::int64_t> ClockTimeMilliseconds(std::string_view text, int fewest_colons) {
  const std::size_t point = text.find('.');
  const bool has_fraction = point != std::string_view::npos;
  std::string_view clock = text.substr(0, point);
  std::int64_t seconds = 0;
  int colons = 0;
  for (std::size_t colon = clock.rfind(':'); colon != std::string_view::npos;
       colon = clock.rfind(':')) {
    // A later field: exactly two digits, below 60.
    const auto field = ParseDigits(clock.substr(colon + 1));
    if (++colons > 2 || clock.size() - colon != 3 || !field || *field >= 60) return std::nullopt;
    seconds += *field * (colons == 1 ? 1 : 60);
    clock = clock.substr(0, colon);
  }
  const auto first = WholeSeconds(clock);
  if (!first || colons < fewest_colons) return std::nullopt;
  seconds += *first * (colons == 0 ? 1 : colons == 1 ? 60 : 3600);
  return WithFraction(seconds, has_fraction ? text.substr(point + 1) : "", has_fraction);
}

}  // namespace markwright
