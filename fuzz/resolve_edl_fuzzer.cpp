// Any text as a marker EDL, at a drop-frame and a whole rate: chapters or a ReadError, nothing
// else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "readers/resolve_edl_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const double rate : {30 / 1.001, 25.0}) {
    try {
      markwright::ParseResolveEdl(text, "fuzz.edl", rate);
    } catch (const markwright::ReadError&) {
    }
  }
  return 0;
}
