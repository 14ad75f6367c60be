#pragma once

#include <filesystem>
#include <string_view>

#include "core/chapter_list.h"

namespace markwright {

// One chapter per line of a Celltimes list (frame numbers counted from 0 at input_rate).
ChapterList ParseCelltimes(std::string_view text, std::string_view source_name, double input_rate);
ChapterList ReadCelltimes(const std::filesystem::path& path, double input_rate);

}  // namespace markwright
