#pragma once

#include <string>
#include <string_view>

#include "core/chapter_list.h"

namespace markwright {

// CHAPTERnn=<timestamp> and an empty CHAPTERnnNAME= for each chapter, numbered from 01. Both
// rates are ignored.
std::string WriteOggText(const ChapterList& retimed_chapters, double output_rate,
                         std::string_view input_rate_text);

}  // namespace markwright
