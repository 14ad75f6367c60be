// Inputs that once crashed or stalled a reader (found by fuzzing), kept in tests/fuzz/regressions
// and named after their reader: each gives chapters or a failure that names the file.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "core/error.h"
#include "readers/bluray_reader.h"
#include "readers/celltimes_reader.h"
#include "readers/dvd_reader.h"
#include "readers/hddvd_reader.h"

namespace markwright {
namespace {

TEST(FuzzRegressions, EveryKeptInputFailsCleanlyOrReads) {
  const auto folder = std::filesystem::path(MARKWRIGHT_SOURCE_DIR) / "tests/fuzz/regressions";
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    try {
      if (name.starts_with("bluray_")) ReadBluRayPlaylist(entry);
      if (name.starts_with("celltimes_")) ReadCelltimes(entry, 24 / 1.001);
      // Short: on the kept title set the library never finishes.
      if (name.starts_with("dvd_")) ReadDvdTitleSet(entry, std::chrono::seconds(2));
      if (name.starts_with("hddvd_")) {
        const HdDvdPlaylist playlist = ReadHdDvdPlaylist(entry);
        HdDvdTitleChapters(playlist, ChooseHdDvdTitle(playlist), entry.path().string());
      }
    } catch (const ReadError& error) {
      const std::string message = error.what();
      EXPECT_TRUE(message.starts_with(entry.path().string() + ": ")) << message;
      EXPECT_EQ(message.find("did not finish") != std::string::npos,
                name.find("endless_loop") != std::string::npos)
          << message;
    }
  }
}

}  // namespace
}  // namespace markwright
