#include "readers/ogg_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "core/error.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

ChapterList Parse(std::string_view text) {
  return ParseOggChapters(text, "in.txt");
}

// The message of the ReadError that parsing the text throws.
std::string FailureOf(std::string_view text) {
  try {
    Parse(text);
  } catch (const ReadError& error) {
    return error.what();
  }
  return "(no failure)";
}

TEST(OggReader, ReadsChapterLinesWhateverTheNamesHold) {
  EXPECT_THAT(Parse("CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=Intro. Part 1\r\n"
                    "CHAPTER02=00:05:10.520\r\nchapter02name=a.b.c\r\n"
                    "CHAPTER03=01:02:03.004\r\nCHAPTER03NAME=\r\n"),
              ElementsAre("00:00:00.000", "00:05:10.520", "01:02:03.004"));
}

TEST(OggReader, TakesAnyLineEndAByteOrderMarkAndBlankLines) {
  const ChapterList expected = {"00:00:00.000", "00:10:00.000"};
  EXPECT_EQ(Parse("CHAPTER01=00:00:00.000\nCHAPTER01NAME=x\nCHAPTER02=00:10:00.000\n"), expected);
  EXPECT_EQ(Parse("CHAPTER01=00:00:00.000\rCHAPTER02=00:10:00.000"), expected);
  EXPECT_EQ(Parse("\xEF\xBB\xBF"
                  "CHAPTER01=00:00:00.000\r\n\r\n  \r\nCHAPTER02=00:10:00.000\r\n\r\n"),
            expected);
}

TEST(OggReader, KeepsFileOrderAndDuplicatesAndSkipsOtherKeys) {
  EXPECT_THAT(Parse("TITLE=My.Movie\nCHAPTER02=00:10:00.000\nCHAPTER01=00:00:00.000\n"
                    "CHAPTER03=00:10:00.000\nCHAPTER03NAME=x\nCHAPTER=ignored.too\n"),
              ElementsAre("00:10:00.000", "00:00:00.000", "00:10:00.000"));
  // Numbering is free: a chapter without a name line does not shift the others.
  EXPECT_THAT(Parse("CHAPTER01=00:00:00.000\nCHAPTER02=00:00:05.000\nCHAPTER02NAME=a.b\n"),
              ElementsAre("00:00:00.000", "00:00:05.000"));
}

TEST(OggReader, StoresTimesInCanonicalForm) {
  EXPECT_THAT(Parse("CHAPTER01=0:00:01.5\n"), ElementsAre("00:00:01.500"));
  EXPECT_THAT(Parse("CHAPTER01 = 1:02:03.04 \n"), ElementsAre("01:02:03.040"));
  EXPECT_THAT(Parse("CHAPTER100=123:00:00.000\n"), ElementsAre("123:00:00.000"));
  // Beyond three digits the fraction rounds half to even, carrying into the seconds.
  EXPECT_THAT(Parse("CHAPTER01=00:00:00.0005\nCHAPTER02=00:00:00.0015\n"
                    "CHAPTER03=00:00:00.00151\nCHAPTER04=00:00:59.9996\n"),
              ElementsAre("00:00:00.000", "00:00:00.002", "00:00:00.002", "00:01:00.000"));
}

TEST(OggReader, NamesTheLineAndTheCauseOfAFailure) {
  EXPECT_EQ(FailureOf("CHAPTER01=00:00:00.000\nno equals sign here\n"),
            "in.txt: line 2: expected KEY=VALUE, found \"no equals sign here\"");
  EXPECT_EQ(FailureOf("CHAPTER01=00:00:00.000\r\nCHAPTER02=00:61:00.000\r\n"),
            "in.txt: line 2: expected a time H:MM:SS.fff after CHAPTER02=, found \"00:61:00.000\"");
  for (const char* bad :
       {"CHAPTER01=00:00:00\n", "CHAPTER01=00:0:00.000\n", "CHAPTER01=\n", "CHAPTER01=00:00:00.\n",
        "CHAPTER01=00:00:60.000\n", "CHAPTER01=-1:00:00.000\n", "CHAPTER01=00:00:00.000 x\n"}) {
    EXPECT_THAT(FailureOf(bad), HasSubstr("line 1: expected a time")) << bad;
  }
  EXPECT_EQ(FailureOf(""), "in.txt: no chapters found");
  EXPECT_EQ(FailureOf("TITLE=x\r\n\r\n"), "in.txt: no chapters found");
}

TEST(OggReader, ReadsAFileAndReportsOneThatIsMissing) {
  testing::TempDir folder;
  const auto path = folder.Write("chapters.txt", "CHAPTER01=00:00:07.000\r\n");
  EXPECT_THAT(ReadOggChapters(path), ElementsAre("00:00:07.000"));
  try {
    ReadOggChapters(folder / "missing.txt");
    ADD_FAILURE() << "no failure";
  } catch (const ReadError& error) {
    EXPECT_THAT(error.what(), HasSubstr("missing.txt: cannot open: No such file"));
  }
  EXPECT_THROW(ReadOggChapters(folder.path()), ReadError);
}

}  // namespace
}  // namespace markwright
