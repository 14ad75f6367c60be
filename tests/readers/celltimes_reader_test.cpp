#include "readers/celltimes_reader.h"

#include <gtest/gtest.h>

#include "support/expect_throw_message.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

using testing::ExpectThrowMessage;

ChapterList Parse(std::string_view text, double rate = 24 / 1.001) {
  return ParseCelltimes(text, "cells.txt", rate);
}

TEST(Celltimes, FramesBecomeTimesAtTheInputRate) {
  // Frame 36 is 1.5014999999999998 s, 1.5015 at 15 digits: a tie that goes to the even 502 ms.
  // Frame 12 is 0.5005 s, just below 500.5 ms.
  EXPECT_EQ(Parse("0\r\n24\r\n1\r\n36\r\n12\r\n"),
            (ChapterList{"00:00:00.000", "00:00:01.001", "00:00:00.042", "00:00:01.502",
                         "00:00:00.500"}));
  // Rounding up to the whole second carries into the seconds field.
  EXPECT_EQ(Parse("989\r\n", 30 / 1.001), ChapterList{"00:00:33.000"});
  // Blanks around the number and a fraction are accepted; hours widen past 99.
  EXPECT_EQ(Parse(" 25 \r\n12.5\r\n9000000\r\n", 25),
            (ChapterList{"00:00:01.000", "00:00:00.500", "100:00:00.000"}));
  // At 1 frame a second, frame 2147483 is the last whole second within 32-bit milliseconds.
  EXPECT_EQ(Parse("2147483\n", 1), ChapterList{"596:31:23.000"});
}

TEST(Celltimes, EveryLineEndCountsAndNoLineIsLost) {
  const ChapterList three = {"00:00:00.000", "00:00:01.001", "00:00:01.502"};
  for (const char* text : {"0\r\n24\r\n36", "0\n24\n36\n", "0\r24\r36",
                           "\xEF\xBB\xBF"
                           "0\r\n24\r\n36",
                           "\r\n0\r\n\r\n24\r\n  \r\n36\r\n\r\n"}) {
    EXPECT_EQ(Parse(text), three) << text;
  }
  EXPECT_EQ(Parse(""), ChapterList{});
}

TEST(Celltimes, ALineThatIsNotAFrameNumberFailsWithItsLineNumber) {
  ExpectThrowMessage<ReadError>(
      [] { Parse("0\r\n24\r\nabc\r\n"); },
      "cells.txt: line 3: expected a frame number of 0 or more, found \"abc\"");
  for (const char* text : {"0\n-24\n", "0\n24 frames\n", "0\n1e400\n", "0\nnan\n"}) {
    ExpectThrowMessage<ReadError>([&] { Parse(text); }, "cells.txt: line 2: expected");
  }
  ExpectThrowMessage<ReadError>([] { Parse("0\n2147484\n", 1); },
                                "line 2: frame 2147484 lies beyond 596 hours");
  ExpectThrowMessage<ReadError>([] { Parse("0\n", 0); }, "frame rate");
}

TEST(Celltimes, ReadsTheFileAndNamesIt) {
  testing::TempDir folder;
  EXPECT_EQ(ReadCelltimes(folder.Write("a.txt", "0\r\n25\r\n"), 25),
            (ChapterList{"00:00:00.000", "00:00:01.000"}));
  const auto bad = folder.Write("bad.txt", "0\r\nx\r\n");
  ExpectThrowMessage<ReadError>([&] { ReadCelltimes(bad, 25); }, bad.string() + ": line 2");
}

}  // namespace
}  // namespace markwright
