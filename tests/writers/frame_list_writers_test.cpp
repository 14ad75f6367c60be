#include "writers/frame_list_writers.h"

#include <gtest/gtest.h>

#include "core/frame_rate.h"

namespace markwright {
namespace {

// Frames 0, 263 and 500 at 25 fps.
const ChapterList kChapters = {"00:00:00.000", "00:00:10.520", "00:00:20.000"};

TEST(FrameListWriters, WriteOneValuePerChapter) {
  EXPECT_EQ(WriteX264QpText(kChapters, 25, "25"), "0 I\r\n263 I\r\n500 I\r\n");
  EXPECT_EQ(WriteHcEncText(kChapters, 25, "25"), "*CHAPTER          3\r\n0\r\n263\r\n500\r\n");
  EXPECT_EQ(WriteCelltimesText(kChapters, 25, "25"), "263\r\n500\r\n");
  EXPECT_EQ(WriteMuxmanText(kChapters, 25, "25"), "0\r\n263\r\n500\r\n");
  EXPECT_EQ(WriteTsMuxerText(kChapters, 25, "25"),
            "--custom-chapters=00:00:00.000;00:00:10.520;00:00:20.000");
  EXPECT_EQ(WriteTimecodesText(kChapters, 25, "25"),
            "00:00:00.000\r\n00:00:10.520\r\n00:00:20.000\r\n");
}

TEST(FrameListWriters, WriteOnlyTheirFixedPartsForNoChapters) {
  const ChapterList none;
  EXPECT_EQ(WriteX264QpText(none, 25, "25"), "");
  EXPECT_EQ(WriteHcEncText(none, 25, "25"), "*CHAPTER          0\r\n");
  EXPECT_EQ(WriteCelltimesText(none, 25, "25"), "");
  EXPECT_EQ(WriteMuxmanText(none, 25, "25"), "");
  EXPECT_EQ(WriteTsMuxerText(none, 25, "25"), "--custom-chapters=");
  EXPECT_EQ(WriteTimecodesText(none, 25, "25"), "");
}

TEST(FrameListWriters, CelltimesLeavesOutTheFirstChapterWhateverItsTime) {
  const ChapterList one = {"00:00:04.000"};
  EXPECT_EQ(WriteCelltimesText(one, 25, "25"), "");
  EXPECT_EQ(WriteHcEncText(one, 25, "25"), "*CHAPTER          1\r\n100\r\n");
  EXPECT_EQ(WriteCelltimesText({"00:00:04.000", "00:00:02.000"}, 25, "25"), "50\r\n");
}

TEST(FrameListWriters, CountFramesAtTheOutputRateAndKeepDuplicates) {
  const ChapterList twice = {"00:00:10.520", "00:00:10.520"};
  EXPECT_EQ(WriteMuxmanText(twice, kDefaultFrameRate, "23.976"), "252\r\n252\r\n");
  EXPECT_EQ(WriteX264QpText(twice, 50, "23.976"), "526 I\r\n526 I\r\n");
  EXPECT_EQ(WriteTsMuxerText(twice, 50, "23.976"), "--custom-chapters=00:00:10.520;00:00:10.520");
}

}  // namespace
}  // namespace markwright
