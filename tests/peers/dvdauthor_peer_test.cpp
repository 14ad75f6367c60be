// dvdauthor takes our chapters="..." line and starts each chapter at the VOBU nearest our time.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include "peer_support.h"

namespace markwright::testing {
namespace {

// ffmpeg's PAL DVD target: a GOP, and with it a VOBU, every 15 frames at 25 fps.
constexpr int kVobuMilliseconds = 600;

int NearestVobuStart(int milliseconds) {
  return static_cast<int>(std::lround(static_cast<double>(milliseconds) / kVobuMilliseconds)) *
         kVobuMilliseconds;
}

// The chapter starts in milliseconds from dvdauthor's log ("CHAPTERS: VTS[1/1] 3.600").
std::vector<int> LoggedChapterStarts(const std::string& log) {
  std::vector<int> starts;
  const std::regex chapter(R"(CHAPTERS: VTS\[\d+/\d+\] (\d+)\.(\d{3}))");
  for (std::sregex_iterator match(log.begin(), log.end(), chapter), end; match != end; ++match) {
    starts.push_back(std::stoi((*match)[1]) * 1000 + std::stoi((*match)[2]));
  }
  return starts;
}

// The chapter starts in milliseconds from the lengths lsdvd reads out of the authored title
// ("Chapter: 01, Length: 00:00:03.600, Start Cell: 01").
std::vector<int> ReadChapterStarts(const std::string& listing) {
  std::vector<int> starts;
  const std::regex chapter(R"(Chapter: \d+, Length: (\d+):(\d{2}):(\d{2})\.(\d{3}))");
  int start = 0;
  for (std::sregex_iterator match(listing.begin(), listing.end(), chapter), end; match != end;
       ++match) {
    starts.push_back(start);
    start +=
        ((std::stoi((*match)[1]) * 60 + std::stoi((*match)[2])) * 60 + std::stoi((*match)[3])) *
            1000 +
        std::stoi((*match)[4]);
  }
  return starts;
}

TEST(DvdauthorPeer, StartsEveryChapterAtTheVobuNearestOurTime) {
  const auto dvdauthor = FindProgram("dvdauthor");
  const auto ffmpeg = FindProgram("ffmpeg");
  if (dvdauthor.empty() || ffmpeg.empty()) GTEST_SKIP() << "dvdauthor or ffmpeg is not installed";
  const auto folder = FreshWorkFolder();

  auto run =
      RunPeer(ffmpeg,
              {"-v", "error", "-f", "lavfi", "-i", "testsrc=duration=10:size=720x576:rate=25", "-f",
               "lavfi", "-i", "anullsrc=r=48000:cl=stereo", "-t", "10", "-target", "pal-dvd",
               "-aspect", "4:3", "-g", "15", "clip.mpg"},
              folder);
  ASSERT_EQ(run.exit_status, 0) << Said(run);

  // Times whose nearest VOBU differs from the one a frame number after the "." would reach:
  // 03.13 s -> 3.0, 04.22 s -> 4.2, 06.23 s -> 6.0.
  const std::vector<int> meant = {0, 3520, 4920, 6960};
  const std::string line =
      ConvertChapters(folder, {"00:00:00.000", "00:00:03.520", "00:00:04.920", "00:00:06.960"},
                      "dvdauthor", "25", "25");
  ASSERT_EQ(line, "chapters=\"00:00:00.000,00:00:03.520,00:00:04.920,00:00:06.960\"");
  std::ofstream(folder / "project.xml")
      << "<dvdauthor dest=\"dvd\">\n<vmgm/>\n<titleset><titles><pgc>\n<vob file=\"clip.mpg\" "
      << line << "/>\n</pgc></titles></titleset>\n</dvdauthor>\n";

  ::setenv("VIDEO_FORMAT", "PAL", 1);
  run = RunPeer(dvdauthor, {"-x", "project.xml"}, folder);
  ASSERT_EQ(run.exit_status, 0) << Said(run);

  std::vector<int> expected;
  for (const int time : meant) expected.push_back(NearestVobuStart(time));
  EXPECT_EQ(expected, (std::vector<int>{0, 3600, 4800, 7200}));
  EXPECT_EQ(LoggedChapterStarts(run.output + run.errors), expected);

  // lsdvd reads the starts back from the authored disc, where it is installed.
  if (const auto lsdvd = FindProgram("lsdvd"); !lsdvd.empty()) {
    const auto listing = RunPeer(lsdvd, {"-c", "dvd"}, folder);
    EXPECT_EQ(ReadChapterStarts(listing.output), expected) << Said(listing);
  }
}

}  // namespace
}  // namespace markwright::testing
