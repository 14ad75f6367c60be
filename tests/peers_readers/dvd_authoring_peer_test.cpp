// DVDs authored afresh by tests/fixtures/make_dvd_fixtures.sh: the chapter times we read through
// libmediainfo must be where dvdauthor says it put the chapters, NTSC ones in real time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "core/timestamp.h"
#include "readers/dvd_reader.h"
#include "support/chapter_times.h"
#include "support/mediainfo_child_program.h"
#include "support/run_process.h"

namespace markwright {
namespace {

TEST(DvdAuthoring, ChaptersAreWhereDvdauthorPutThem) {
  if (std::system("command -v ffmpeg >/dev/null && command -v dvdauthor >/dev/null") != 0) {
    GTEST_SKIP() << "ffmpeg or dvdauthor is not installed";
  }
  testing::TempDir work;
  const auto made = testing::RunProcess(
      "/bin/bash",
      {std::string(MARKWRIGHT_SOURCE_DIR) + "/tests/fixtures/make_dvd_fixtures.sh",
       work.path().string()},
      work.path());
  ASSERT_EQ(made.exit_status, 0) << made.errors;
  // One line per title set: "ntsc_chapters VTS_01 0.000 5.405 ...", dvdauthor's starts in s.
  std::istringstream lines(made.output);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string disc, title_set;
    fields >> disc >> title_set;
    testing::Times authored;
    for (double seconds = 0; fields >> seconds;) {
      authored.push_back(FormatTimestamp(std::llround(seconds * 1000)));
    }
    EXPECT_EQ(testing::TimesOf(ReadDvdTitleSet(work / disc / "VIDEO_TS" / (title_set + "_0.IFO"))),
              authored)
        << line;
  }
  EXPECT_EQ(std::count(made.output.begin(), made.output.end(), '\n'), 6);
}

}  // namespace
}  // namespace markwright
