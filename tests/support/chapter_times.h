#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/chapter.h"
#include "core/timestamp.h"

namespace markwright::testing {

// The milliseconds of a time written as text ("00:01:02.500"), so that chapters built in a test
// read like the files they stand for.
inline std::int64_t Ms(std::string_view timestamp) {
  return ParseTimestamp(timestamp);
}

// The chapter times alone, as text, for tests of sources whose chapters carry nothing else.
using Times = std::vector<std::string>;

inline Times TimesOf(const TitleChapters& title) {
  Times times;
  for (const Chapter& chapter : title.chapters) times.push_back(FormatTimestamp(chapter.start));
  return times;
}

}  // namespace markwright::testing
