// Shifting a chapter list by a time or by frames, and dropping the chapters too short to keep.
#include <gtest/gtest.h>

#include "core/chapter_edit.h"
#include "support/chapter_times.h"
#include "support/expect_throw_message.h"

namespace markwright::testing {
namespace {

using Chapters = std::vector<Chapter>;

TEST(ShiftChapters, ANegativeShiftPastZeroKeepsTheFirstChapterThere) {
  TitleChapters title{{{Ms("00:00:00.000"), "Logo", "eng"},
                       {Ms("00:00:01.000"), "Intro", ""},
                       {Ms("00:00:02.500"), "Main", "ger"},
                       {Ms("00:00:02.000"), "Back", ""}},
                      Ms("00:00:01.000")};
  EXPECT_EQ(ShiftChapters(title, ParseShift("-00:00:02", 25)),
            (Chapters{{Ms("00:00:01.000"), "Intro", ""}, {Ms("00:00:02.000"), "Back", ""}}));
  EXPECT_EQ(title, (TitleChapters{
                       {{Ms("00:00:00.000"), "Logo", "eng"}, {Ms("00:00:00.500"), "Main", "ger"}},
                       Ms("00:00:00.000")}));
}

TEST(ShiftChapters, TakesEveryFormOfShift) {
  TitleChapters title{{{Ms("00:00:10.010"), "A", ""}}, Ms("00:01:00.000")};
  const auto shift = [&](std::string_view text, double rate) {
    ShiftChapters(title, ParseShift(text, rate));
    return FormatTimestamp(title.chapters[0].start);
  };
  EXPECT_EQ(shift("24f", 24 / 1.001), "00:00:11.011");  // 1001 ms
  EXPECT_EQ(shift("-1f", 24 / 1.001), "00:00:10.969");  // 41.708 ms
  EXPECT_EQ(shift("-12f", 25), "00:00:10.489");
  EXPECT_EQ(shift("+1.5s", 25), "00:00:11.989");
  EXPECT_EQ(shift("1500ms", 25), "00:00:13.489");
  EXPECT_EQ(shift("0:00:01.500", 25), "00:00:14.989");
  EXPECT_EQ(title.length, Ms("00:01:04.979"));
  for (const std::string_view bad : {"", "2", "s", "1,5s", "--2s", "1.5f", "1e3s", "2 s", "0:60:00",
                                     "00:01", "nan", "99999999999999999s"}) {
    ExpectThrowMessage<Refusal>([&] { ParseShift(bad, 25); },
                                "cannot shift by \"" + std::string(bad) + "\": give a time");
  }
}

TEST(DropShortChapters, DropsChaptersTooCloseToTheLastKeptAndTheStubBeforeTheEnd) {
  const Chapter a{Ms("00:00:00.000"), "A", "eng"}, b{Ms("00:00:03.000"), "B", ""},
      c{Ms("00:00:06.000"), "C", ""}, stub{Ms("00:20:00.000"), "Stub", ""};
  TitleChapters title{{a, b, c, stub}, Ms("00:20:02.000")};
  EXPECT_EQ(DropShortChapters(title, 5), (Chapters{b, stub}));
  EXPECT_EQ(title, (TitleChapters{{a, c}, Ms("00:20:02.000")}));
  TitleChapters unknown_length{{a, b, c, stub}, std::nullopt};
  EXPECT_EQ(DropShortChapters(unknown_length, 5), Chapters{b});
  EXPECT_EQ(DropShortChapters(unknown_length, 0), Chapters{});
}

// Edits name chapters by id, so they still reach the right chapter after a drop moved the rows,
// and pass over a chapter that is gone; a failing edit changes nothing.
TEST(ApplyListEdit, FindsChaptersByIdAfterOtherEditsMovedThem) {
  const TitleChapters source{{{0, "A", ""}, {3000, "B", ""}, {10000, "C", ""}, {20000, "D", ""}},
                             30000};
  EditedChapters edited = StartEditing(source, 25, 25);
  ApplyListEdit(ChapterEditRequest{ChapterEditRequest::Kind::kMinLength, "5"}, edited, 25, 25);
  ApplyListEdit(RenameChapters{{3, 1, 0}, {"d", "b", "a"}}, edited, 25, 25);
  ApplyListEdit(AddChapter{4, 15000, "New", "eng"}, edited, 25, 25);
  ApplyListEdit(MoveChapter{0, 25000}, edited, 25, 25);
  ApplyListEdit(SetChapterLanguage{{2, 4}, "fre"}, edited, 25, 25);
  ApplyListEdit(DeleteChapters{{1, 2}}, edited, 25, 25);
  EXPECT_EQ(edited.title.chapters,
            (Chapters{{15000, "New", "fre"}, {20000, "d", ""}, {25000, "a", ""}}));
  EXPECT_EQ(edited.ids, (std::vector<ChapterId>{4, 3, 0}));
  // The later chapter would leave the range: refused before the first one moved.
  EditedChapters far = StartEditing({{{0, "", ""}, {8'500'000'000'000'000, "", ""}}, {}}, 25, 25);
  const EditedChapters before = far;
  EXPECT_THROW(
      ApplyListEdit(ChapterEditRequest{ChapterEditRequest::Kind::kShift, "1000000000000000ms"}, far,
                    25, 25),
      Error);
  EXPECT_EQ(far.title, before.title);
}

TEST(ChapterEditText, TimesFramesNamesAndTemplates) {
  EXPECT_EQ(ParseChapterTime("0:01:30.25", 25), 90250);
  EXPECT_EQ(ParseChapterTime("2158", 24 / 1.001), 90007);  // 90006.917
  EXPECT_EQ(ParseChapterTime("25f", 25), 1000);
  for (const std::string_view bad : {"", "1:30", "-25", "1.5", "0:00:60"}) {
    ExpectThrowMessage<Refusal>([&] { ParseChapterTime(bad, 25); },
                                "cannot put a chapter at \"" + std::string(bad) + "\"");
  }
  // Re-timed back, the source time gives the time typed, or the nearest when none does.
  EXPECT_EQ(RetimeMilliseconds(SourceTimeAt(60000, 24 / 1.001, 25), 24 / 1.001, 25), 60000);
  EXPECT_EQ(SourceTimeAt(2, 3, 1), 1);  // re-timed to 3 ms, the nearest a source time reaches
  EXPECT_EQ(NamesFromLines("\xEF\xBB\xBFOne\r\n\nThree\n"),
            (std::vector<std::string>{"One", "", "Three"}));
  EXPECT_EQ(NameFromTemplate("<NUM:3>. Part <NUM> <NUM:x> <NUM", 7), "007. Part 7 <NUM:x> <NUM");
}

}  // namespace
}  // namespace markwright::testing
