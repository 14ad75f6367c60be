#include "readers/dvd_reader.h"

#include <gtest/gtest.h>

#include <clocale>
#include <map>

#include "readers/mediainfo_library.h"
#include "support/chapter_times.h"
#include "support/expect_throw_message.h"
#include "support/mediainfo_child_program.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

using testing::ExpectThrowMessage;

// Answers like libmediainfo's menu stream and remembers which fields were asked for.
class FakeMenu : public ChapterMenu {
 public:
  FakeMenu(std::string begin, std::string end, std::map<std::size_t, std::string> names = {})
      : begin_(std::move(begin)), end_(std::move(end)), names_(std::move(names)) {}
  std::string Parameter(std::string_view name) override {
    return name == "Chapters_Pos_Begin" ? begin_ : name == "Chapters_Pos_End" ? end_ : "";
  }
  std::string FieldName(std::size_t position) override {
    asked.push_back(position);
    return names_.contains(position) ? names_[position] : "";
  }
  std::vector<std::size_t> asked;

 private:
  std::string begin_, end_;
  std::map<std::size_t, std::string> names_;
};

TEST(DvdChapterMenu, FieldsFromBeginToEndAreTheChapters) {
  FakeMenu menu("100", "112", {{100, "00:00:00.000"}, {101, "00:05:00.000"}, {111, "odd"}});
  EXPECT_EQ(CountMenuChapters(menu, "VTS_01_0.IFO"), 12);
  // Empty names are skipped; the others are taken as the library gives them.
  EXPECT_EQ(ReadMenuChapters(menu, "VTS_01_0.IFO"),
            (testing::Times{"00:00:00.000", "00:05:00.000", "odd"}));
  EXPECT_EQ(menu.asked.size(), 12u);
  // Numbers are the leading part of the text.
  FakeMenu padded(" 94 ", "96 fields", {{94, "00:00:00.000"}, {95, "00:00:01.000"}});
  EXPECT_EQ(CountMenuChapters(padded, "t.IFO"), 2);
  EXPECT_EQ(ReadMenuChapters(padded, "t.IFO"), (testing::Times{"00:00:00.000", "00:00:01.000"}));
}

TEST(DvdChapterMenu, AMenuWithoutChaptersFails) {
  for (const auto& [begin, end] : std::map<std::string, std::string>{{"", ""},
                                                                     {"94", "94"},
                                                                     {"94.0", "94.4"},
                                                                     {"95", "94"},
                                                                     {"96", "94"},
                                                                     {"1e300", "1e300"}}) {
    FakeMenu menu(begin, end);
    ExpectThrowMessage<ReadError>([&] { ReadMenuChapters(menu, "V.IFO"); },
                                  "V.IFO: no chapters found in the title set's chapter menu");
    EXPECT_THROW(CountMenuChapters(menu, "V.IFO"), ReadError) << begin << " " << end;
  }
  // Answers no DVD could give are refused instead of asking for millions of fields.
  // A position of 10^9 is still a position; the count it gives is what is refused.
  FakeMenu huge("0", "50000000"), beyond("94", "99999999999999999999");
  FakeMenu first_at_limit("1000000000", "94"), last_at_limit("94", "1000000000");
  for (FakeMenu* menu : {&huge, &first_at_limit, &last_at_limit}) {
    ExpectThrowMessage<ReadError>([&] { ReadMenuChapters(*menu, "x.IFO"); }, "impossible number");
    EXPECT_TRUE(menu->asked.empty());
  }
  ExpectThrowMessage<ReadError>([&] { ReadMenuChapters(beyond, "x.IFO"); }, "impossible field");
  EXPECT_TRUE(beyond.asked.empty());
}

