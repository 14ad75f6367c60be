#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "core/chapter_list.h"

namespace markwright {

// An HD DVD playlist (.xpl) holds several titles, numbered from 1, each with its chapter list.
std::int32_t CountHdDvdTitles(const std::filesystem::path& path);
std::int32_t CountHdDvdChapters(const std::filesystem::path& path, std::int32_t title);
ChapterList ReadHdDvdPlaylist(const std::filesystem::path& path, std::int32_t title);

// The title that Open File and the command line load: the first one with the most chapters.
std::int32_t ChooseHdDvdTitle(const std::filesystem::path& path);

}  // namespace markwright
