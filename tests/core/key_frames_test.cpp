// A chapter against the key frames of its video: its frame, the nearest key frame (the earlier of
// two as near), the distance both ways and the tolerance; and the frame list the reading child
// sends, which is where a video's frames and key frames come from.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/error.h"
#include "core/key_frames.h"
#include "readers/video_frames.h"

namespace markwright {
namespace {

// 25 fps, key frames 0, 48 and 96, as the reading child lists them.
VideoFrames Gop48() {
  std::string list;
  for (int frame = 0; frame < 120; ++frame) {
    list += std::to_string(frame * 40) + ".000000 " + (frame % 48 == 0 ? "1" : "0") + "\n";
  }
  return ParseVideoFrameList(list, "gop.mkv");
}

TEST(KeyFrames, NearestKeyFrameBothWaysWithTheEarlierOnATie) {
  const VideoFrames video = Gop48();
  ASSERT_EQ(video.key_frames, (std::vector<std::int64_t>{0, 48, 96}));
  EXPECT_EQ(video.times->constant_rate, 25);
  const FrameClock clock(video.times);
  EXPECT_EQ(NearestKeyFrame(clock, video.key_frames, 1920), (KeyFrameDistance{48, 48, 0, 1920, 0}));
  // 1.9 s is frame 47.5, the even 48; 1.0 s is frame 25, 23 frames before 48.
  EXPECT_EQ(NearestKeyFrame(clock, video.key_frames, 1900),
            (KeyFrameDistance{48, 48, 0, 1920, 20}));
  EXPECT_EQ(NearestKeyFrame(clock, video.key_frames, 1000),
            (KeyFrameDistance{25, 48, 23, 1920, 920}));
  EXPECT_EQ(NearestKeyFrame(clock, video.key_frames, 900), (KeyFrameDistance{22, 0, -22, 0, -900}));
  // Frame 72 is 24 frames from both 48 and 96; past the last key frame only it is left.
  EXPECT_EQ(NearestKeyFrame(clock, video.key_frames, 2880).key_frame, 48);
  EXPECT_EQ(NearestKeyFrame(clock, video.key_frames, 4760),
            (KeyFrameDistance{119, 96, -23, 3840, -920}));
  const KeyFrameDistance before{25, 48, 23, 1920, 920};
  const KeyFrameDistance after{22, 0, -22, 0, -900};
  EXPECT_TRUE(WithinTolerance(before, 23));
  EXPECT_FALSE(WithinTolerance(before, 22));
  EXPECT_TRUE(WithinTolerance(after, 22));
  EXPECT_FALSE(WithinTolerance(after, 21));
  EXPECT_THROW(NearestKeyFrame(clock, video.key_frames, 4800), Error);  // past the last frame
  EXPECT_THROW(NearestKeyFrame(clock, {}, 0), Error);
}

TEST(KeyFrames, AFrameListThatIsNoneIsADamagedFileNotACrash) {
  const VideoFrames uneven = ParseVideoFrameList("0.000000 1\n41.708333 0\n83.416667 1\n", "v.mp4");
  EXPECT_EQ(uneven.times->starts, (std::vector<double>{0, 41.708333, 83.416667}));
  EXPECT_EQ(uneven.key_frames, (std::vector<std::int64_t>{0, 2}));
  for (const char* list :
       {"", "0 1\n40 2\n", "0 1\n-40 0\n", "40 1\n0 0\n", "x 1\n", "0 1 \n", "nan 1\n"}) {
    EXPECT_THROW(ParseVideoFrameList(list, "v.mp4"), ReadError) << list;
  }
}

}  // namespace
}  // namespace markwright
