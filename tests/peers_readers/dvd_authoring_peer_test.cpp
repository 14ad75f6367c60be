// DVDs authored afresh by tests/fixtures/make_dvd_fixtures.sh: the chapter times we read through
// libmediainfo must be where dvdauthor says it put the chapters, and lsdvd's chapter lengths must
// add up to the distances between our chapters.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "core/chapter_list.h"
#include "core/timestamp.h"
#include "readers/dvd_reader.h"
#include "readers/source_file.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

namespace fs = std::filesystem;

bool Installed(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// Chapter starts in milliseconds, per title set (1, 2, ...), from dvdauthor's log: each
// "creating VTS" run adds a title set, and its "CHAPTERS: VTS[1/1] 5.400" lines are in seconds.
// NTSC discs store times as seconds and frames counted 30 to the second, so a start there is
// the frame count at 30000/1001 turned into seconds + frames/30, cut to whole milliseconds.
std::map<int, std::vector<std::int64_t>> AuthoredStarts(const fs::path& log, bool ntsc) {
  std::map<int, std::vector<std::int64_t>> starts;
  int title_set = 0;
  const std::string text = ReadSourceFile(log);
  for (const std::string_view line : SplitLines(text)) {
    if (line.find("creating VTS") != std::string_view::npos) ++title_set;
    if (!line.starts_with("CHAPTERS: ")) continue;
    const double seconds = std::stod(std::string(line.substr(line.rfind(' ') + 1)));
    if (ntsc) {
      const auto frames = static_cast<std::int64_t>(std::llround(seconds * 30000 / 1001));
      starts[title_set].push_back(frames / 30 * 1000 + frames % 30 * 1000 / 30);
    } else {
      starts[title_set].push_back(std::llround(seconds * 1000));
    }
  }
  return starts;
}

// Chapter lengths in milliseconds per title, from "lsdvd -c".
std::map<int, std::vector<std::int64_t>> ListedLengths(const fs::path& disc, const fs::path& work) {
  const auto result =
      testing::RunProcess("/bin/sh", {"-c", "lsdvd -c \"$0\" 2>/dev/null", disc.string()}, work);
  std::map<int, std::vector<std::int64_t>> lengths;
  int title = 0;
  const std::regex title_line(R"(^Title: (\d+))");
  const std::regex chapter_line(R"(Chapter: \d+, Length: (\d+):(\d+):(\d+)\.(\d+))");
  std::smatch match;
  for (const std::string_view view : SplitLines(result.output)) {
    const std::string line(view);
    if (std::regex_search(line, match, title_line)) title = std::stoi(match[1]);
    if (std::regex_search(line, match, chapter_line)) {
      lengths[title].push_back(std::stoll(match[1]) * 3'600'000 + std::stoll(match[2]) * 60'000 +
                               std::stoll(match[3]) * 1000 + std::stoll(match[4]));
    }
  }
  return lengths;
}

TEST(DvdAuthoring, ChaptersAreWhereDvdauthorPutThemAndAddUpToLsdvdsLengths) {
  for (const char* program : {"ffmpeg", "dvdauthor", "lsdvd"}) {
    if (!Installed(program)) GTEST_SKIP() << program << " is not installed";
  }
  testing::TempDir work;
  const auto made = testing::RunProcess(
      "/bin/bash",
      {std::string(MARKWRIGHT_SOURCE_DIR) + "/tests/fixtures/make_dvd_fixtures.sh",
       work.path().string(), "--full"},
      work.path());
  ASSERT_EQ(made.exit_status, 0) << made.errors;

  int title_sets = 0;
  for (const auto& disc : fs::directory_iterator(work.path())) {
    if (!fs::exists(disc.path() / "dvdauthor.log")) continue;
    SCOPED_TRACE(disc.path().filename().string());
    const bool ntsc = disc.path().filename().string().starts_with("ntsc");
    const auto starts = AuthoredStarts(disc.path() / "dvdauthor.log", ntsc);
    const auto lengths = ListedLengths(disc.path(), work.path());
    ASSERT_FALSE(starts.empty());
    for (const auto& [title_set, authored] : starts) {
      char name[16];
      std::snprintf(name, sizeof name, "VTS_%02d_0.IFO", title_set);
      const ChapterList ours = ReadDvdTitleSet(disc.path() / "VIDEO_TS" / name);
      ChapterList expected;
      for (const std::int64_t start : authored) expected.push_back(FormatTimestamp(start));
      EXPECT_EQ(ours, expected) << name;

      // Each disc here has one title per title set, in title-set order.
      const auto listed = lengths.find(title_set);
      ASSERT_NE(listed, lengths.end()) << "lsdvd lists no title " << title_set;
      ASSERT_EQ(listed->second.size(), ours.size());
      std::int64_t sum = 0;
      for (std::size_t k = 1; k < ours.size(); ++k) {
        sum += listed->second[k - 1];
        EXPECT_EQ(FormatTimestamp(sum), ours[k]) << name << " chapter " << k + 1;
      }
      ++title_sets;
    }
  }
  EXPECT_EQ(title_sets, 6);
}

}  // namespace
}  // namespace markwright
