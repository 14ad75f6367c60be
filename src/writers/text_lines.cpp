#include "writers/text_lines.h"

#include <cstdio>

namespace markwright {

std::string TwoDigits(long long number) {
  char buffer[32];
  const int length = std::snprintf(buffer, sizeof buffer, "%02lld", number);
  return std::string(buffer, static_cast<std::size_t>(length));
}

}  // namespace markwright
