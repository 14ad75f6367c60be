// Any text as an HD DVD playlist: decoded once, then every title's chapters and the title the
// program would choose, as the disc scan and a load do. Chapters or a ReadError, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "readers/hddvd_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const markwright::HdDvdPlaylist playlist = markwright::DecodeHdDvdPlaylist(text, "fuzz.xpl");
    const auto titles = static_cast<std::int32_t>(playlist.titles.size());
    for (std::int32_t title = 0; title <= titles + 1; ++title) {
      try {
        markwright::HdDvdTitleChapters(playlist, title, "fuzz.xpl");
      } catch (const markwright::ReadError&) {
      }
    }
    markwright::HdDvdTitleChapters(playlist, markwright::ChooseHdDvdTitle(playlist), "fuzz.xpl");
  } catch (const markwright::ReadError&) {
  }
  return 0;
}
