#pragma once

#include <filesystem>

#include "core/frame_times.h"

namespace markwright {

// The frames a Matroska timestamp file (v1, v2, v4) describes. Throws ReadError naming the file,
// and the line, when it cannot be read or understood.
FrameTimes ReadTimestampFile(const std::filesystem::path& path);

}  // namespace markwright
