// Any text as a Podcasting 2.0 JSON chapters: chapters or a ReadError, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "readers/podcast_json_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    markwright::ParsePodcastJsonChapters(
        std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.json");
  } catch (const markwright::ReadError&) {
  }
  return 0;
}
