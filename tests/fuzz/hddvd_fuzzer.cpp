// Any text as an HD DVD playlist, through every mode the program uses: the title count, each
// title's chapter count, the title choice and the load.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "readers/hddvd_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const std::int32_t titles = markwright::CountHdDvdTitlesInText(text, "fuzz.xpl");
    for (std::int32_t title = 1; title <= titles; ++title) {
      markwright::CountHdDvdChaptersInText(text, "fuzz.xpl", title);
    }
  } catch (const markwright::ReadError&) {
  }
  try {
    markwright::ParseHdDvdPlaylist(text, "fuzz.xpl",
                                   markwright::ChooseHdDvdTitleInText(text, "fuzz.xpl"));
  } catch (const markwright::ReadError&) {
  }
  return 0;
}
