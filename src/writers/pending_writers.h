#pragma once

#include <string>
#include <string_view>

#include "core/chapter_list.h"

namespace markwright {

// Stands in for a writer that is still being written: throws Error("not implemented yet").
std::string WritePending(const ChapterList& retimed_chapters, double output_rate,
                         std::string_view input_rate_text);

}  // namespace markwright