// An NTSC disc counts 30 frames a second; each lasts 1001/30 ms.
TEST(DvdChapterMenu, NtscTimesAreTheFrameCountInRealTime) {
  // 108,000 frames: 3.6 s later than the count read as seconds.
  EXPECT_EQ(NtscChapterTime("01:00:00.000"), "01:00:03.600");
  // Frames 2 and 29: the library cuts frames / 30 to whole ms.
  EXPECT_EQ(NtscChapterTime("00:00:00.066"), "00:00:00.067");
  EXPECT_EQ(NtscChapterTime("10:00:00.966"), "10:00:36.968");
  // 15 and 45 frames: 500.5 and 1501.5 ms, to the even millisecond.
  EXPECT_EQ(NtscChapterTime("00:00:00.500"), "00:00:00.500");
  EXPECT_EQ(NtscChapterTime("00:00:01.500"), "00:00:01.502");
  EXPECT_EQ(NtscChapterTime("odd"), "odd");
  EXPECT_EQ(NtscChapterTime("ab:cd:ef.ghi"), "ab:cd:ef.ghi");  // shaped like a time, no digits
}

std::filesystem::path Fixture(std::string_view disc, std::string_view file = "VTS_01_0.IFO") {
  return std::filesystem::path(MARKWRIGHT_SOURCE_DIR) / "tests/fixtures/dvd" / disc / "VIDEO_TS" /
         file;
}

// The chapter starts dvdauthor reports for the discs tests/fixtures/make_dvd_fixtures.sh makes.
TEST(DvdTitleSet, ReadsAuthoredTitleSetsThroughLibmediainfo) {
  EXPECT_EQ(testing::TimesOf(ReadDvdTitleSet(Fixture("pal_chapters"))),
            (testing::Times{"00:00:00.000", "00:00:05.400", "00:00:12.000", "00:00:30.000"}));
  EXPECT_EQ(CountDvdChapters(Fixture("pal_chapters")), 4);
  EXPECT_EQ(testing::TimesOf(ReadDvdTitleSet(Fixture("ntsc_chapters"))),
            (testing::Times{"00:00:00.000", "00:00:05.405", "00:00:12.012", "00:00:30.030"}));
  EXPECT_EQ(CountDvdChapters(Fixture("ntsc_one_chapter")), 1);
  EXPECT_EQ(testing::TimesOf(ReadDvdTitleSet(Fixture("pal_two_title_sets", "VTS_02_0.IFO"))),
            (testing::Times{"00:00:00.000", "00:00:19.800"}));
  // The library's locale is the reading child's own.
  EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), "C");

  testing::TempDir folder;
  const auto path = folder / "Film – Ære/VTS_01_0.IFO";
  std::filesystem::create_directories(path.parent_path());
  std::filesystem::copy_file(Fixture("pal_one_chapter"), path);
  EXPECT_EQ(testing::TimesOf(ReadDvdTitleSet(path)), testing::Times{"00:00:00.000"});
}

// A value the library hands over is checked where it is read, and blamed on the title set.
TEST(DvdTitleSet, ChapterTimesThatAreNoTimestampsFail) {
  MediaInfoAnswer answer{{}, {"NTSC", ""}, "94", "96", 94, {"01:00:00.000", ""}, {}, {}};
  EXPECT_EQ(testing::TimesOf(DvdTitle(answer, "V.IFO")), testing::Times{"01:00:03.600"});
  answer.field_names[1] = "0";
  ExpectThrowMessage<ReadError>([&] { DvdTitle(answer, "V.IFO"); },
                                "V.IFO: chapter 2: libmediainfo gave no time but \"0\"");
}

TEST(DvdTitleSet, FilesWithoutAChapterMenuFail) {
  testing::TempDir folder;
  for (const auto& path : {Fixture("pal_chapters", "VIDEO_TS.IFO"), folder / "VTS_09_0.IFO",
                           folder.Write("VTS_01_0.IFO", "DVDVIDEO-VTS but nothing else")}) {
    ExpectThrowMessage<ReadError>([&] { ReadDvdTitleSet(path); },
                                  path.string() + ": no chapters found in the title set's");
    EXPECT_THROW(CountDvdChapters(path), ReadError);
  }
  ExpectThrowMessage([] { MediaInfoLibrary("libmediainfo-not-installed.so.0"); },
                     "libmediainfo could not be loaded");
  EXPECT_THROW(MediaInfoLibrary("libc.so.6"), Error);  // without the functions
}

}  // namespace
}  // namespace markwright
