// What a case folder cannot hold: the program copied elsewhere, and the program's linkage.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace markwright::testing {
namespace {

TEST(Program, WritesChapterTxtBesideItselfWithoutAnOutputPath) {
  TempDir folder;
  folder.Write("in.txt", "CHAPTER01=00:00:00.000\nCHAPTER02=00:01:00.000\n");
  std::filesystem::create_directory(folder / "bin");
  std::filesystem::copy_file(MARKWRIGHT_EXE, folder / "bin/markwright");
  // -outfps is not -o.
  const auto run = RunProcess(folder / "bin/markwright",
                              {"-outfps", "25", "-i", "in.txt", "-f", "ogg"}, folder.path());
  EXPECT_EQ(run.exit_status, 0) << run.errors;
  EXPECT_EQ(ReadFile(folder / "bin/chapter.txt"),
            "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=\r\nCHAPTER02=00:00:57.542\r\n"
            "CHAPTER02NAME=\r\n");
}

// The command line runs where Qt is absent, and starts without libav's hundred libraries (the
// reading child loads them with the video module).
TEST(Program, LinksNoQtLibrary) {
  const auto run = RunProcess("/usr/bin/ldd", {MARKWRIGHT_EXE}, "/");
  EXPECT_THAT(run.output, ::testing::HasSubstr("libc.so"));
  EXPECT_THAT(run.output, ::testing::Not(::testing::HasSubstr("Qt")));
  EXPECT_THAT(run.output, ::testing::Not(::testing::HasSubstr("libav")));
}

}  // namespace
}  // namespace markwright::testing
