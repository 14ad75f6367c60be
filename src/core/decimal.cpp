#include "core/decimal.h"

#include <charconv>
#include <cmath>

namespace markwright {

std::string FormatDecimal15(double value) {
  // With a precision, to_chars writes what printf's %.15g writes, without a locale or a format
  // string to interpret.
  char buffer[40];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  return std::string(buffer, result.ptr);
}

double RoundTo15Digits(double value) {
  if (!std::isfinite(value)) return value;
  char buffer[40];
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  double rounded = value;
  std::from_chars(buffer, written.ptr, rounded);
  return rounded;
}

double RoundHalfEven(double value) {
  // nearbyint rounds in the current rounding mode, which is round-to-nearest-even unless
  // somebody changed it; this program never does.
  return std::nearbyint(value);
}

double RoundHalfEvenAt15Digits(double value) {
  // Rounding to 15 significant digits moves a value by less than value x 1e-14. Unless that can
  // carry it onto or across a half, the whole number nearest to it stays the same, and the
  // decimal round trip (the costly part of re-timing a chapter) can be skipped. The margin is
  // ten times the largest move; values too large for it take the long road.
  if (value >= 0) {
    const double distance_from_half = std::fabs(value - std::floor(value) - 0.5);
    if (distance_from_half > value * 1e-13) return RoundHalfEven(value);
  }
  return RoundHalfEven(RoundTo15Digits(value));
}

std::optional<std::int64_t> ParseDigits(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.front() == '-') {
    return std::nullopt;
  }
  return value;
}

std::optional<double> ParseDecimal(std::string_view text) {
  if (text.empty()) return std::nullopt;
  if (text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+') return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string_view TrimBlanksSlowly(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace markwright
