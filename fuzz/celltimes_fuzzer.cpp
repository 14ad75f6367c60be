// Any text as a Celltimes list, at the rates users pick most: chapters or a ReadError.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "readers/celltimes_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const double rate : {24 / 1.001, 25.0, 1.0}) {
    try {
      markwright::ParseCelltimes(text, "fuzz.txt", rate);
    } catch (const markwright::ReadError&) {
    }
  }
  return 0;
}
