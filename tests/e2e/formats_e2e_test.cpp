// Every destination format through the built program, as a user runs it.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <filesystem>
#include <string>

#include "support/run_process.h"
#include "support/temp_dir.h"
#include "writers/format_table.h"

namespace markwright {
namespace {

using testing::ReadFile;
using testing::RunMarkwright;
using testing::TempDir;

constexpr std::string_view kChapters =
    "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=\r\n"
    "CHAPTER02=00:05:10.520\r\nCHAPTER02NAME=Intro\r\n"
    "CHAPTER03=00:20:00.981\r\nCHAPTER03NAME=\r\n";

// The output of each row of the format table for kChapters at 25 fps in and out.
const std::array<std::string_view, 12> kExpected = {
    "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=\r\nCHAPTER02=00:05:10.520\r\nCHAPTER02NAME=\r\n"
    "CHAPTER03=00:20:00.981\r\nCHAPTER03NAME=\r\n",
    "0 I\r\n7763 I\r\n30025 I\r\n",
    "*CHAPTER          3\r\n0\r\n7763\r\n30025\r\n",
    "%Frame Rate\t3,0\r\n00:00:00:00\r\n00:05:10:13\r\n00:20:01:00\r\n",
    "00:00:00:00\r\n00:05:10:12\r\n00:20:00:24\r\n",
    "25\r\nNonDrop\r\n00:00:00:00\r\n00:05:10:12\r\n00:20:00:24\r\n",
    "$Spruce_IFrame_List\r\n00:00:00:00\r\n00:05:10:12\r\n00:20:00:24\r\n",
    "--custom-chapters=00:00:00.000;00:05:10.520;00:20:00.981",
    "00:00:00.000\r\n00:05:10.520\r\n00:20:00.981\r\n",
    "7763\r\n30025\r\n",
    "chapters=\"00:00:00.000,00:05:10.520,00:20:00.981\"",
    "0\r\n7763\r\n30025\r\n",
};

// The key with the letter case of every other letter turned: "oGg", "X264", "dVdAuThOr".
std::string MixedCase(std::string_view key) {
  std::string mixed(key);
  bool turn = true;
  for (char& letter : mixed) {
    if (!std::isalpha(static_cast<unsigned char>(letter))) continue;
    const auto code = static_cast<unsigned char>(letter);
    if (turn)
      letter = static_cast<char>(std::isupper(code) ? std::tolower(code) : std::toupper(code));
    turn = !turn;
  }
  return mixed;
}

TEST(FormatsEndToEnd, EveryKeyConvertsInMixedLetterCase) {
  TempDir folder;
  folder.Write("movie.txt", kChapters);
  for (std::size_t row = 0; row < kDestinationFormats.size(); ++row) {
    const std::string key = MixedCase(kDestinationFormats[row].key);
    SCOPED_TRACE(key);
    ASSERT_NE(key, kDestinationFormats[row].key);
    const std::string output = "out-" + std::to_string(row) + ".txt";
    const auto run =
        RunMarkwright({"-i", "movie.txt", "-o", output, "-f", key, "-infps", "25", "-outfps", "25"},
                      folder.path());
    EXPECT_EQ(run.exit_status, 0) << run.errors;
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(ReadFile(folder / output), kExpected[row]);
  }
}

TEST(FormatsEndToEnd, CceAndScenaristNameTheInputRateTheyWereGiven) {
  TempDir folder;
  folder.Write("movie.txt", kChapters);
  const auto convert = [&](std::vector<std::string> arguments) {
    const std::vector<std::string> common = {"-i", "movie.txt", "-o", "out.txt"};
    arguments.insert(arguments.begin(), common.begin(), common.end());
    const auto run = RunMarkwright(arguments, folder.path());
    EXPECT_EQ(run.exit_status, 0) << run.errors;
    return ReadFile(folder / "out.txt");
  };
  // The default rates, 24/1.001 both, carried as 15 significant digits.
  EXPECT_EQ(convert({"-f", "scenarist"}),
            "23.976023976024\r\nNonDrop\r\n00:00:00:00\r\n00:05:10:12\r\n00:20:00:23\r\n");
  EXPECT_EQ(convert({"-f", "cce"}),
            "%Frame Rate\t1,0\r\n00:00:00:00\r\n00:05:10:12\r\n00:20:01:00\r\n");
  // The code follows the input rate, the frame fields the output rate.
  EXPECT_EQ(convert({"-f", "CCE", "-infps", "30000/1001", "-outfps", "25"}).substr(0, 17),
            "%Frame Rate\t4,0\r\n");
}

TEST(FormatsEndToEnd, CceRefusesAnInputRateWithoutACodeAndWritesNothing) {
  TempDir folder;
  folder.Write("movie.txt", kChapters);
  const auto run = RunMarkwright(
      {"-i", "movie.txt", "-o", "out.txt", "-f", "Cce", "-infps", "50", "-outfps", "25"},
      folder.path());
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.errors, "Markwright: Frame rate is not allowed!, use from 23.976-30.000\n");
  EXPECT_EQ(run.output, "");
  EXPECT_FALSE(std::filesystem::exists(folder / "out.txt"));
}

}  // namespace
}  // namespace markwright
