// DVDs authored afresh by tests/fixtures/make_dvd_fixtures.sh: the chapter times we read through
// libmediainfo must be where dvdauthor says it put the chapters, NTSC ones in real time.
#include <algorithm>
#include <cmath>
#include <sstream>

#include "core/timestamp.h"
#include "peers/peer_fixture.h"
#include "readers/dvd_reader.h"
#include "support/chapter_times.h"
#include "support/mediainfo_child_program.h"

namespace markwright::testing {
namespace {

using DvdAuthoring = PeerTest;

TEST_F(DvdAuthoring, ChaptersAreWhereDvdauthorPutThem) {
  if (Missing("ffmpeg dvdauthor")) GTEST_SKIP() << "ffmpeg or dvdauthor is not installed";
  const std::string made =
      Run("bash '" MARKWRIGHT_SOURCE_DIR "/tests/fixtures/make_dvd_fixtures.sh' .");
  ASSERT_FALSE(HasFailure());
  // One line per title set: "ntsc_chapters VTS_01 0.000 5.405 ...", dvdauthor's starts in s.
  std::istringstream lines(made);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string disc, title_set;
    fields >> disc >> title_set;
    Times authored;
    for (double seconds = 0; fields >> seconds;) {
      authored.push_back(FormatTimestamp(std::llround(seconds * 1000)));
    }
    EXPECT_EQ(TimesOf(ReadDvdTitleSet(folder_ / disc / "VIDEO_TS" / (title_set + "_0.IFO"))),
              authored)
        << line;
  }
  EXPECT_EQ(std::ranges::count(made, '\n'), 6);
}

}  // namespace
}  // namespace markwright::testing
