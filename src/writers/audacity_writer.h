#pragma once

#include <string>

#include "core/chapter.h"

namespace markwright {

// An Audacity label file (File > Import > Labels): one point label a chapter, its start twice in
// seconds with six decimals, then its name (line breaks and tabs as blanks; empty for a chapter
// without one), separated by tabs. LF line ends.
std::string WriteAudacityLabels(const TitleChapters& title);

}  // namespace markwright
