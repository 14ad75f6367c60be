// What a case folder cannot check: --all writing several files, and the JSON text of odd names.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/disc_commands.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace markwright::testing {
namespace {

const std::filesystem::path kSource = MARKWRIGHT_SOURCE_DIR;

// Each stream --all writes holds what --stream N and -i on the stream's own file write.
TEST(ConvertAll, WritesEveryStreamAsTheSingleConversionsDo) {
  TempDir folder;
  const std::string disc = (kSource / "tests/cases/disc-list/disc").string();
  const auto all =
      RunMarkwright({"-i", disc, "--all", "-o", "out/new", "-f", "x264"}, folder.path());
  EXPECT_EQ(all.exit_status, 0) << all.errors;
  EXPECT_EQ(all.output,
            "00800.mpls: wrote out/new/00800.txt\n00801.MPLS: wrote out/new/00801.txt\n");
  EXPECT_NE(all.errors.find("left out: " + disc + "/BDMV/PLAYLIST/00802.mpls"), std::string::npos);
  const std::string files[] = {"00800.mpls", "00801.MPLS"};
  for (int stream = 1; stream <= 2; ++stream) {
    const std::string file = files[stream - 1];
    const std::string written = ReadFile(folder / ("out/new/" + file.substr(0, 5) + ".txt"));
    ASSERT_EQ(
        RunMarkwright({"-i", disc, "--stream", std::to_string(stream), "-o", "s.txt", "-f", "x264"},
                      folder.path())
            .exit_status,
        0);
    ASSERT_EQ(RunMarkwright({"-i", disc + "/BDMV/PLAYLIST/" + file, "-o", "f.txt", "-f", "x264"},
                            folder.path())
                  .exit_status,
              0);
    EXPECT_EQ(ReadFile(folder / "s.txt"), written);
    EXPECT_EQ(ReadFile(folder / "f.txt"), written);
  }
}

TEST(ConvertAll, NamesTitleSetsAfterTheSet) {
  TempDir folder;
  const auto all =
      RunMarkwright({"-i", (kSource / "tests/fixtures/dvd/pal_two_title_sets").string(), "--all",
                     "-o", "out", "-f", "ogg", "--shift", "1s"},
                    folder.path());
  EXPECT_EQ(all.exit_status, 0) << all.errors;
  EXPECT_TRUE(std::filesystem::exists(folder / "out/VTS_01.txt"));
  EXPECT_TRUE(std::filesystem::exists(folder / "out/VTS_02.txt"));
}

TEST(JsonString, EscapesControlsAndReplacesBytesThatAreNotUtf8) {
  EXPECT_EQ(JsonString("a\"b\\c\x1b\n"), R"("a\"b\\c\u001b\u000a")");
  EXPECT_EQ(JsonString("\xc3\xa9\xe2\x82\xac\xf0\x9f\x8e\xac"),
            "\"\xc3\xa9\xe2\x82\xac\xf0\x9f\x8e\xac\"");
  // A lone continuation, a cut sequence, an overlong form and an encoded surrogate.
  EXPECT_EQ(JsonString("\x80|\xe2\x82|\xc0\xaf|\xed\xa0\x80"),
            R"("\ufffd|\ufffd\ufffd|\ufffd\ufffd|\ufffd\ufffd\ufffd")");
}

}  // namespace
}  // namespace markwright::testing
