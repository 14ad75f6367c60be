// ffmpeg reads our WebVTT as we wrote it, and ffmpeg and x265 put their key frames on exactly our
// chapters' frames when given our key-frame list and the x264 QP file.
#include <fstream>

#include "peers/peer_fixture.h"
#include "readers/webvtt_reader.h"
#include "support/chapter_times.h"
#include "writers/format_table.h"
#include "writers/keyframe_writers.h"
#include "writers/webvtt_writer.h"

namespace markwright::testing {
namespace {

// Frames 0, 1, 75 and 120 at 24/1.001; frame 1 starts at 41.708 ms, so its chapter time is later.
const TitleChapters kTitle{{{Ms("00:00:00.000"), "Tom & Jerry <live>", ""},
                            {Ms("00:00:00.042"), "", ""},
                            {Ms("00:00:03.128"), "Глава 1", ""},
                            {Ms("00:00:05.005"), "two\nlines", ""}},
                           Ms("00:00:10.010")};
constexpr std::string_view kKeyFrames = "0 1 75 120 ";
const std::string kClip = "testsrc=d=10:r=24000/1001:s=160x120";

using ExtraFormatsPeer = PeerTest;

TEST_F(ExtraFormatsPeer, FfmpegReadsOurWebVttCuesAndWritesOnesWeRead) {
  if (Missing("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
  std::ofstream(folder_ / "ours.vtt", std::ios::binary) << WriteWebVtt(kTitle);
  EXPECT_EQ(Run("ffmpeg -v error -i ours.vtt -f srt -"),
            "1\n00:00:00,000 --> 00:00:00,042\nTom & Jerry <live>\n\n"
            "2\n00:00:00,042 --> 00:00:03,128\nChapter 2\n\n"
            "3\n00:00:03,128 --> 00:00:05,005\nГлава 1\n\n"
            "4\n00:00:05,005 --> 00:00:10,010\ntwo lines\n\n");
  // ffmpeg writes MM:SS.mmm times, and '<' and '&' unescaped, so "<live>" reads as a tag.
  EXPECT_EQ(ParseWebVtt(Run("ffmpeg -v error -i ours.vtt -f webvtt -"), "ffmpeg"),
            (TitleChapters{{{Ms("00:00:00.000"), "Tom & Jerry ", ""},
                            {Ms("00:00:00.042"), "Chapter 2", ""},
                            {Ms("00:00:03.128"), "Глава 1", ""},
                            {Ms("00:00:05.005"), "two lines", ""}},
                           Ms("00:00:10.010")}));
}

TEST_F(ExtraFormatsPeer, FfmpegForcesKeyFramesOnOurChapterFrames) {
  if (Missing("ffmpeg ffprobe")) GTEST_SKIP() << "ffmpeg is not installed";
  Run("ffmpeg -v error -f lavfi -i " + kClip +
      " -c:v libx264 -g 1000 -sc_threshold 0 -force_key_frames " +
      WriteFfmpegKeyFrames(kTitle, 24 / 1.001) + " k.mp4");
  EXPECT_EQ(Run("ffprobe -v error -show_entries frame=key_frame -of csv=p=0 k.mp4 | "
                "awk -F, '/^[01]/ { if ($1 == 1) printf \"%d \", n; n++ }'"),
            kKeyFrames);
}

TEST_F(ExtraFormatsPeer, X265TakesTheX264QpFile) {
  if (Missing("ffmpeg x265")) GTEST_SKIP() << "ffmpeg or x265 is not installed";
  std::ofstream(folder_ / "qp.txt", std::ios::binary)
      << BuildFormatText(*FindFormatByKey("x264"), kTitle, 24 / 1.001, "23.976");
  Run("ffmpeg -v error -f lavfi -i " + kClip + " -pix_fmt yuv420p -f yuv4mpegpipe - | " +
      "x265 --log-level error --input - --y4m --qpfile qp.txt --no-scenecut --csv log.csv"
      " --csv-log-level 1 -o x.hevc");
  EXPECT_EQ(Run("awk -F', *' '$2 == \"I-SLICE\" { printf \"%d \", $3 }' log.csv"), kKeyFrames);
}

}  // namespace
}  // namespace markwright::testing
