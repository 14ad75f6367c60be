#include "readers/hddvd_reader.h"

#include <gtest/gtest.h>

#include "support/chapter_times.h"
#include "support/expect_throw_message.h"
#include "support/playlist_builders.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

using testing::BuildXpl;
using testing::ExpectThrowMessage;

HdDvdPlaylist Decode(std::string_view text) {
  return DecodeHdDvdPlaylist(text, "p.xpl");
}
testing::Times Chapters(std::string_view text, std::int32_t title = 1) {
  return testing::TimesOf(HdDvdTitleChapters(Decode(text), title, "p.xpl"));
}
std::int32_t Chosen(const std::vector<int>& chapter_counts) {
  return ChooseHdDvdTitle(Decode(testing::XplWithTitles(chapter_counts)));
}

TEST(HdDvdPlaylist, OneReadingGivesEveryTitleAndTheChoice) {
  testing::TempDir folder;
  const HdDvdPlaylist playlist = ReadHdDvdPlaylist(folder.Write(
      "VPLST000.XPL", BuildXpl({testing::XplTitleOfChapters(8), {"00:00:01:00"}, {}})));
  ASSERT_EQ(playlist.titles.size(), 3u);
  EXPECT_EQ(playlist.titles[0].chapters.size(), 8u);
  EXPECT_EQ(testing::TimesOf(HdDvdTitleChapters(playlist, 2, "p.xpl")),
            testing::Times{"00:00:01.001"});
  // A title without chapters counts 0 but cannot be loaded.
  ExpectThrowMessage<ReadError>([&] { HdDvdTitleChapters(playlist, 3, "p.xpl"); },
                                "p.xpl: title 3 has no chapters");
  for (const std::int32_t title : {0, 4}) {
    ExpectThrowMessage<ReadError>(
        [&] { HdDvdTitleChapters(playlist, title, "p.xpl"); },
        "p.xpl: there is no title " + std::to_string(title) + " (the playlist has 3)");
  }
  EXPECT_EQ(Chosen({5, 12, 12}), 2);
  EXPECT_EQ(Chosen({12, 5, 20}), 3);
  EXPECT_EQ(Chosen({5, 5, 20}), 3);  // a tie does not end the search
  EXPECT_EQ(Chosen({0, 0}), 1);
  EXPECT_EQ(Chosen({}), 0);
}

TEST(HdDvdPlaylist, MalformedTextsFailWithTheirLine) {
  // Counting takes any titleTimeBegin; loading needs a timecode right after it.
  const std::string bad = BuildXpl({{"00:00:01:00"}, {"00:00:02:00", "x"}});
  EXPECT_EQ(Decode(bad).titles[1].chapters.size(), 2u);
  ExpectThrowMessage<ReadError>([&] { Chapters(bad, 2); },
                                "p.xpl: line 11: expected titleTimeBegin=\"HH:MM:SS:FF\", found "
                                "\"titleTimeBegin=\"x\" />");
  for (const char* timecode : {"00:00:0x:00", "00:00-01:00", "0:00:01:00\""}) {
    ExpectThrowMessage<ReadError>([&] { Chapters(BuildXpl({{timecode}})); }, "line 5: expected");
  }
  for (const char* cut : {"titleTimeBegin=\"00:00:01:0", "titleTimeBegin"}) {
    ExpectThrowMessage<ReadError>(
        [&] { Chapters("<ChapterList>" + std::string(cut) + "</ChapterList>"); }, "expected");
  }
  ExpectThrowMessage<ReadError>([] { Chapters("x"); }, "p.xpl: no chapter list found");
}

}  // namespace
}  // namespace markwright
