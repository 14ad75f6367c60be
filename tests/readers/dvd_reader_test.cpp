#include "readers/dvd_reader.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "expect_read_error.h"
#include "readers/mediainfo_library.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

using testing::ExpectReadError;

// Answers like libmediainfo's menu stream and remembers which fields were asked for.
class FakeMenu : public ChapterMenu {
 public:
  FakeMenu(std::string begin, std::string end, std::map<std::size_t, std::string> names = {})
      : begin_(std::move(begin)), end_(std::move(end)), names_(std::move(names)) {}

  std::string Parameter(std::string_view name) override {
    if (name == "Chapters_Pos_Begin") return begin_;
    if (name == "Chapters_Pos_End") return end_;
    return "";
  }
  std::string FieldName(std::size_t position) override {
    asked.push_back(position);
    const auto found = names_.find(position);
    return found == names_.end() ? "" : found->second;
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
            (ChapterList{"00:00:00.000", "00:05:00.000", "odd"}));
  EXPECT_EQ(menu.asked.size(), 12u);
  EXPECT_EQ(menu.asked.front(), 100u);
  EXPECT_EQ(menu.asked.back(), 111u);

  // Numbers are the leading part of the text.
  FakeMenu padded(" 94 ", "96 fields", {{94, "00:00:00.000"}, {95, "00:00:01.000"}});
  EXPECT_EQ(CountMenuChapters(padded, "t.IFO"), 2);
  EXPECT_EQ(ReadMenuChapters(padded, "t.IFO"), (ChapterList{"00:00:00.000", "00:00:01.000"}));
}

TEST(DvdChapterMenu, AMenuWithoutChaptersFails) {
  for (const auto& [begin, end] : std::vector<std::pair<std::string, std::string>>{
           {"", ""}, {"94", "94"}, {"94", "94.4"}, {"95", "94"}, {"96", "94"}}) {
    SCOPED_TRACE(begin + " " + end);
    FakeMenu menu(begin, end);
    ExpectReadError([&] { return ReadMenuChapters(menu, "VIDEO_TS.IFO"); }, "VIDEO_TS.IFO",
                    "no chapters found in the title set's chapter menu");
    EXPECT_THROW(CountMenuChapters(menu, "VIDEO_TS.IFO"), ReadError);
  }
  // Answers no DVD could give are refused instead of asking for millions of fields.
  FakeMenu huge("0", "50000000");
  ExpectReadError([&] { return ReadMenuChapters(huge, "x.IFO"); }, "x.IFO", "impossible");
  FakeMenu far("1e300", "1e300");
  ExpectReadError([&] { return ReadMenuChapters(far, "x.IFO"); }, "x.IFO", "no chapters found");
  FakeMenu beyond("94", "99999999999999999999");
  ExpectReadError([&] { return ReadMenuChapters(beyond, "x.IFO"); }, "x.IFO", "impossible");
  EXPECT_TRUE(huge.asked.empty() && beyond.asked.empty());
}

std::filesystem::path Fixture(std::string_view disc, std::string_view file = "VTS_01_0.IFO") {
  return std::filesystem::path(MARKWRIGHT_SOURCE_DIR) / "tests/fixtures/dvd" / disc / "VIDEO_TS" /
         file;
}

// The chapter starts dvdauthor placed on the authored discs (tests/fixtures/make_dvd_fixtures.sh
// prints them); NTSC times are seconds + frames/30 as the disc stores them.
TEST(DvdTitleSet, ReadsAuthoredTitleSetsThroughLibmediainfo) {
  const ChapterList four = {"00:00:00.000", "00:00:05.400", "00:00:12.000", "00:00:30.000"};
  EXPECT_EQ(ReadDvdTitleSet(Fixture("pal_chapters")), four);
  EXPECT_EQ(CountDvdChapters(Fixture("pal_chapters")), 4);
  EXPECT_EQ(ReadDvdTitleSet(Fixture("ntsc_chapters")), four);
  EXPECT_EQ(ReadDvdTitleSet(Fixture("pal_one_chapter")), ChapterList{"00:00:00.000"});
  EXPECT_EQ(CountDvdChapters(Fixture("ntsc_one_chapter")), 1);
  EXPECT_EQ(ReadDvdTitleSet(Fixture("pal_two_title_sets")),
            (ChapterList{"00:00:00.000", "00:00:03.000", "00:00:10.200"}));
  EXPECT_EQ(ReadDvdTitleSet(Fixture("pal_two_title_sets", "VTS_02_0.IFO")),
            (ChapterList{"00:00:00.000", "00:00:19.800"}));
}

TEST(DvdTitleSet, APathOutsideAsciiReachesTheLibrary) {
  testing::TempDir folder;
  const auto path = folder / "Film – Ære/VTS_01_0.IFO";
  std::filesystem::create_directories(path.parent_path());
  std::filesystem::copy_file(Fixture("pal_one_chapter"), path);
  EXPECT_EQ(ReadDvdTitleSet(path), ChapterList{"00:00:00.000"});
}

TEST(DvdTitleSet, FilesWithoutAChapterMenuFail) {
  const auto menu_file = Fixture("pal_chapters", "VIDEO_TS.IFO");
  ExpectReadError([&] { return ReadDvdTitleSet(menu_file); }, menu_file.string(),
                  "no chapters found in the title set's chapter menu");
  EXPECT_THROW(CountDvdChapters(menu_file), ReadError);
  testing::TempDir folder;
  const auto text = folder.Write("VTS_01_0.IFO", "DVDVIDEO-VTS but nothing else");
  ExpectReadError([&] { return ReadDvdTitleSet(text); }, text.string(), "no chapters found");
  const auto missing = folder / "VTS_09_0.IFO";
  ExpectReadError([&] { return ReadDvdTitleSet(missing); }, missing.string(), "no chapters found");
}

TEST(DvdTitleSet, ALibraryThatCannotBeLoadedIsAClearError) {
  try {
    MediaInfoLibrary library("libmediainfo-not-installed.so.0");
    FAIL() << "a library that does not exist was loaded";
  } catch (const Error& error) {
    EXPECT_TRUE(std::string(error.what()).starts_with("libmediainfo could not be loaded"))
        << error.what();
  }
  // A library without the functions is refused too.
  EXPECT_THROW(MediaInfoLibrary("libc.so.6"), Error);
}

}  // namespace
}  // namespace markwright
