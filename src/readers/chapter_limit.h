#pragma once

#include <cstddef>
#include <string_view>

namespace markwright {

// No real title comes near this many chapters; a source that holds more is refused before it can
// take minutes and gigabytes.
inline constexpr std::size_t kMaxChapters = 1'000'000;

// Throws ReadError "more than 1,000,000 chapters in the file" when a reader that holds count
// chapters is about to add one more beyond the limit.
void CheckRoomForChapter(std::size_t count, std::string_view source_name);

}  // namespace markwright
