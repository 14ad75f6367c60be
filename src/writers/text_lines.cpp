#include "writers/text_lines.h"

#include <cstdio>

namespace markwright {

std::string JoinWith(std::span<const std::string> items, std::string_view separator) {
  std::string text;
  for (const auto& item : items) {
    if (&item != &items.front()) text += separator;
    text += item;
  }
  return text;
}

std::string TwoDigits(long long number) {
  char buffer[32];
  const int length = std::snprintf(buffer, sizeof buffer, "%02lld", number);
  return std::string(buffer, static_cast<std::size_t>(length));
}

}  // namespace markwright
