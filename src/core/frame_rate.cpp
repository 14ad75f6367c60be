#include "core/frame_rate.h"

#include <cmath>
#include <string>

#include "core/decimal.h"
#include "core/error.h"

namespace markwright {
namespace {

[[noreturn]] void BadRate(std::string_view text, std::string_view cause) {
  throw Error("invalid frame rate \"" + std::string(text) + "\": " + std::string(cause));
}

double Piece(std::string_view text, std::string_view piece) {
  const auto value = ParseDecimal(TrimBlanks(piece));
  if (!value) {
    BadRate(text, piece.empty() ? "a number is missing"
                                : "\"" + std::string(piece) + "\" is not a number");
  }
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
