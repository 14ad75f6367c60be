#include "readers/ogg_reader.h"

#include <gtest/gtest.h>

#include "support/expect_throw_message.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

using testing::ExpectThrowMessage;

ChapterList Parse(std::string_view text) {
  return ParseOggChapters(text, "in.txt");
}

TEST(OggReader, ReadsChapterLinesInFileOrderWhateverElseTheTextHolds) {
  EXPECT_EQ(Parse("TITLE=My.Movie\r\nCHAPTER02=00:10:00.000\r\nCHAPTER02NAME=Intro. Part 1\r\n"
                  "chapter01=00:00:00.000\r\nchapter01name=a.b.c\r\nCHAPTER03=01:02:03.004\r\n"
                  "CHAPTER03NAME=\r\nCHAPTER=ignored.too\r\nCHAPTER04=01:02:03.004\r\n"),
            (ChapterList{"00:10:00.000", "00:00:00.000", "01:02:03.004", "01:02:03.004"}));
  const ChapterList two = {"00:00:00.000", "00:10:00.000"};
  for (const char* text : {"CHAPTER01=00:00:00.000\nCHAPTER01NAME=x\nCHAPTER02=00:10:00.000\n",
                           "CHAPTER01=00:00:00.000\rCHAPTER02=00:10:00.000",
                           "\xEF\xBB\xBF"
                           "CHAPTER01=00:00:00.000\r\n\r\n  \r\nCHAPTER02=00:10:00.000\r\n"}) {
    EXPECT_EQ(Parse(text), two) << text;
  }
}

TEST(OggReader, StoresTimesInCanonicalForm) {
  EXPECT_EQ(Parse("CHAPTER01=0:00:01.5\nCHAPTER02 = 1:02:03.04 \nCHAPTER100=123:00:00.000\n"),
            (ChapterList{"00:00:01.500", "01:02:03.040", "123:00:00.000"}));
  // Beyond three digits the fraction rounds half to even, carrying into the seconds.
  EXPECT_EQ(Parse("CHAPTER01=00:00:00.0005\nCHAPTER02=00:00:00.0015\n"
                  "CHAPTER03=00:00:00.00151\nCHAPTER04=00:00:59.9996\n"),
            (ChapterList{"00:00:00.000", "00:00:00.002", "00:00:00.002", "00:01:00.000"}));
}

TEST(OggReader, NamesTheFileTheLineAndTheCauseOfAFailure) {
  ExpectThrowMessage<ReadError>(
      [] { Parse("CHAPTER01=00:00:00.000\nno equals sign here\n"); },
      "in.txt: line 2: expected KEY=VALUE, found \"no equals sign here\"");
  ExpectThrowMessage<ReadError>(
      [] { Parse("CHAPTER01=00:00:00.000\r\nCHAPTER02=00:61:00.000\r\n"); },
      "in.txt: line 2: expected a time H:MM:SS.fff after CHAPTER02=, found \"00:61:00.000\"");
  for (const char* bad :
       {"CHAPTER01=00:00:00\n", "CHAPTER01=00:0:00.000\n", "CHAPTER01=\n", "CHAPTER01=00:00:00.\n",
        "CHAPTER01=00:00:60.000\n", "CHAPTER01=-1:00:00.000\n", "CHAPTER01=00:00:00.000 x\n"}) {
    ExpectThrowMessage<ReadError>([&] { Parse(bad); }, "line 1: expected a time");
  }
  for (const char* none : {"", "TITLE=x\r\n\r\n"}) {
    ExpectThrowMessage<ReadError>([&] { Parse(none); }, "in.txt: no chapters found");
  }
  testing::TempDir folder;
  EXPECT_EQ(ReadOggChapters(folder.Write("c.txt", "CHAPTER01=00:00:07.000\r\n")),
            ChapterList{"00:00:07.000"});
  ExpectThrowMessage<ReadError>([&] { ReadOggChapters(folder / "missing.txt"); },
                                (folder / "missing.txt").string() + ": cannot open: No such file");
  EXPECT_THROW(ReadOggChapters(folder.path()), ReadError);
}

}  // namespace
}  // namespace markwright
