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

}  // namespace
}  // namespace markwright::testing
