// Variable frame rates: x264 puts its I-frames on the frames our QP file names for a timestamp
// file ffmpeg wrote, at the chapters' times, and its video reads back as those frames; mkvmerge
// takes the timestamp files we take, and a file mkvextract writes back reads as the same frames.
#include <fstream>

#include "core/frame_times.h"
#include "peers/peer_fixture.h"
#include "readers/timestamp_file_reader.h"
#include "readers/video_frames.h"
#include "support/chapter_times.h"
#include "writers/format_table.h"

namespace markwright::testing {
namespace {

// 2 s at 24 fps (frames 0-47), then 60 fps: 2.300 s is frame 66; 2.510 s lies between frame 78
// (2.500 s) and frame 79 (2.516 s as ffmpeg writes it), nearer the later one.
const TitleChapters kTitle{{{Ms("00:00:00.000"), "", ""},
                            {Ms("00:00:01.000"), "", ""},
                            {Ms("00:00:02.300"), "", ""},
                            {Ms("00:00:02.510"), "", ""}},
                           -1};
const std::string kVaryingClip =
    "\"testsrc=d=4:r=24:s=160x120,settb=1/1000,"
    "setpts=if(lt(N\\,48)\\,N*1000/24\\,2000+(N-48)*1000/60)\"";

using TimecodesPeer = PeerTest;

TEST_F(TimecodesPeer, X264PutsItsIFramesOnOurFramesOfAVaryingRate) {
  if (Missing("ffmpeg ffprobe x264")) GTEST_SKIP() << "ffmpeg or x264 is not installed";
  Run("ffmpeg -v error -f lavfi -i " + kVaryingClip +
      " -fps_mode vfr -enc_time_base -1 -c:v rawvideo -f mkvtimestamp_v2 tc.txt");
  Run("ffmpeg -v error -f lavfi -i testsrc=d=4:r=24:s=160x120 -pix_fmt yuv420p "
      "-f yuv4mpegpipe clip.y4m");
  const auto stamps = std::make_shared<const FrameTimes>(ReadTimestampFile(folder_ / "tc.txt"));
  const FrameClock clock(stamps);
  const std::string qp = BuildFormatText(*FindFormatByKey("x264"), kTitle, clock, "");
  EXPECT_EQ(qp, "0 I\r\n24 I\r\n66 I\r\n79 I\r\n");
  std::ofstream(folder_ / "qp.txt", std::ios::binary) << qp;
  Run("x264 --quiet --no-scenecut --keyint 1000 --tcfile-in tc.txt --qpfile qp.txt -o out.mkv "
      "clip.y4m 2>/dev/null");
  EXPECT_EQ(Run("ffprobe -v error -show_entries frame=key_frame,pts_time -of csv=p=0 out.mkv | "
                "awk -F, '/^[01]/ { if ($1 == 1) printf \"%d@%s \", n, $2; n++ }'"),
            "0@0.000000 24@1.000000 66@2.300000 79@2.516000 ");
  // Read back with --video's reader: the timestamp file's frames (to Matroska's millisecond),
  // the I-frames on ours.
  const VideoFrames video = ReadVideoFrames(folder_ / "out.mkv");
  ASSERT_EQ(video.times->starts.size(), stamps->starts.size());
  for (std::size_t frame = 0; frame < video.times->starts.size(); ++frame) {
    EXPECT_NEAR(video.times->starts[frame], stamps->starts[frame], 0.5) << frame;
  }
  EXPECT_EQ(video.key_frames, (std::vector<std::int64_t>{0, 24, 66, 79}));
}

TEST_F(TimecodesPeer, MkvmergeTakesOurTimestampFilesAndMkvextractsReadsBackTheSame) {
  if (Missing("ffmpeg mkvmerge mkvextract")) GTEST_SKIP() << "ffmpeg or MKVToolNix is missing";
  Run("ffmpeg -v error -f lavfi -i " + kVaryingClip +
      " -fps_mode vfr -enc_time_base -1 -c:v rawvideo -f mkvtimestamp_v2 v2.txt");
  Run("ffmpeg -v error -f lavfi -i testsrc=d=4:r=24:s=160x120 -c:v libx264 clip.mkv");
  std::ofstream(folder_ / "v1.txt", std::ios::binary)
      << "# timestamp format v1\r\nassume 24\r\n# faster\r\n48,95,60\r\n";
  // A v4 file of the clip's 96 frames, each pair written in the wrong order.
  std::ofstream v4(folder_ / "v4.txt", std::ios::binary);
  v4 << "# timecode format v4\n";
  for (int frame = 0; frame < 96; ++frame) v4 << (frame ^ 1) * 40 << '\n';
  v4.close();
  for (const char* file : {"v1.txt", "v2.txt", "v4.txt"}) {
    ReadTimestampFile(folder_ / file);
    Run(std::string("mkvmerge -q -o ") + file + ".mkv --timestamps 0:" + file + " clip.mkv");
  }
  Run("mkvextract v2.txt.mkv timestamps_v2 0:back.txt >/dev/null");
  const FrameTimes ours = ReadTimestampFile(folder_ / "v2.txt");
  FrameTimes back = ReadTimestampFile(folder_ / "back.txt");
  // mkvextract adds the end of the last frame.
  ASSERT_EQ(back.starts.size(), ours.starts.size() + 1);
  back.starts.pop_back();
  EXPECT_EQ(back.starts, ours.starts);
}

}  // namespace
}  // namespace markwright::testing
