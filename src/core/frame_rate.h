#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace markwright {

// The frame rate written in the text: a decimal ("25", "29.97") or a ratio a/b ("24000/1001",
// "24/1.001"; pieces after the second are ignored). Throws Error, naming the text, unless the
// result is a finite number above 0.
double ParseFrameRate(std::string_view text);

struct NamedRate {
  std::string_view label;
  double value;
};

// The eight rates the window offers, in list order. 24/1.001 and its kin are the quotients of the
// numbers as written, which differ in the last bit from 24000/1001 for 30 and 60.
inline const std::array<NamedRate, 8> kNamedRates = {{
    {"23.976", 24 / 1.001},
    {"24", 24},
    {"25", 25},
    {"29.970", 30 / 1.001},
    {"30", 30},
    {"50", 50},
    {"59.940", 60 / 1.001},
    {"60", 60},
}};

// The rate of a label, compared exactly; nullopt for any other text.
std::optional<double> NamedRateValue(std::string_view label);

// The rate both modes start from: 24/1.001.
inline const double kDefaultFrameRate = 24 / 1.001;

}  // namespace markwright
