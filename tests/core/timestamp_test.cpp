#include "core/timestamp.h"

#include <gtest/gtest.h>

#include "core/chapter_list.h"
#include "core/error.h"

namespace markwright {
namespace {

constexpr double kFilm = 24 / 1.001;

TEST(TimestampToFrame, RoundsHalfToEven) {
  EXPECT_EQ(TimestampToFrame("00:00:01.000", 25), 25);
  EXPECT_EQ(TimestampToFrame("00:00:00.500", 25), 12);  // 12.5
  EXPECT_EQ(TimestampToFrame("00:00:00.060", 25), 2);   // 1.5
  EXPECT_EQ(TimestampToFrame("00:00:00.020", 25), 0);   // 0.5
  EXPECT_EQ(TimestampToFrame("00:00:10.000", kFilm), 240);
  EXPECT_EQ(TimestampToFrame("00:00:10.520", kFilm), 252);
}

TEST(TimestampToFrame, ReadsFieldsBySeparatorsSoLongHoursCount) {
  // 100 hours at 25 fps: 9,000,000 frames. Fixed character positions would read "10" hours.
  EXPECT_EQ(TimestampToFrame("100:00:00.000", 25), 9'000'000);
  EXPECT_EQ(TimestampToFrame("123:04:05.000", 1), 123 * 3600 + 4 * 60 + 5);
}

TEST(TimestampToFrame, RefusesWhatItCannotRepresent) {
  EXPECT_THROW(TimestampToFrame("30000:00:00.000", 60), Error);  // beyond 32-bit frames
  EXPECT_THROW(TimestampToFrame("00:00:00", 25), Error);
  EXPECT_THROW(TimestampToFrame("", 25), Error);
}

TEST(RetimeTimestamp, MovesAChapterToTheTimeOfItsFrame) {
  EXPECT_EQ(RetimeTimestamp("00:10:00.000", kFilm, 25), "00:09:35.425");
  EXPECT_EQ(RetimeTimestamp("00:10:00.000", 25, kFilm), "00:10:25.625");
  EXPECT_EQ(RetimeTimestamp("00:00:01.000", kFilm, 25), "00:00:00.959");
}

TEST(RetimeTimestamp, DropsLastBitNoiseBeforeRoundingHalfToEven) {
  // 3360 x 25 / (24/1.001) is 3503.4999999999995 in doubles; at 15 digits it is the tie 3503.5,
  // which goes to the even 3504.
  EXPECT_EQ(RetimeTimestamp("00:00:03.360", 25, kFilm), "00:00:03.504");
  // Equal rates give the time back exactly, in canonical form.
  EXPECT_EQ(RetimeTimestamp("1:2:3.4", kFilm, kFilm), "01:02:03.004");
  EXPECT_EQ(RetimeTimestamp("00:00:00.1234", 25, 25), "00:00:01.234");
}

TEST(RetimeTimestamp, CarriesARoundedMillisecondIntoEveryField) {
  // 59999 x 1.00001 = 59999.59999 ms rounds to a whole minute.
  EXPECT_EQ(RetimeTimestamp("00:00:59.999", 1.00001, 1), "00:01:00.000");
  EXPECT_EQ(RetimeTimestamp("99:59:59.9996", 1, 1), "100:00:08.996");  // 9996 ms
  EXPECT_EQ(RetimeTimestamp("100:00:00.000", 25, 25), "100:00:00.000");
}

TEST(RetimeTimestamp, RefusesMalformedTextAndAZeroOutputRate) {
  for (const char* bad : {"", "00:00", "00:00:00", "aa:00:00.000", "00:00:00.", "-1:00:00.000",
                          "00: 00:00.000", "00:00:00.0x0"}) {
    EXPECT_THROW(RetimeTimestamp(bad, 25, 25), Error) << bad;
  }
  EXPECT_THROW(RetimeTimestamp("00:00:01.000", 25, 0), Error);
}

TEST(RetimeChapters, KeepsOrderAndDuplicatesAndLeavesTheInputAlone) {
  const ChapterList chapters = {"00:10:00.000", "00:00:00.000", "00:10:00.000"};
  EXPECT_EQ(RetimeChapters(chapters, kFilm, 25),
            (ChapterList{"00:09:35.425", "00:00:00.000", "00:09:35.425"}));
  EXPECT_EQ(chapters[0], "00:10:00.000");
  EXPECT_TRUE(RetimeChapters({}, kFilm, 25).empty());
}

}  // namespace
}  // namespace markwright
