// The arithmetic under every conversion: rates, timestamps, frames and their rounding. Whole runs
// of the program are the cases in tests/cases.
#include <gtest/gtest.h>

#include "core/chapter_list.h"
#include "core/error.h"
#include "core/frame_rate.h"
#include "core/timestamp.h"
#include "support/chapter_times.h"
#include "support/expect_throw_message.h"

namespace markwright {
namespace {

constexpr double kFilm = 24 / 1.001;

using testing::ExpectThrowMessage;
using testing::Ms;

// A time written as text, re-timed and written again.
std::string Retimed(std::string_view timestamp, double input_rate, double output_rate) {
  return FormatTimestamp(RetimeMilliseconds(ParseTimestamp(timestamp), input_rate, output_rate));
}

TEST(FrameRate, ReadsDecimalsAndRatiosAndRefusesAnythingElse) {
  EXPECT_EQ(ParseFrameRate("24000/1001"), 23.976023976023978);
  EXPECT_EQ(ParseFrameRate("24/1.001/5"), 23.976023976023978);  // pieces after the second go
  EXPECT_EQ(ParseFrameRate(" 50 "), 50);
  for (const char* bad : {"", "0", "-5", "1/0", "0/5", "inf", "nan", "abc", "/1001", "24/", "25fps",
                          "2 5", "1e400", "--25"}) {
    EXPECT_THROW(ParseFrameRate(bad), Error) << bad;
  }
  // The window's named rates are the quotients as written, not 60000/1001.
  EXPECT_EQ(NamedRateValue("59.940"), 59.940059940059946);
  EXPECT_EQ(NamedRateValue("29.970"), 29.970029970029973);
  EXPECT_FALSE(NamedRateValue("29.97"));
}

TEST(Timestamp, RetimesToTheNearestMillisecondWithTiesToEven) {
  EXPECT_EQ(Retimed("00:10:00.000", kFilm, 25), "00:09:35.425");
  // 3360 x 25 / (24/1.001) is 3503.4999999999995 in doubles, at 15 digits the tie 3503.5.
  EXPECT_EQ(Retimed("00:00:03.360", 25, kFilm), "00:00:03.504");
  EXPECT_EQ(Retimed("00:00:59.999", 1.00001, 1), "00:01:00.000");  // carried into minutes
  EXPECT_EQ(Retimed("99:59:59.9996", 1, 1), "100:00:08.996");      // fields cut at separators
  EXPECT_EQ(Retimed("1:2:3.4", kFilm, kFilm), "01:02:03.004");
  EXPECT_EQ(Retimed("00:00:00.1234", 25, 25), "00:00:01.234");
  EXPECT_EQ(Retimed("123456789:00:00.000", 25, 25), "123456789:00:00.000");
  EXPECT_EQ(Retimed("0:60:00.000", 1, 1), "01:00:00.000");  // not H:MM:SS.mmm: cut, same value
  EXPECT_EQ(PlainTimestampMilliseconds("123456789:59:59.999"), 444444443999999);
  EXPECT_EQ(PlainTimestampMilliseconds("0:60:00.000"), -1);
  EXPECT_EQ(TimestampToFrame(Ms("00:00:00.060"), 25), 2);  // 1.5 frames
  EXPECT_EQ(TimestampToFrame(Ms("123:04:05.000"), 1), 443045);
  for (const char* bad : {"", "00:00", "00:00:00", "aa:00:00.000", "00:00:00.", "-1:00:00.000",
                          "00: 00:00.000", "00:00:00.0x0", "3000000000:00:00.000"}) {
    EXPECT_THROW(ParseTimestamp(bad), Error) << bad;
  }
  ExpectThrowMessage<ReadError>(
      [] { ParseSourceTimestamp("1:2", "VTS_01_0.IFO"); },
      "VTS_01_0.IFO: malformed timestamp \"1:2\": only one ':' separator");
  EXPECT_THROW(RetimeMilliseconds(1000, 25, 0), Error);
  ExpectThrowMessage<Error>([] { RetimeMilliseconds(Ms("2000000000:00:00.000"), 60, 24); },
                            "re-timing 2000000000:00:00.000 leaves the range of chapter times");
  ExpectThrowMessage<Error>([] { TimestampToFrame(Ms("30000:00:00.000"), 60); },
                            "the frame number of 30000:00:00.000 is out of range");
  EXPECT_THROW(FormatTimestamp(-1), Error);
}

TEST(ChapterList, RetimingKeepsNamesLanguagesAndOrderAndScalesTheLength) {
  const TitleChapters title{{{Ms("00:10:00.000"), "Two", "ger"}, {Ms("00:00:00.000"), "One", ""}},
                            Ms("00:20:00.000")};
  const TitleChapters expected{
      {{Ms("00:09:35.425"), "Two", "ger"}, {Ms("00:00:00.000"), "One", ""}}, Ms("00:19:10.849")};
  EXPECT_EQ(RetimeChapters(title, 24 / 1.001, 25), expected);
  TitleChapters in_place = title;
  RetimeChaptersInPlace(in_place, 24 / 1.001, 25);
  EXPECT_EQ(in_place, expected);
}

}  // namespace
}  // namespace markwright
