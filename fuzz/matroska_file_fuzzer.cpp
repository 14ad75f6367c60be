// Any bytes as a Matroska file: its editions read with libebml and libmatroska, as the reading
// child does, and the edition a conversion reads; inputs of odd length with nested chapters
// flattened and German names chosen. Editions or a ReadError, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "readers/matroska_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const markwright::MatroskaReading reading{size % 2 == 1, size % 2 == 1 ? "ger" : ""};
    if (const auto file = markwright::ReadMatroskaBytes(bytes, "fuzz.mkv", reading)) {
      markwright::DefaultEdition(*file);
    }
  } catch (const markwright::ReadError&) {
  }
  return 0;
}
