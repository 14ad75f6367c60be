// Any text as a time list: chapters or a ReadError, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "readers/time_list_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    markwright::ParseTimeList(std::string_view(reinterpret_cast<const char*>(data), size),
                              "fuzz.txt");
  } catch (const markwright::ReadError&) {
  }
  return 0;
}
