#include "readers/hddvd_reader.h"

#include <gtest/gtest.h>

#include "expect_read_error.h"
#include "support/playlist_builders.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

using testing::BuildXpl;
using testing::ExpectReadError;
using testing::XplTitleOfChapters;

std::int32_t Chosen(std::initializer_list<int> chapter_counts) {
  std::vector<testing::XplTitle> titles;
  for (const int count : chapter_counts) titles.push_back(XplTitleOfChapters(count));
  return ChooseHdDvdTitleInText(BuildXpl(titles), "p.xpl");
}

TEST(HdDvdPlaylist, CountsTitlesAndTheirChapters) {
  const std::string text = BuildXpl({XplTitleOfChapters(8), XplTitleOfChapters(1), {}});
  EXPECT_EQ(CountHdDvdTitlesInText(text, "p.xpl"), 3);
  EXPECT_EQ(CountHdDvdChaptersInText(text, "p.xpl", 1), 8);
  EXPECT_EQ(CountHdDvdChaptersInText(text, "p.xpl", 2), 1);
  // A chapter list without any titleTimeBegin has no chapters.
  EXPECT_EQ(CountHdDvdChaptersInText(text, "p.xpl", 3), 0);
  EXPECT_EQ(ParseHdDvdPlaylist(text, "p.xpl", 3), ChapterList{});
  ExpectReadError([&] { return ParseHdDvdPlaylist(text, "p.xpl", 0); }, "p.xpl",
                  "there is no title 0 (the playlist has 3)");
  ExpectReadError([&] { return ParseHdDvdPlaylist(text, "p.xpl", 4); }, "p.xpl", "no title 4");
  EXPECT_THROW(CountHdDvdChaptersInText(text, "p.xpl", 4), ReadError);
}

TEST(HdDvdPlaylist, TheFirstTitleWithTheMostChaptersIsChosen) {
  EXPECT_EQ(Chosen({5, 12, 12}), 2);
  EXPECT_EQ(Chosen({5, 12, 7}), 2);
  EXPECT_EQ(Chosen({12, 5, 20}), 3);
  EXPECT_EQ(Chosen({5, 5, 20}), 3);  // a tie does not end the search
  EXPECT_EQ(Chosen({5, 5}), 1);
  EXPECT_EQ(Chosen({0, 0}), 1);
  EXPECT_EQ(Chosen({}), 0);
}

TEST(HdDvdPlaylist, TimecodesCount60FramesASecondAndAreRetimedTo23976) {
  const std::string text =
      BuildXpl({{"00:00:00:00", "00:00:00:59", "00:00:00:30", "00:00:10:00", "01:02:03:06"}});
  // 983 ms, 500 ms, 10 s and 1:02:03.100, each multiplied by 1.001 (500.5 ms is a tie: 500).
  EXPECT_EQ(ParseHdDvdPlaylist(text, "p.xpl", 1),
            (ChapterList{"00:00:00.000", "00:00:00.984", "00:00:00.500", "00:00:10.010",
                         "01:02:06.823"}));
}

TEST(HdDvdPlaylist, TheSearchIsExactAndCoversTheWholeText) {
  // Short texts are read too: no part of the file is left unexamined.
  const std::string tiny = "<?xml?><ChapterList><C titleTimeBegin=\"00:00:01:00\"/></ChapterList>";
  EXPECT_EQ(ParseHdDvdPlaylist(tiny, "p.xpl", 1), ChapterList{"00:00:01.001"});
  const std::string lower = "<?xml?><chapterlist><C titleTimeBegin=\"00:00:01:00\"/></chapterlist>";
  EXPECT_EQ(CountHdDvdTitlesInText(lower, "p.xpl"), 0);
  EXPECT_EQ(CountHdDvdChaptersInText(lower, "p.xpl", 1), 0);
  EXPECT_EQ(ChooseHdDvdTitleInText(lower, "p.xpl"), 0);
  ExpectReadError([&] { return ParseHdDvdPlaylist(lower, "p.xpl", 0); }, "p.xpl",
                  "no chapter list found");
  const std::string other_case = "<ChapterList><C TitleTimeBegin=\"00:00:01:00\"/></ChapterList>";
  EXPECT_EQ(CountHdDvdChaptersInText(other_case, "p.xpl", 1), 0);
}

TEST(HdDvdPlaylist, MalformedTextsFailWithTheirLine) {
  const std::string spaced =
      "<?xml?>\n<ChapterList>\n<C titleTimeBegin = \"00:00:01:00\"/>\n"
      "</ChapterList>\n";
  EXPECT_EQ(CountHdDvdChaptersInText(spaced, "p.xpl", 1), 1);
  ExpectReadError([&] { return ParseHdDvdPlaylist(spaced, "p.xpl", 1); }, "p.xpl",
                  "line 3: expected titleTimeBegin=\"HH:MM:SS:FF\"");
  const std::string cut = "<ChapterList><C titleTimeBegin=\"00:00:0</ChapterList>";
  ExpectReadError([&] { return ParseHdDvdPlaylist(cut, "p.xpl", 1); }, "p.xpl",
                  "expected titleTimeBegin");
  ExpectReadError([] { return ParseHdDvdPlaylist("<ChapterList>\n", "p.xpl", 1); }, "p.xpl",
                  "line 1: <ChapterList> is never closed");
  ExpectReadError(
      [] { return ParseHdDvdPlaylist("x\n</ChapterList><ChapterList></ChapterList>", "p.xpl", 1); },
      "p.xpl", "line 2: </ChapterList> without a <ChapterList> before it");
  ExpectReadError(
      [] {
        return ParseHdDvdPlaylist("<ChapterList><ChapterList></ChapterList></ChapterList>", "p.xpl",
                                  1);
      },
      "p.xpl", "<ChapterList> inside another chapter list");
  EXPECT_THROW(CountHdDvdTitlesInText("<ChapterList>", "p.xpl"), ReadError);
}

TEST(HdDvdPlaylist, ReadsTheFile) {
  testing::TempDir folder;
  const auto path =
      folder.Write("VPLST000.XPL", BuildXpl({XplTitleOfChapters(2), XplTitleOfChapters(3)}));
  EXPECT_EQ(CountHdDvdTitles(path), 2);
  EXPECT_EQ(CountHdDvdChapters(path, 2), 3);
  EXPECT_EQ(ChooseHdDvdTitle(path), 2);
  EXPECT_EQ(ReadHdDvdPlaylist(path, 2),
            (ChapterList{"00:00:00.000", "00:01:00.060", "00:02:00.120"}));
  const auto empty = folder.Write("EMPTY.XPL", "<?xml version=\"1.0\"?><Playlist/>");
  ExpectReadError([&] { return ReadHdDvdPlaylist(empty, ChooseHdDvdTitle(empty)); }, empty.string(),
                  "no chapter list found");
}

}  // namespace
}  // namespace markwright
