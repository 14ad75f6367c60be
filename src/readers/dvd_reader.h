#pragma once

#include <cstdint>
#include <filesystem>

#include "core/chapter_list.h"

namespace markwright {

// The chapters of a DVD title set (VTS_xx_0.IFO), read through libmediainfo, which is loaded the
// first time a title set is read.
std::int32_t CountDvdChapters(const std::filesystem::path& path);
ChapterList ReadDvdTitleSet(const std::filesystem::path& path);

}  // namespace markwright
