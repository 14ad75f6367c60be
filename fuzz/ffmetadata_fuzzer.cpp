// Any text as an ffmpeg metadata file: chapters or a ReadError, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "readers/ffmetadata_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    markwright::ParseFfmetadata(std::string_view(reinterpret_cast<const char*>(data), size),
                                "fuzz.ffmetadata");
  } catch (const markwright::ReadError&) {
  }
  return 0;
}
