// Two ways in for the DVD reader. Bytes that begin like a title set ("DVDV") are written to a
// file and read through libmediainfo, as a damaged disc would be (this found a title set on which
// the library never returns; tests/fuzz/regressions keeps it). Anything else stands for the
// library's answers: the first line is Chapters_Pos_Begin, the second Chapters_Pos_End, and each
// further line the name of the next field from position 0 on. The library runs in a child
// process that is this program started again in the reader's hidden mode, as markwright does.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "readers/dvd_reader.h"
#include "readers/mediainfo_child.h"
#include "support/menu_from_lines.h"

namespace {

std::string TitleSetPath() {
  return "/tmp/markwright-dvd-fuzz-" + std::to_string(getpid()) + ".IFO";
}

}  // namespace

// libFuzzer calls this before it reads its own options: a child started to read a title set
// answers and ends here.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  if (*argc > 1 && (*argv)[1] == markwright::kMediaInfoChildArgument) {
    std::exit(markwright::RunMediaInfoChild(*argc, *argv));
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (bytes.starts_with("DVDV")) {
    static const std::string path = TitleSetPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return 0;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    try {
      // A deadline well below the fuzzer's own limit for one input (-timeout).
      markwright::CountDvdChapters(path, std::chrono::seconds(3));
      markwright::ReadDvdTitleSet(path, std::chrono::seconds(3));
    } catch (const markwright::ReadError&) {
    }
    std::remove(path.c_str());
    return 0;
  }
  markwright::testing::MenuFromLines menu(bytes);
  try {
    markwright::CountMenuChapters(menu, "fuzz.IFO");
    markwright::ReadMenuChapters(menu, "fuzz.IFO");
  } catch (const markwright::ReadError&) {
  }
  return 0;
}
