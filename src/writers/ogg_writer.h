#pragma once

#include <string>
#include <string_view>

#include "core/chapter_list.h"
#include "core/frame_times.h"

namespace markwright {

// CHAPTERnn=<timestamp> and CHAPTERnnNAME=<name> for each chapter, numbered from 01; the name
// is empty when the chapter has none, and a line break in it is written as a blank. Both rates
// are ignored.
std::string WriteOggText(const TitleChapters& retimed_chapters, const FrameClock&,
                         std::string_view input_rate_text);

}  // namespace markwright
