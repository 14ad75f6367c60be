// Drop-frame timecode as ffmpeg counts it: the MPEG-2 encoder labels each frame's GOP from a
// starting timecode, and ffprobe reads the labels back; ours for the same frames must match, at
// minutes that drop labels, the tenth minute that does not, and the last hour of the day.
#include "core/timecode.h"
#include "peers/peer_fixture.h"

namespace markwright::testing {
namespace {

using DropFramePeer = PeerTest;

TEST_F(DropFramePeer, FfmpegLabelsTheFramesAsWeDo) {
  if (Missing("ffmpeg ffprobe")) GTEST_SKIP() << "ffmpeg is not installed";
  for (const char* rate : {"30000/1001", "60000/1001"}) {
    const TimecodeBase base{rate[0] == '3' ? 30 : 60, true};
    for (const char* start : {"00:00:59;20", "00:09:59;20", "00:10:59;20", "23:58:59;20"}) {
      Run(std::string("ffmpeg -v error -y -f lavfi -i color=s=32x32:r=") + rate +
          " -frames:v 60 -c:v mpeg2video -g 1 -timecode '" + start + "' gop.mpg");
      const std::string labels =
          Run("ffprobe -v error -show_frames -show_entries frame_side_data=timecode -of csv=p=0 "
              "gop.mpg | grep -o '[0-9:;]*$' | grep ';'");
      // ffmpeg may begin a frame later than the start it was given; the labels run on from the
      // first it writes.
      const std::int64_t first = *TimecodeToFrame(*ParseTimecode(labels.substr(0, 11)), base);
      std::string ours;
      for (std::int64_t frame = first; ours.size() < labels.size(); ++frame) {
        AppendTimecode(ours, FrameToTimecode(frame, base, true), ':', ';');
        ours += '\n';
      }
      EXPECT_EQ(ours, labels) << rate << " from " << start;
    }
  }
}

}  // namespace
}  // namespace markwright::testing
