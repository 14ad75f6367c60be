// Inputs that once crashed or stalled a reader (found by fuzzing), kept in tests/fuzz/regressions
// and named after their reader: each must give a clean failure or chapters, never a crash or a
// hang.
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
    ReadHdDvdPlaylist(file, ChooseHdDvdTitle(file));
  } else if (name.starts_with("celltimes_")) {
    ReadCelltimes(file, 24 / 1.001);
  } else if (name.starts_with("dvd_")) {
    // Short, so that a title set the library never finishes costs little.
    ReadDvdTitleSet(file, std::chrono::seconds(2));
  } else {
    ADD_FAILURE() << "no reader is named in " << name;
  }
}

TEST(FuzzRegressions, EveryKeptInputFailsCleanlyOrReads) {
  const fs::path folder = fs::path(MARKWRIGHT_SOURCE_DIR) / "tests/fuzz/regressions";
  int replayed = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    SCOPED_TRACE(entry.path().filename().string());
    try {
      Replay(entry.path());
    } catch (const ReadError& error) {
      const std::string message = error.what();
      EXPECT_TRUE(message.starts_with(entry.path().string() + ": ")) << message;
      // The title set on which libmediainfo never returns is given up after the deadline.
      if (entry.path().filename().string().find("endless_loop") != std::string::npos) {
        EXPECT_NE(message.find("libmediainfo did not finish reading"), std::string::npos);
      }
    }
    ++replayed;
  }
  EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace markwright
