#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "core/chapter_list.h"

namespace markwright {

// The chapters of a Blu-ray movie playlist (.mpls): the first mark and every later entry mark,
// placed on the playlist's continuous timeline.
ChapterList ParseBluRayPlaylist(std::string_view bytes, std::string_view source_name);
ChapterList ReadBluRayPlaylist(const std::filesystem::path& path);

// The number of chapters ReadBluRayPlaylist would give.
std::int32_t CountBluRayChapters(const std::filesystem::path& path);

}  // namespace markwright
