#include "readers/celltimes_reader.h"

#include <gtest/gtest.h>

#include "expect_read_error.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

using testing::ExpectReadError;

const double kFilm = 24 / 1.001;

ChapterList Parse(std::string_view text, double rate = kFilm) {
  return ParseCelltimes(text, "cells.txt", rate);
}

TEST(Celltimes, FramesBecomeTimesAtTheInputRate) {
  EXPECT_EQ(Parse("0\r\n24\r\n1\r\n"),
            (ChapterList{"00:00:00.000", "00:00:01.001", "00:00:00.042"}));
  // 36 frames: 1.5014999999999998 s, 1.5015 at 15 digits, a tie that goes to the even 502 ms.
  EXPECT_EQ(Parse("36\r\n"), ChapterList{"00:00:01.502"});
  // 12 frames: 0.5005 s is just below 500.5 ms.
  EXPECT_EQ(Parse("12\r\n"), ChapterList{"00:00:00.500"});
  // At 30/1.001, frame 989 rounds up to the whole second, which carries into the seconds field.
  EXPECT_EQ(Parse("989\r\n", 30 / 1.001), ChapterList{"00:00:33.000"});
  // Blanks around the number and a fraction are accepted; hours widen past 99.
  EXPECT_EQ(Parse(" 25 \r\n12.5\r\n9000000\r\n", 25),
            (ChapterList{"00:00:01.000", "00:00:00.500", "100:00:00.000"}));
  EXPECT_EQ(Parse(""), ChapterList{});
}

TEST(Celltimes, EveryLineEndCountsAndNoLineIsLost) {
  const ChapterList three = {"00:00:00.000", "00:00:01.001", "00:00:01.502"};
  EXPECT_EQ(Parse("0\r\n24\r\n36\r\n"), three);
  EXPECT_EQ(Parse("0\r\n24\r\n36"), three);  // the last line without a line end
  EXPECT_EQ(Parse("0\n24\n36\n"), three);
  EXPECT_EQ(Parse("0\r24\r36"), three);
  EXPECT_EQ(Parse("\xEF\xBB\xBF"
                  "0\r\n24\r\n36\r\n"),
            three);
  EXPECT_EQ(Parse("\r\n0\r\n\r\n24\r\n  \r\n36\r\n\r\n"), three);  // blank lines are skipped
}

TEST(Celltimes, ALineThatIsNotAFrameNumberFailsWithItsLineNumber) {
  ExpectReadError([] { return Parse("0\r\n24\r\nabc\r\n"); }, "cells.txt",
                  "line 3: expected a frame number of 0 or more, found \"abc\"");
  ExpectReadError([] { return Parse("0\n-24\n"); }, "cells.txt", "line 2");
  ExpectReadError([] { return Parse("24 frames\n"); }, "cells.txt", "line 1");
  ExpectReadError([] { return Parse("1e400\n"); }, "cells.txt", "line 1");
  ExpectReadError([] { return Parse("nan\n"); }, "cells.txt", "line 1");
  // At 1 frame a second, frame 2147483 is the last whole second within 32-bit milliseconds.
  EXPECT_EQ(Parse("2147483\n", 1), ChapterList{"596:31:23.000"});
  ExpectReadError([] { return Parse("0\n2147484\n", 1); }, "cells.txt",
                  "line 2: frame 2147484 lies beyond 596 hours");
  ExpectReadError([] { return Parse("0\n", 0); }, "cells.txt", "frame rate");
}

TEST(Celltimes, ReadsTheFileAndNamesItInFailures) {
  testing::TempDir folder;
  EXPECT_EQ(ReadCelltimes(folder.Write("a.txt", "0\r\n25\r\n"), 25),
            (ChapterList{"00:00:00.000", "00:00:01.000"}));
  const auto bad = folder.Write("bad.txt", "0\r\nx\r\n");
  ExpectReadError([&] { return ReadCelltimes(bad, 25); }, bad.string(), "line 2");
  const auto missing = folder / "missing.txt";
  ExpectReadError([&] { return ReadCelltimes(missing, 25); }, missing.string(), "cannot open");
}

}  // namespace
}  // namespace markwright
