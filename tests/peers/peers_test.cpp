// Our output fed to the real programs that consume it; a check skips when its programs are not
// installed. Each check leaves its files in work/<test> in the build folder for a look.
#include <algorithm>
#include <fstream>
#include <string>

#include "peers/peer_fixture.h"

namespace markwright::testing {
namespace {

class Peer : public PeerTest {
 protected:
  // Converts the chapter text with the options into out.txt; out.txt's text.
  std::string Convert(const std::string& chapters, const std::string& options) {
    std::ofstream(folder_ / "chapters.txt") << chapters;
    Run("'" MARKWRIGHT_EXE "' -i chapters.txt -o out.txt " + options);
    return ReadFile(folder_ / "out.txt");
  }
};

TEST_F(Peer, MkvmergeTakesOurOggChaptersAndGivesTheTimesBack) {
  if (Missing("mkvmerge mkvextract")) GTEST_SKIP() << "MKVToolNix is not installed";
  // 101 chapters: the numbers reach three digits, the times 100 hours.
  Convert(Run("seq 10 110 | awk '{printf \"CHAPTER%d=%d:%d:%d.%d\\n\", $1, $1, 10 + $1 % 50, "
              "10 + $1 % 49, 100 + 8 * $1}'"),
          "-f ogg -infps 24000/1001 -outfps 25");
  const std::string ours = Run("grep -v NAME= out.txt | cut -d= -f2 | tr -d '\\r'");
  EXPECT_EQ(std::ranges::count(ours, '\n'), 101);
  EXPECT_EQ(Run("mkvmerge -q -o chapters.mks --chapters out.txt; "
                "mkvextract chapters.mks chapters --simple back.txt; grep -v NAME= back.txt | cut "
                "-d= -f2"),
            ours);
}

TEST_F(Peer, X264PutsIntraFramesOnTheFramesOfOurQpFile) {
  if (Missing("x264 ffmpeg")) GTEST_SKIP() << "x264 or ffmpeg is not installed";
  Run("ffmpeg -v error -f lavfi -i testsrc=size=160x120:rate=25 -frames:v 60 -pix_fmt yuv420p "
      "-f yuv4mpegpipe clip.y4m");
  // Re-timed from 24 to 25 fps: 520, 960 and 1720 ms, the frames 13, 24 and 43.
  ASSERT_EQ(Convert("CHAPTER1=0:00:00.000\nCHAPTER2=0:00:00.542\nCHAPTER3=0:00:01.000\nCHAPTER4=0:"
                    "00:01.792\n",
                    "-f x264 -infps 24 -outfps 25"),
            "0 I\r\n13 I\r\n24 I\r\n43 I\r\n");
  // Without scene cuts, a keyframe interval or B-frames only the QP file makes I-frames, and the
  // log numbers frames in display order.
  EXPECT_EQ(Run("x264 --verbose --preset ultrafast --no-scenecut --keyint infinite --bframes 0 "
                "--threads 1 --qpfile out.txt -o clip.264 clip.y4m 2>&1 | "
                "sed -n 's/.*frame= *\\([0-9]*\\).*Slice:I.*/\\1/p'"),
            "0\n13\n24\n43\n");
}

TEST_F(Peer, DvdauthorStartsEachChapterAtTheVobuNearestOurTime) {
  if (Missing("dvdauthor ffmpeg")) GTEST_SKIP() << "dvdauthor or ffmpeg is not installed";
  // ffmpeg's PAL DVD target with a GOP, and so a VOBU, every 15 frames: every 600 ms.
  Run("ffmpeg -v error -f lavfi -i testsrc=duration=10:size=720x576:rate=25 -f lavfi -i "
      "anullsrc=r=48000:cl=stereo -t 10 -target pal-dvd -aspect 4:3 -g 15 clip.mpg");
  // Times whose nearest VOBU differs from the one a frame number after the "." would reach.
  const std::string line = Convert(
      "CHAPTER1=0:00:00.000\nCHAPTER2=0:00:03.520\nCHAPTER3=0:00:04.920\nCHAPTER4=0:00:06.960\n",
      "-f dvdauthor -infps 25 -outfps 25");
  ASSERT_EQ(line, "chapters=\"00:00:00.000,00:00:03.520,00:00:04.920,00:00:06.960\"");
  std::ofstream(folder_ / "project.xml")
      << "<dvdauthor dest='dvd'><vmgm/><titleset><titles><pgc><vob file='clip.mpg' " << line
      << "/></pgc></titles></titleset></dvdauthor>\n";
  EXPECT_EQ(
      Run("VIDEO_FORMAT=PAL dvdauthor -x project.xml 2>&1 | sed -n 's/^CHAPTERS: VTS.1.1. //p'"),
      "0.000\n3.600\n4.800\n7.200\n");
}

}  // namespace
}  // namespace markwright::testing
