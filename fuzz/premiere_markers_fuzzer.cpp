// Any text as a Premiere Pro marker list, at a drop-frame and a whole rate: chapters or a
// ReadError, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "readers/premiere_markers_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const double rate : {60 / 1.001, 24.0}) {
    try {
      markwright::ParsePremiereMarkers(text, "fuzz.csv", rate);
    } catch (const markwright::ReadError&) {
    }
  }
  return 0;
}
