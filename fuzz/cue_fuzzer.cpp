// Any text as a CUE sheet: chapters or a ReadError, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "readers/cue_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    markwright::ParseCueSheet(std::string_view(reinterpret_cast<const char*>(data), size),
                              "fuzz.cue");
  } catch (const markwright::ReadError&) {
  }
  return 0;
}
