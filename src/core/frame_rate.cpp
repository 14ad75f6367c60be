#include "core/frame_rate.h"

#include <charconv>
#include <cmath>
#include <string>

#include "core/decimal.h"
#include "core/error.h"

namespace markwright {
namespace {

[[noreturn]] void BadRate(std::string_view text, std::string_view cause) {
  throw Error("invalid frame rate " + QuotedText(text) + ": " + std::string(cause));
}

// What is wrong with a piece that is not a decimal: a number beyond the range of a double is too
// large or too small (a whole part and no negative exponent: too large), anything else is no
// number at all.
std::string NotADecimal(std::string_view piece) {
  std::string_view digits = TrimBlanks(piece);
  if (digits.starts_with('+')) digits.remove_prefix(1);
  double ignored = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), ignored);
  if (error != std::errc::result_out_of_range || end != digits.data() + digits.size()) {
    return QuotedText(piece) + " is not a number";
  }
  const auto first_digit = digits.find_first_of("123456789");
  const bool whole_part = first_digit < digits.find('.');
  const bool negative_exponent =
      digits.find("e-") != std::string_view::npos || digits.find("E-") != std::string_view::npos;
  return QuotedText(piece) + (whole_part && !negative_exponent ? " is too large" : " is too small");
}

double Piece(std::string_view text, std::string_view piece) {
  const auto value = ParseDecimal(TrimBlanks(piece));
  if (!value) BadRate(text, piece.empty() ? "a number is missing" : NotADecimal(piece));
  return *value;
}

}  // namespace

double ParseFrameRate(std::string_view text) {
  double rate = 0;
  const auto slash = text.find('/');
  if (slash == std::string_view::npos) {
    rate = Piece(text, text);
  } else {
    std::string_view divisor = text.substr(slash + 1);
    divisor = divisor.substr(0, divisor.find('/'));
    const double dividend = Piece(text, text.substr(0, slash));
    const double quotient_divisor = Piece(text, divisor);
    if (quotient_divisor == 0) BadRate(text, "division by zero");
    rate = dividend / quotient_divisor;
  }
  if (!std::isfinite(rate) || !(rate > 0)) BadRate(text, "a frame rate must be a number above 0");
  return rate;
}

std::optional<double> NamedRateValue(std::string_view label) {
  for (const auto& rate : kNamedRates) {
    if (rate.label == label) return rate.value;
  }
  return std::nullopt;
}

}  // namespace markwright
