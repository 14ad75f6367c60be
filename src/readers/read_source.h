#pragma once

#include <filesystem>

#include "core/chapter_list.h"
#include "readers/input_kind.h"

namespace markwright {

// Reads the chapters of a file of a known kind: a Celltimes list counts its frames at
// input_rate; of an HD DVD playlist the first title with the most chapters is read. Throws
// ReadError on failure; never returns a partial list.
TitleChapters ReadChapterSource(const std::filesystem::path& path, InputKind kind,
                                double input_rate);

}  // namespace markwright
