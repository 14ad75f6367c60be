// Every kind of chapter source converted on the command line, and what a user sees when one
// cannot be read.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/playlist_builders.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using testing::ReadFile;
using ::testing::StartsWith;
using testing::TempDir;

class Sources : public ::testing::Test {
 protected:
  // Converts the input to OGG text with equal rates, so the output shows the times as read.
  testing::ProcessResult Convert(const fs::path& input, const std::string& rate = "25") {
    return testing::RunMarkwright(
        {"-i", input.string(), "-o", "out.txt", "-f", "ogg", "-infps", rate, "-outfps", rate},
        folder_.path());
  }

  std::string Output() const { return ReadFile(folder_ / "out.txt"); }

  // A failed read: exit status 2, a message naming the file and the cause, no output file.
  void ExpectFailure(const fs::path& input, const std::string& cause) {
    SCOPED_TRACE(input.string());
    const auto result = Convert(input);
    EXPECT_EQ(result.exit_status, 2);
    EXPECT_THAT(result.errors, StartsWith("Markwright: " + input.string() + ": "));
    EXPECT_THAT(result.errors, HasSubstr(cause));
    EXPECT_FALSE(fs::exists(folder_ / "out.txt"));
  }

  TempDir folder_;
};

TEST_F(Sources, EveryKindConverts) {
  const auto ogg = folder_.Write("a.txt", "CHAPTER01=00:00:00.000\nCHAPTER02=00:01:00.000\n");
  const auto celltimes = folder_.Write("cells.txt", "0\r\n1500\r\n");
  const auto mpls = folder_.Write(
      "00000.mpls", testing::BuildMpls({{{0, 45'000'000}}, {{0, 0}, {0, 2'700'000}}}));
  const auto xpl = folder_.Write(
      "VPLST000.XPL", testing::BuildXpl({{"00:00:00:00"}, {"00:00:00:00", "00:01:00:00"}}));
  const auto ifo = fs::path(MARKWRIGHT_SOURCE_DIR) /
                   "tests/fixtures/dvd/pal_two_title_sets/VIDEO_TS/VTS_02_0.IFO";
  const std::string one_minute =
      "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=\r\nCHAPTER02=00:01:00.000\r\nCHAPTER02NAME=\r\n";
  for (const fs::path& input : {ogg, celltimes, mpls}) {
    SCOPED_TRACE(input.string());
    const auto result = Convert(input);
    EXPECT_EQ(result.exit_status, 0) << result.errors;
    EXPECT_EQ(Output(), one_minute);
  }
  // HD DVD: the title with the most chapters, its times stretched by 1.001.
  auto result = Convert(xpl);
  EXPECT_EQ(result.exit_status, 0) << result.errors;
  EXPECT_EQ(Output(),
            "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=\r\nCHAPTER02=00:01:00.060\r\n"
            "CHAPTER02NAME=\r\n");
  result = Convert(ifo);
  EXPECT_EQ(result.exit_status, 0) << result.errors;
  EXPECT_EQ(Output(),
            "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=\r\nCHAPTER02=00:00:19.800\r\n"
            "CHAPTER02NAME=\r\n");
  // Celltimes frames count at the input rate: 62.5625 s, a tie that goes to the even 562 ms.
  result = Convert(celltimes, "24/1.001");
  EXPECT_EQ(result.exit_status, 0) << result.errors;
  EXPECT_THAT(Output(), HasSubstr("CHAPTER02=00:01:02.562\r\n"));
}

TEST_F(Sources, AnUnreadableSourceLeavesNoOutputFile) {
  std::string cut = testing::BuildMpls({{{0, 45'000}}, {{0, 0}}});
  cut.resize(60);
  ExpectFailure(folder_.Write("cut.mpls", cut), "truncated playlist at offset");
  ExpectFailure(folder_.Write("bad.txt", "0\r\n24\r\nlater\r\n"), "line 3");
  ExpectFailure(folder_.Write("none.xpl", "<?xml version=\"1.0\"?><Playlist/>"),
                "no chapter list found");
  ExpectFailure(
      fs::path(MARKWRIGHT_SOURCE_DIR) / "tests/fixtures/dvd/pal_chapters/VIDEO_TS/VIDEO_TS.IFO",
      "no chapters found");
}

}  // namespace
}  // namespace markwright
