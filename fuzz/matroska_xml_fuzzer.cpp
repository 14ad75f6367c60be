// Any text as a Matroska chapter XML file, through the detection and the reader: chapters or a
// ReadError, nothing else (no entity expanded, no deep recursion).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "readers/matroska_xml_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  markwright::IsMatroskaChaptersXml(text);
  try {
    markwright::ParseMatroskaChapters(text, "fuzz.xml");
  } catch (const markwright::ReadError&) {
  }
  return 0;
}
