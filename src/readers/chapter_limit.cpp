#include "readers/chapter_limit.h"

#include "core/error.h"

namespace markwright {

void CheckRoomForChapter(std::size_t count, std::string_view source_name) {
  if (count >= kMaxChapters) {
    throw ReadError(source_name, "", "more than 1,000,000 chapters in the file");
  }
}

}  // namespace markwright
