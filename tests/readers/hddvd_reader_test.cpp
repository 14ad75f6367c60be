#include "readers/hddvd_reader.h"

#include <gtest/gtest.h>

#include "support/expect_throw_message.h"
#include "support/playlist_builders.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

using testing::BuildXpl;
using testing::ExpectThrowMessage;
using testing::XplTitleOfChapters;

HdDvdPlaylist Decode(std::string_view text) {
  return DecodeHdDvdPlaylist(text, "p.xpl");
}
ChapterList Chapters(std::string_view text, std::int32_t title) {
  return HdDvdTitleChapters(Decode(text), title, "p.xpl");
}

std::int32_t Chosen(const std::vector<int>& chapter_counts) {
  return ChooseHdDvdTitle(Decode(testing::XplWithTitles(chapter_counts)));
}

TEST(HdDvdPlaylist, OneDecodingGivesEveryTitleWithItsChapters) {
  const HdDvdPlaylist playlist = Decode(BuildXpl({XplTitleOfChapters(8), {"00:00:01:00"}, {}}));
  ASSERT_EQ(playlist.titles.size(), 3u);
  EXPECT_EQ(playlist.titles[0].chapters.size(), 8u);
  EXPECT_EQ(HdDvdTitleChapters(playlist, 2, "p.xpl"), ChapterList{"00:00:01.001"});
  EXPECT_EQ(HdDvdTitleChapters(playlist, 3, "p.xpl"), ChapterList{});
  for (const std::int32_t title : {0, 4}) {
    ExpectThrowMessage<ReadError>(
        [&] { HdDvdTitleChapters(playlist, title, "p.xpl"); },
        "p.xpl: there is no title " + std::to_string(title) + " (the playlist has 3)");
  }
}

TEST(HdDvdPlaylist, TheFirstTitleWithTheMostChaptersIsChosen) {
  EXPECT_EQ(Chosen({5, 12, 12}), 2);
  EXPECT_EQ(Chosen({12, 5, 20}), 3);
  EXPECT_EQ(Chosen({5, 5, 20}), 3);  // a tie does not end the search
  EXPECT_EQ(Chosen({0, 0}), 1);
  EXPECT_EQ(Chosen({}), 0);
}

TEST(HdDvdPlaylist, TimecodesCount60FramesASecondAndAreStretchedBy1001) {
  // 983 ms, 500 ms, 10 s and 1:02:03.100 before stretching (500.5 ms is a tie: 500).
  EXPECT_EQ(
      Chapters(
          BuildXpl({{"00:00:00:00", "00:00:00:59", "00:00:00:30", "00:00:10:00", "01:02:03:06"}}),
          1),
      (ChapterList{"00:00:00.000", "00:00:00.984", "00:00:00.500", "00:00:10.010",
                   "01:02:06.823"}));
}

TEST(HdDvdPlaylist, TheSearchIsExactAndCoversTheWholeText) {
  EXPECT_EQ(Chapters("<ChapterList><C titleTimeBegin=\"00:00:01:00\"/></ChapterList>", 1),
            ChapterList{"00:00:01.001"});
  const std::string lower = "<?xml?><chapterlist><C titleTimeBegin=\"00:00:01:00\"/></chapterlist>";
  EXPECT_TRUE(Decode(lower).titles.empty());
  ExpectThrowMessage<ReadError>([&] { Chapters(lower, 0); }, "p.xpl: no chapter list found");
  EXPECT_TRUE(Decode("<ChapterList><C TitleTimeBegin=\"00:00:01:00\"/></ChapterList>")
                  .titles[0]
                  .chapters.empty());
}

TEST(HdDvdPlaylist, MalformedTextsFailWithTheirLine) {
  // Counting takes any titleTimeBegin; loading needs its timecode right after ="
  const std::string bad = BuildXpl({{"00:00:01:00"}, {"00:00:02:00", "x"}});
  EXPECT_EQ(Decode(bad).titles[1].chapters.size(), 2u);
  ExpectThrowMessage<ReadError>(
      [&] { Chapters(bad, 2); },
      "p.xpl: line 11: expected titleTimeBegin=\"HH:MM:SS:FF\", found \"titleTimeBegin=\"x\" />");
  for (const char* timecode : {"00:00:0x:00", "00:00-01:00", "0:00:01:00\""}) {
    ExpectThrowMessage<ReadError>([&] { Chapters(BuildXpl({{timecode}}), 1); }, "line 5: expected");
  }
  for (const char* cut : {"titleTimeBegin=\"00:00:01:0", "titleTimeBegin"}) {
    ExpectThrowMessage<ReadError>(
        [&] { Chapters("<ChapterList>" + std::string(cut) + "</ChapterList>", 1); },
        "line 1: expected");
  }
  ExpectThrowMessage<ReadError>([] { Decode("<ChapterList>\n"); },
                                "line 1: <ChapterList> is never closed");
  ExpectThrowMessage<ReadError>([] { Decode("x\n</ChapterList><ChapterList></ChapterList>"); },
                                "line 2: </ChapterList> without a <ChapterList> before it");
  ExpectThrowMessage<ReadError>(
      [] { Decode("<ChapterList>\n<ChapterList></ChapterList></ChapterList>"); },
      "line 2: <ChapterList> inside another chapter list");
  // A last chapter list that is never closed is left alone once one has been read.
  EXPECT_EQ(Decode("<ChapterList></ChapterList><ChapterList>").titles.size(), 1u);
}

TEST(HdDvdPlaylist, ReadsTheFileOnce) {
  testing::TempDir folder;
  const HdDvdPlaylist playlist = ReadHdDvdPlaylist(
      folder.Write("VPLST000.XPL", BuildXpl({XplTitleOfChapters(2), XplTitleOfChapters(3)})));
  EXPECT_EQ(ChooseHdDvdTitle(playlist), 2);
  EXPECT_EQ(HdDvdTitleChapters(playlist, 2, "p.xpl"),
            (ChapterList{"00:00:00.000", "00:01:00.060", "00:02:00.120"}));
  ExpectThrowMessage<ReadError>([&] { ReadHdDvdPlaylist(folder / "none.xpl"); },
                                (folder / "none.xpl").string() + ": cannot open");
}

}  // namespace
}  // namespace markwright
