// Timestamp files as mkvmerge writes and reads them: the spellings of the format line, the
// frames of v1 ranges, which files count as one constant rate, and where a broken file breaks.
#include <gtest/gtest.h>

#include <string>

#include "core/decimal.h"
#include "core/error.h"
#include "core/frame_times.h"
#include "support/expect_throw_message.h"

namespace markwright {
namespace {

using testing::ExpectThrowMessage;

// A v2 file of count frames whose times are i x 1000 / rate, written as format prints them.
std::string GridFile(double rate, int count, const char* format) {
  std::string text = "# timestamp format v2\n";
  char line[64];
  for (int frame = 0; frame < count; ++frame) {
    std::snprintf(line, sizeof line, format, frame * 1000 / rate);
    text += line;
  }
  return text;
}

TEST(FrameTimes, ReadsEverySpellingAndLineEndMkvmergeReads) {
  for (const char* header : {"# timecode format v2", "# timestamp format v2",
                             "# timecode format v4", "# timestamp format v4"}) {
    const FrameTimes times =
        ParseFrameTimes(std::string(header) + "\r\n# a comment\r\n\r\n 0 \r\n40.5\r\n", "tc");
    EXPECT_EQ(times.starts, (std::vector<double>{0, 40.5})) << header;
  }
  EXPECT_EQ(ParseFrameTimes("# timecode format v4\r100\r0\r50", "tc").starts,
            (std::vector<double>{0, 50, 100}));
}

TEST(FrameTimes, V1RangesChangeTheRateOfTheirFramesAndTheAssumedRateResumes) {
  const FrameTimes times =
      ParseFrameTimes("# timestamp format v1\nassume 25\n2,3,50\n# gap\n5,5,10\n", "tc");
  EXPECT_EQ(times.starts, (std::vector<double>{0, 40, 80, 100, 120, 160, 260}));
  EXPECT_FALSE(times.constant_rate);
  const FrameClock clock(std::make_shared<const FrameTimes>(times));
  EXPECT_EQ(clock.FrameStart(8), 340);  // past the listed frames at 25 again
  EXPECT_EQ(clock.FrameAt(330, FrameTie::kEven), 8);
  EXPECT_EQ(clock.FrameAt(320, FrameTie::kEven), 8);     // 300 and 340: the even one
  EXPECT_EQ(clock.FrameAt(280, FrameTie::kEven), 6);     // 260 and 300
  EXPECT_EQ(clock.FrameAt(320, FrameTie::kEarlier), 7);  // or the earlier
  EXPECT_TRUE(clock.HasFrame(1'000'000));
  EXPECT_EQ(
      ParseFrameTimes("# timecode format v1\nassume 23.976\n0,9,23.976\n", "tc").constant_rate,
      23.976);
}

TEST(FrameTimes, AFileOnTheGridOfOneRateIsThatRateAsTheCommandLineCarriesIt) {
  // mkvmerge's own v2 files hold whole milliseconds; others keep six decimals.
  EXPECT_EQ(ParseFrameTimes(GridFile(24 / 1.001, 3000, "%.0f\n"), "tc").constant_rate,
            RoundTo15Digits(24 / 1.001));
  EXPECT_EQ(ParseFrameTimes(GridFile(30 / 1.001, 3000, "%.6f\n"), "tc").constant_rate,
            RoundTo15Digits(30 / 1.001));
  EXPECT_EQ(ParseFrameTimes(GridFile(25, 10, "%.0f\n"), "tc").constant_rate, 25);
  EXPECT_FALSE(ParseFrameTimes(GridFile(25, 10, "%.0f\n") + "400\n401\n", "tc").constant_rate);
  EXPECT_FALSE(ParseFrameTimes("# timestamp format v2\n0\n", "tc").constant_rate);
}

TEST(FrameTimes, ABrokenFileNamesItsLineAndCause) {
  const auto fails = [](const std::string& text, std::string_view part) {
    ExpectThrowMessage<ReadError>([&] { ParseFrameTimes(text, "tc.txt"); }, part);
  };
  fails("", "tc.txt: empty file");
  fails("\n# timestamp format v2\n0\n", "tc.txt: line 1: not a timestamp file");
  fails("# timestamp format v2\n", "tc.txt: no frame times");
  fails("# timestamp format v2\n0\n-1\n", "line 3: \"-1\" is no time");
  fails("# timestamp format v2\n0\nnan\n", "line 3: \"nan\" is no time");
  fails("# timestamp format v1\nassume 0\n", "line 2: \"0\" is no frame rate above 0");
  fails("# timestamp format v1\nassume 25\n5,4,30\n", "line 3: the range ends before it begins");
  fails("# timestamp format v1\nassume 25\n0,4\n", "line 3: a range is \"first,last,rate\"");
  fails("# timestamp format v1\nassume 25\n-1,4,30\n", "line 3: \"-1\" is no frame number");
}

}  // namespace
}  // namespace markwright
