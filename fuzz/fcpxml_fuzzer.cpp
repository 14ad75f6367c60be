// Any text as Final Cut Pro XML: chapters or a ReadError, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "readers/fcpxml_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    markwright::ParseFcpxml(std::string_view(reinterpret_cast<const char*>(data), size),
                            "fuzz.fcpxml");
  } catch (const markwright::ReadError&) {
  }
  return 0;
}
