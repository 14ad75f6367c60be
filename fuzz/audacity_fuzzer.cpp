// Any text as a Audacity label file: chapters or a ReadError, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "readers/audacity_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    markwright::ParseAudacityLabels(std::string_view(reinterpret_cast<const char*>(data), size),
                                    "fuzz.txt");
  } catch (const markwright::ReadError&) {
  }
  return 0;
}
