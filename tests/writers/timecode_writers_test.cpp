#include "writers/timecode_writers.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/frame_rate.h"

namespace markwright {
namespace {

// Frame fields at 25 fps: 0, 12 and 24 rounded down; 0, 13 and 25 (a whole second) rounded.
const ChapterList kChapters = {"00:00:00.000", "00:05:10.520", "00:20:00.981"};

TEST(TimecodeWriters, WriteOneTimecodePerChapter) {
  EXPECT_EQ(WriteCceSpText(kChapters, 25, "25"),
            "%Frame Rate\t3,0\r\n00:00:00:00\r\n00:05:10:13\r\n00:20:01:00\r\n");
  EXPECT_EQ(WriteCinevisionText(kChapters, 25, "25"),
            "00:00:00:00\r\n00:05:10:12\r\n00:20:00:24\r\n");
  EXPECT_EQ(WriteScenaristText(kChapters, 25, "25"),
            "25\r\nNonDrop\r\n00:00:00:00\r\n00:05:10:12\r\n00:20:00:24\r\n");
  EXPECT_EQ(WriteMaestroText(kChapters, 25, "25"),
            "$Spruce_IFrame_List\r\n00:00:00:00\r\n00:05:10:12\r\n00:20:00:24\r\n");
  EXPECT_EQ(WriteDvdAuthorText(kChapters, 25, "25"),
            "chapters=\"00:00:00.000,00:05:10.520,00:20:00.981\"");
}

TEST(TimecodeWriters, WriteOnlyTheirHeadersForNoChapters) {
  const ChapterList none;
  EXPECT_EQ(WriteCceSpText(none, 25, "29.970"), "%Frame Rate\t4,0\r\n");
  EXPECT_EQ(WriteCinevisionText(none, 25, "25"), "");
  EXPECT_EQ(WriteScenaristText(none, 25, "25"), "25\r\nNonDrop\r\n");
  EXPECT_EQ(WriteMaestroText(none, 25, "25"), "$Spruce_IFrame_List\r\n");
  EXPECT_EQ(WriteDvdAuthorText(none, 25, "25"), "chapters=\"\"");
  EXPECT_EQ(WriteDvdAuthorText({"00:00:06.960"}, 25, "25"), "chapters=\"00:00:06.960\"");
}

TEST(TimecodeWriters, TakeTheFrameFieldFromTheMillisecondsAlone) {
  EXPECT_EQ(WriteCinevisionText({"00:00:07.000"}, 30, ""), "00:00:07:00\r\n");
  // 999 ms: 29.97 at 30 fps and 29.94 at 29.97 fps.
  EXPECT_EQ(WriteCinevisionText({"00:00:07.999"}, 30, ""), "00:00:07:29\r\n");
  EXPECT_EQ(WriteCinevisionText({"00:00:07.999"}, 30 / 1.001, ""), "00:00:07:29\r\n");
  // 500 ms at 24/1.001: 11.99, not 12: the divisor is 1000.1.
  EXPECT_EQ(WriteMaestroText({"00:00:00.500"}, kDefaultFrameRate, ""),
            "$Spruce_IFrame_List\r\n00:00:00:11\r\n");
  EXPECT_EQ(WriteCceSpText({"00:00:00.500"}, kDefaultFrameRate, "23.976"),
            "%Frame Rate\t1,0\r\n00:00:00:12\r\n");
  // Three digits once the field reaches 100.
  EXPECT_EQ(WriteCinevisionText({"00:00:00.900"}, 120, ""), "00:00:00:107\r\n");
}

TEST(TimecodeWriters, WriteHoursFromHundredOnWhole) {
  EXPECT_EQ(WriteCinevisionText({"123:04:05.480"}, 25, ""), "123:04:05:11\r\n");
  EXPECT_EQ(WriteCceSpText({"123:04:05.480"}, 25, "25"), "%Frame Rate\t3,0\r\n123:04:05:12\r\n");
}

TEST(CceSpText, CarriesAFieldThatReachesTheNominalRateIntoTheNextSecond) {
  const auto timecode = [](std::string timestamp, double output_rate) {
    return WriteCceSpText({timestamp}, output_rate, "25").substr(sizeof "%Frame Rate\t3,0\r\n" - 1);
  };
  EXPECT_EQ(timecode("00:00:07.999", 30), "00:00:08:00\r\n");
  EXPECT_EQ(timecode("00:00:07.999", 30 / 1.001), "00:00:08:00\r\n");
  EXPECT_EQ(timecode("00:00:59.990", kDefaultFrameRate), "00:01:00:00\r\n");
  EXPECT_EQ(timecode("00:59:59.981", 25), "01:00:00:00\r\n");
  EXPECT_EQ(timecode("99:59:59.999", 25), "100:00:00:00\r\n");
  EXPECT_EQ(timecode("00:00:00.999", 60 / 1.001), "00:00:01:00\r\n");
  // 23.99 rounds to 24, one below the nominal 25: no carry.
  EXPECT_EQ(timecode("00:00:00.960", 25), "00:00:00:24\r\n");
}

TEST(CceSpText, CodesTheInputRateByItsWholePart) {
  const auto header = [](std::string_view input_rate_text) {
    return WriteCceSpText({}, 25, input_rate_text);
  };
  // Window labels and the command line's normalised decimals alike.
  EXPECT_EQ(header("23.976"), "%Frame Rate\t1,0\r\n");
  EXPECT_EQ(header("23.976023976024"), "%Frame Rate\t1,0\r\n");
  EXPECT_EQ(header("23"), "%Frame Rate\t1,0\r\n");
  EXPECT_EQ(header("24"), "%Frame Rate\t2,0\r\n");
  EXPECT_EQ(header("25.9"), "%Frame Rate\t3,0\r\n");
  EXPECT_EQ(header("29.970"), "%Frame Rate\t4,0\r\n");
  EXPECT_EQ(header("29.97002997003"), "%Frame Rate\t4,0\r\n");
  EXPECT_EQ(header("30.5"), "%Frame Rate\t5,0\r\n");
  for (const std::string_view refused :
       {"22.999", "26", "28.9", "31", "50", "59.940", "60", "", "twenty-five"}) {
    SCOPED_TRACE(refused);
    try {
      header(refused);
      ADD_FAILURE() << "no refusal";
    } catch (const Refusal& refusal) {
      EXPECT_STREQ(refusal.what(), "Frame rate is not allowed!, use from 23.976-30.000");
    }
  }
}

TEST(ScenaristText, HeadsWithTheInputRateTextAsGiven) {
  EXPECT_EQ(WriteScenaristText({}, 25, "59.940"), "59.940\r\nNonDrop\r\n");
  EXPECT_EQ(WriteScenaristText({}, 25, "23.976023976024"), "23.976023976024\r\nNonDrop\r\n");
}

TEST(TimecodeWriters, RejectATimestampWithoutMilliseconds) {
  EXPECT_THROW(WriteCinevisionText({"00:00:07"}, 25, ""), Error);
  EXPECT_THROW(WriteCceSpText({"00:00:07.9x9"}, 25, "25"), Error);
}

}  // namespace
}  // namespace markwright
