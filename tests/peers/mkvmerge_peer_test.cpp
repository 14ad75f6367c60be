// mkvmerge takes our OGG chapter text as a chapter file; mkvextract gives the times back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "peer_support.h"

namespace markwright::testing {
namespace {

// The times of the CHAPTERnn= lines, sorted: mkvmerge orders chapters by time.
std::vector<std::string> ChapterTimes(const std::string& simple_chapters) {
  std::vector<std::string> times;
  std::istringstream lines(simple_chapters);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto equals = line.find('=');
    if (line.starts_with("CHAPTER") && equals != std::string::npos &&
        !line.substr(0, equals).ends_with("NAME")) {
      times.push_back(line.substr(equals + 1));
    }
  }
  std::ranges::sort(times);
  return times;
}

TEST(MkvmergePeer, TakesOurOggChaptersAndGivesTheSameTimesBack) {
  const auto mkvmerge = FindProgram("mkvmerge");
  const auto mkvextract = FindProgram("mkvextract");
  if (mkvmerge.empty() || mkvextract.empty()) GTEST_SKIP() << "MKVToolNix is not installed";
  const auto folder = FreshWorkFolder();

  // 102 chapters, so numbers reach three digits, the last one past 100 hours.
  std::vector<std::string> times;
  for (int minute = 0; minute <= 100; ++minute) {
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d.%03d", minute / 60, minute % 60, minute % 60,
                  minute * 7);
    times.emplace_back(time);
  }
  times.emplace_back("100:00:00.005");
  const std::string ours = ConvertChapters(folder, times, "ogg", "24000/1001", "25");
  ASSERT_NE(ours.find("CHAPTER102="), std::string::npos);

  auto run = RunPeer(mkvmerge, {"-o", "chapters.mks", "--chapters", "out.txt"}, folder);
  ASSERT_EQ(run.exit_status, 0) << Said(run);
  run = RunPeer(mkvextract, {"chapters.mks", "chapters", "--simple", "back.txt"}, folder);
  ASSERT_EQ(run.exit_status, 0) << Said(run);

  const auto written = ChapterTimes(ours);
  EXPECT_EQ(written.size(), times.size());
  EXPECT_EQ(ChapterTimes(ReadFile(folder / "back.txt")), written);
}

}  // namespace
}  // namespace markwright::testing
