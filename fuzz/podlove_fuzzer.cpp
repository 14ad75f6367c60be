// Any text as a Podlove Simple Chapters: chapters or a ReadError, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "readers/podlove_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    markwright::ParsePodloveChapters(std::string_view(reinterpret_cast<const char*>(data), size),
                                     "fuzz.xml");
  } catch (const markwright::ReadError&) {
  }
  return 0;
}
