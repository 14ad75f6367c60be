#pragma once

#include <filesystem>
#include <string_view>

#include "core/chapter_list.h"

namespace markwright {

// The chapter times of an OGG chapter text (CHAPTERnn=H:MM:SS.fff lines; name lines and other
// KEY=VALUE lines are passed over), in file order and canonical form. Throws ReadError naming
// source_name and the line for a line that is not KEY=VALUE, a malformed time, or a text without
// any chapter line.
ChapterList ParseOggChapters(std::string_view text, std::string_view source_name);

// ParseOggChapters on the file's content.
ChapterList ReadOggChapters(const std::filesystem::path& path);

}  // namespace markwright
