#include "core/decimal.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace markwright {

std::string FormatDecimal15(double value) {
  char buffer[40];
  const int length = std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return std::string(buffer, static_cast<std::size_t>(length));
}

double RoundTo15Digits(double value) {
  if (!std::isfinite(value)) return value;
  return std::strtod(FormatDecimal15(value).c_str(), nullptr);
}

double RoundHalfEven(double value) {
  // nearbyint rounds in the current rounding mode, which is round-to-nearest-even unless
  // somebody changed it; this program never does.
  return std::nearbyint(value);
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

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace markwright
