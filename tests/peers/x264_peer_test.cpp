// x264 takes our QP file and puts its I-frames exactly on our frames.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "peer_support.h"

namespace markwright::testing {
namespace {

// The frames x264's verbose log reports as I slices. Without B-frames the log's frame numbers
// are the display order.
std::set<int> IntraFrames(const std::string& log) {
  std::set<int> frames;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    const auto at = line.find("frame=");
    if (at == std::string::npos || line.find("Slice:I") == std::string::npos) continue;
    frames.insert(std::stoi(line.substr(at + 6)));
  }
  return frames;
}

TEST(X264Peer, PutsIntraFramesOnTheFramesOfOurQpFile) {
  const auto x264 = FindProgram("x264");
  const auto ffmpeg = FindProgram("ffmpeg");
  if (x264.empty() || ffmpeg.empty()) GTEST_SKIP() << "x264 or ffmpeg is not installed";
  const auto folder = FreshWorkFolder();

  auto run = RunPeer(ffmpeg,
                     {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=160x120:rate=25",
                      "-frames:v", "60", "-pix_fmt", "yuv420p", "-f", "yuv4mpegpipe", "clip.y4m"},
                     folder);
  ASSERT_EQ(run.exit_status, 0) << Said(run);

  // Re-timed from 24 to 25 fps: 520, 960 and 1720 ms, the frames 13, 24 and 43.
  const std::string qpfile = ConvertChapters(
      folder, {"00:00:00.000", "00:00:00.542", "00:00:01.000", "00:00:01.792"}, "x264", "24", "25");
  ASSERT_EQ(qpfile, "0 I\r\n13 I\r\n24 I\r\n43 I\r\n");

  // No scene cuts, no forced keyframes, no B-frames: only the QP file makes I-frames.
  run = RunPeer(
      x264,
      {"--verbose", "--preset", "ultrafast", "--no-scenecut", "--keyint", "infinite", "--bframes",
       "0", "--threads", "1", "--qpfile", "out.txt", "-o", "clip.264", "clip.y4m"},
      folder);
  ASSERT_EQ(run.exit_status, 0) << Said(run);
  EXPECT_EQ(IntraFrames(run.errors + run.output), (std::set<int>{0, 13, 24, 43}));
}

}  // namespace
}  // namespace markwright::testing
