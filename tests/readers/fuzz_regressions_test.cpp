// Inputs that once crashed or stalled a reader (found by fuzzing), kept in tests/fuzz/regressions
// and named after their reader: each must give chapters or a failure that names the file.
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

namespace fs = std::filesystem;

void Replay(const fs::path& file) {
  const std::string name = file.filename().string();
  if (name.starts_with("bluray_")) {
    ReadBluRayPlaylist(file);
  } else if (name.starts_with("hddvd_")) {
    const HdDvdPlaylist playlist = ReadHdDvdPlaylist(file);
    HdDvdTitleChapters(playlist, ChooseHdDvdTitle(playlist), file.string());
  } else if (name.starts_with("celltimes_")) {
    ReadCelltimes(file, 24 / 1.001);
  } else if (name.starts_with("dvd_")) {
    ReadDvdTitleSet(file, std::chrono::seconds(2));  // a title set the library never finishes
  } else {
    ADD_FAILURE() << "no reader is named in " << name;
  }
}

TEST(FuzzRegressions, EveryKeptInputFailsCleanlyOrReads) {
  const fs::path folder = fs::path(MARKWRIGHT_SOURCE_DIR) / "tests/fuzz/regressions";
  for (const auto& entry : fs::directory_iterator(folder)) {
    try {
      Replay(entry.path());
    } catch (const ReadError& error) {
      const std::string message = error.what();
      EXPECT_TRUE(message.starts_with(entry.path().string() + ": ")) << message;
      // The title set on which libmediainfo never returns is given up after the deadline.
      const bool endless = message.find("endless_loop") != std::string::npos;
      EXPECT_EQ(message.find("did not finish") != std::string::npos, endless) << message;
    }
  }
}

}  // namespace
}  // namespace markwright
