#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace markwright {

// The shortest decimal text of at most 15 significant digits for the value ("23.976023976024"
// for 24/1.001, "25" for 25). Reading it back gives the value rounded to 15 digits, which drops
// the last-bit noise of a division or a product.
std::string FormatDecimal15(double value);

// The value rounded to 15 significant digits: FormatDecimal15 read back as a double.
double RoundTo15Digits(double value);

// Rounds to the nearest whole number, a tie going to the even one (12.5 -> 12, 13.5 -> 14).
double RoundHalfEven(double value);

// RoundHalfEven(RoundTo15Digits(value)), the rounding of a re-timed chapter, without the decimal
// round trip wherever it cannot change the result.
double RoundHalfEvenAt15Digits(double value);

// A whole decimal number of one or more ASCII digits and nothing else; nullopt otherwise, or when
// it does not fit.
std::optional<std::int64_t> ParseDigits(std::string_view text);

// A decimal number in plain C-locale form ("25", "23.976", ".5", "1e3", "-5"), the whole text and
// nothing else; nullopt otherwise.
std::optional<double> ParseDecimal(std::string_view text);

// TrimBlanks for a text that starts or ends with a blank.
std::string_view TrimBlanksSlowly(std::string_view text);

// The text without blanks and tabs at either end. Inline: readers call it on every line, and
// most lines have nothing to trim.
inline std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  if (text.empty() || (!blank(text.front()) && !blank(text.back()))) return text;
  return TrimBlanksSlowly(text);
}

}  // namespace markwright
