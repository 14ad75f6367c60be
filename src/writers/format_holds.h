#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/chapter.h"

namespace markwright {

// What a destination format holds of a title beyond its chapter starts, so that a conversion can
// name what it leaves out. The defaults describe a list of bare times: a row that sets nothing
// reports every name, language and the length as left out, never holds them in silence.
struct FormatHolds {
  bool names = false;      // each chapter's name
  bool languages = false;  // the language of each chapter's name
  bool length = false;     // the title's length, as the end of the last chapter
  // Which characters of a name the format carries as they are; the others are written otherwise
  // or not at all. Meaningful only with names.
  enum class Characters {
    kAll,
    kOneLine,      // a line break becomes a blank: each entry is one line
    kXmlTextOnly,  // XML 1.0 has no control characters but tab, line feed and carriage return
  };
  Characters characters = Characters::kAll;
  // The most chapters the format's reader takes; 0 for no limit of its own.
  std::size_t most_chapters = 0;
};

// One line for each kind of thing a conversion to the format (named by key) loses of the title:
// what the format cannot hold (names, languages, the length, chapters beyond its limit, characters
// of names), then what the reader left out (other editions, nested chapters, names in further
// languages, end times). Empty when nothing is lost.
std::vector<std::string> LossNotes(const FormatHolds& holds, std::string_view key,
                                   const TitleChapters& title);

}  // namespace markwright
