// Any text as a WebVTT file: chapters or a ReadError, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "readers/webvtt_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    markwright::ParseWebVtt(std::string_view(reinterpret_cast<const char*>(data), size),
                            "fuzz.vtt");
  } catch (const markwright::ReadError&) {
  }
  return 0;
}
