// Runs the built executable the way a user does and checks what it leaves behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using testing::ReadFile;
using testing::RunMarkwright;
using testing::TempDir;

constexpr std::string_view kChapters =
    "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=Intro\r\n"
    "CHAPTER02=00:10:00.000\r\nCHAPTER02NAME=Part 2. The end\r\n";

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override { folder_.Write("in.txt", kChapters); }

  testing::ProcessResult Run(const std::vector<std::string>& arguments) {
    return RunMarkwright(arguments, folder_.path());
  }

  TempDir folder_;
};

TEST_F(CommandLine, ConvertsAnOggFileBetweenFrameRates) {
  const auto result =
      Run({"-i", "in.txt", "-o", "out.txt", "-f", "ogg", "-infps", "24/1.001", "-outfps", "25"});
  EXPECT_EQ(result.exit_status, 0) << result.errors;
  EXPECT_EQ(result.errors, "");
  EXPECT_EQ(ReadFile(folder_ / "out.txt"),
            "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=\r\n"
            "CHAPTER02=00:09:35.425\r\nCHAPTER02NAME=\r\n");
}

TEST_F(CommandLine, WritesCanonicalTimesWithTheDefaultRatesAndReplacesAnOlderFile) {
  folder_.Write("short.txt", "CHAPTER1=1:02:03.5\n");
  folder_.Write("out.txt", std::string(500, 'x'));
  const auto result = Run({"-i", "short.txt", "-o", "out.txt", "-f", "OGG"});
  EXPECT_EQ(result.exit_status, 0) << result.errors;
  EXPECT_EQ(ReadFile(folder_ / "out.txt"), "CHAPTER01=01:02:03.500\r\nCHAPTER01NAME=\r\n");
}

TEST_F(CommandLine, ReportsEachCheckInOrderWithExitStatusOne) {
  struct Case {
    std::vector<std::string> arguments;
    const char* message;
  };
  folder_.Write("unknown.txt", "xyz chapters");
  fs::create_directory(folder_ / "a-folder");
  const Case cases[] = {
      {{"-f", "ogg"}, "Input file is not specified!"},
      {{"-i", "", "-f", "ogg"}, "Input file is not specified!"},
      {{"-i", "missing.txt", "-o", "no/such/folder/out.txt"}, "Cannot open input file!"},
      {{"-i", "a-folder", "-f", "ogg"}, "Cannot open input file!"},
      {{"-i", "in.txt", "-o", "no/such/folder/out.txt"}, "output path is not exist!"},
      {{"-i", "in.txt", "-o", "out.txt"}, "output format is not specified!"},
      {{"-i", "in.txt", "-o", "out.txt", "-f"}, "output format is not specified!"},
      {{"-i", "unknown.txt", "-o", "out.txt", "-f", "nope"}, "Unknown Format!"},
      {{"-i", "in.txt", "-o", "out.txt", "-f", "x264 QP Text File"}, "Unknown destination format!"},
  };
  for (const auto& one_case : cases) {
    const auto result = Run(one_case.arguments);
    EXPECT_EQ(result.exit_status, 1) << one_case.message;
    EXPECT_EQ(result.errors, std::string("Markwright: ") + one_case.message + "\n");
    EXPECT_FALSE(fs::exists(folder_ / "out.txt")) << one_case.message;
  }
}

