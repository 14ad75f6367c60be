// Any bytes as a Blu-ray playlist: chapters or a ReadError, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "readers/bluray_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    markwright::ParseBluRayPlaylist(std::string_view(reinterpret_cast<const char*>(data), size),
                                    "fuzz.mpls");
  } catch (const markwright::ReadError&) {
  }
  return 0;
}
