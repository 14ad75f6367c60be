#include "writers/format_table.h"

#include <gtest/gtest.h>

#include <string>

namespace markwright {
namespace {

TEST(FormatTable, ListsTheTwelveFormatsInWindowOrder) {
  struct Row {
    const char* display_name;
    const char* key;
    const char* file_name;
    const char* filter;
  };
  const Row expected[] = {
      {"OGG Text File", "OGG", "Chapters.txt", "OGG Text File (*.txt)|*.txt"},
      {"x264 QP Text File", "x264", "Qpfile.txt", "x264 QP Text File (*.txt)|*.txt"},
      {"HC Enc Text File", "HC", "Chapters.txt", "HC Enc Text File (*.txt)|*.txt"},
      {"CCE SP Text File", "CCE", "Chapters.txt", "CCE SP Text File (*.txt)|*.txt"},
      {"Sonic Cinevision CSV File", "Cinevision", "Chapters.csv",
       "Sonic Cinevision CSV File (*.csv)|*.csv"},
      {"Sonic Scenarist CSV File", "Scenarist", "Chapters.csv",
       "Sonic Scenarist CSV File (*.csv)|*.csv"},
      {"Spruce DVD Maestro CHP File", "Maestro", "Chapters.chp",
       "Spruce DVD Maestro CHP File (*.chp)|*.chp"},
      {"tsMuxer Meta File", "tsMuxer", "Chapters.txt", "tsMuxer Meta File (*.txt)|*.txt"},
      {"Timecodes Text File", "Timecodes", "Chapters.txt", "Timecodes Text File (*.txt)|*.txt"},
      {"Celltimes Text File", "Celltimes", "Celltimes.txt", "Celltimes Text (*.txt)|*.txt"},
      {"DVDAuthor Text File", "DVDAuthor", "Chapters.txt", "DVDAuthor Text File (*.txt)|*.txt"},
      {"Muxman", "Muxman", "Chapters.txt", "Muxman Text (*.txt)|*.txt"},
  };
  ASSERT_EQ(kDestinationFormats.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const auto& row = kDestinationFormats[i];
    EXPECT_EQ(row.display_name, expected[i].display_name) << i;
    EXPECT_EQ(row.key, expected[i].key) << i;
    EXPECT_EQ(row.default_file_name, expected[i].file_name) << i;
    EXPECT_EQ(row.filter, expected[i].filter) << i;
    EXPECT_NE(row.writer, nullptr) << i;
  }
}

TEST(FormatTable, FindsKeysInAnyLetterCaseAndDisplayNamesExactly) {
  EXPECT_EQ(FindFormatByKey("ogg"), &kDestinationFormats[0]);
  EXPECT_EQ(FindFormatByKey("Ogg"), &kDestinationFormats[0]);
  EXPECT_EQ(FindFormatByKey("X264"), &kDestinationFormats[1]);
  EXPECT_EQ(FindFormatByKey("dvdauthor"), &kDestinationFormats[10]);
  EXPECT_EQ(FindFormatByKey("MUXMAN"), &kDestinationFormats[11]);
  EXPECT_EQ(FindFormatByKey("x264 QP Text File"), nullptr);
  EXPECT_EQ(FindFormatByKey("og"), nullptr);
  EXPECT_EQ(FindFormatByKey(""), nullptr);

  EXPECT_EQ(FindFormatByDisplayName("Muxman"), &kDestinationFormats[11]);
  EXPECT_EQ(FindFormatByDisplayName("Celltimes Text File"), &kDestinationFormats[9]);
  EXPECT_EQ(FindFormatByDisplayName("ogg text file"), nullptr);
  EXPECT_EQ(FindFormatByDisplayName(""), nullptr);
}

TEST(OggWriter, WritesNumberedChapterAndEmptyNameLines) {
  const auto& ogg = *FindFormatByKey("OGG");
  EXPECT_EQ(BuildFormatText(ogg, {"00:00:00.000", "00:05:10.500"}, 25, "25"),
            "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=\r\n"
            "CHAPTER02=00:05:10.500\r\nCHAPTER02NAME=\r\n");
  EXPECT_EQ(BuildFormatText(ogg, {}, 25, "25"), "");

  ChapterList many(100, "00:00:01.000");
  const std::string text = BuildFormatText(ogg, many, 25, "25");
  EXPECT_NE(text.find("\r\nCHAPTER99NAME=\r\nCHAPTER100=00:00:01.000\r\nCHAPTER100NAME=\r\n"),
            std::string::npos);
  EXPECT_TRUE(text.ends_with("CHAPTER100NAME=\r\n"));
}

}  // namespace
}  // namespace markwright
