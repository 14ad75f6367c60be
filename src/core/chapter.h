#pragma once

#include <string>
#include <vector>

#include "core/language_tag.h"

namespace markwright {

// One chapter point: its start as canonical timestamp text (HH:MM:SS.mmm), the name the source
// gives it (UTF-8, empty when it has none) and the language of that name (an ISO 639-2 code such
// as "eng" or a BCP 47 tag; empty when unknown).
struct Chapter {
  std::string time;
  std::string name;
  LanguageTag language;

  bool operator==(const Chapter&) const = default;
};

// The chapters of one title in source order (never sorted, never de-duplicated) and the title's
// length as timestamp text when the source knows it (empty otherwise). Formats that need the end
// of the last chapter take it from the length.
struct TitleChapters {
  std::vector<Chapter> chapters;
  std::string length;

  bool operator==(const TitleChapters&) const = default;
};

}  // namespace markwright
