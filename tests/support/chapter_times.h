#pragma once

#include <string>
#include <vector>

#include "core/chapter.h"

namespace markwright::testing {

// The chapter times alone, for tests of sources whose chapters carry nothing else.
using Times = std::vector<std::string>;

inline Times TimesOf(const TitleChapters& title) {
  Times times;
  for (const Chapter& chapter : title.chapters) times.push_back(chapter.time);
  return times;
}

}  // namespace markwright::testing