TEST_F(CommandLine, OtherFailuresExitWithTwoAndLeaveTheOutputAlone) {
  folder_.Write("out.txt", "keep");
  folder_.Write("bad.txt", "CHAPTER01=00:00:00.000\r\nCHAPTER02=00:00:xx.000\r\n");
  // A bad rate is found before the missing format.
  auto result = Run({"-i", "in.txt", "-o", "out.txt", "-infps", "abc"});
  EXPECT_EQ(result.exit_status, 2);
  EXPECT_EQ(result.errors, "Markwright: invalid frame rate \"abc\": \"abc\" is not a number\n");

  result = Run({"-i", "in.txt", "-o", "out.txt", "-f", "ogg", "-outfps", "0"});
  EXPECT_EQ(result.exit_status, 2);
  EXPECT_THAT(result.errors, HasSubstr("invalid frame rate \"0\""));

  result = Run({"-i", "bad.txt", "-o", "out.txt", "-f", "ogg"});
  EXPECT_EQ(result.exit_status, 2);
  EXPECT_EQ(result.errors,
            "Markwright: bad.txt: line 2: expected a time H:MM:SS.fff after CHAPTER02=, found "
            "\"00:00:xx.000\"\n");

  // A time that cannot be re-timed is put down to the file that holds it.
  folder_.Write("far.txt", "CHAPTER01=2000000000:00:00.000\r\n");
  result = Run({"-i", "far.txt", "-o", "out.txt", "-f", "ogg", "-infps", "60", "-outfps", "24"});
  EXPECT_EQ(result.exit_status, 2);
  EXPECT_THAT(result.errors, HasSubstr("Markwright: far.txt: re-timing 2000000000:00:00.000"));

  fs::create_directory(folder_ / "taken");
  result = Run({"-i", "in.txt", "-o", "taken", "-f", "ogg"});
  EXPECT_EQ(result.exit_status, 2);
  EXPECT_THAT(result.errors, HasSubstr("cannot write taken"));
  EXPECT_EQ(ReadFile(folder_ / "out.txt"), "keep");
}

TEST_F(CommandLine, WritesToChapterTxtBesideTheProgramWithoutAnOutputPath) {
  // A copy of the program in a folder of its own, so the default output lands there.
  const fs::path program = folder_ / "bin" / "markwright";
  fs::create_directories(program.parent_path());
  fs::copy_file(MARKWRIGHT_EXE, program);
  const auto result = testing::RunProcess(
      program.string(), {"-outfps", "25", "-i", "in.txt", "-f", "ogg"}, folder_.path());
  EXPECT_EQ(result.exit_status, 0) << result.errors;
  EXPECT_EQ(ReadFile(folder_ / "bin" / "chapter.txt"),
            "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=\r\n"
            "CHAPTER02=00:09:35.425\r\nCHAPTER02NAME=\r\n");
}

TEST_F(CommandLine, TakesAwkwardFileNamesWhole) {
  folder_.Write("my-chapters.txt", kChapters);
  folder_.Write("Bob's Movie - Part 1.txt", kChapters);
  folder_.Write(".hidden", kChapters);
  for (const char* name : {"my-chapters.txt", "Bob's Movie - Part 1.txt", ".hidden"}) {
    const auto result = Run({"-i", name, "-o", std::string(name) + ".out", "-f", "ogg"});
    EXPECT_EQ(result.exit_status, 0) << name << ": " << result.errors;
    EXPECT_TRUE(fs::exists(folder_ / (std::string(name) + ".out"))) << name;
  }
  // An absolute output path and an attached value.
  const auto result = Run(
      {"-i" + (folder_ / "in.txt").string(), "-o", (folder_ / "abs.txt").string(), "-f", "ogg"});
  EXPECT_EQ(result.exit_status, 0) << result.errors;
  EXPECT_TRUE(fs::exists(folder_ / "abs.txt"));
}

TEST_F(CommandLine, PrintsHelpAndVersion) {
  for (const char* flag : {"--help", "-h"}) {
    const auto result = Run({flag});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_TRUE(result.output.starts_with("Syntax: Markwright -i <inputfile>")) << flag;
    EXPECT_TRUE(result.output.ends_with("24/1.001 for example\n")) << flag;
    EXPECT_EQ(result.output.find('\r'), std::string::npos);
  }
  const auto result = Run({"--version"});
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.output, "Markwright 1.0.8\n");
}

}  // namespace
}  // namespace markwright
