// Frames and key frames of videos ffmpeg encodes, read through the reading child's libavformat:
// a video whose key frames ffmpeg forced from our key-frame list has every chapter on one, and a
// fixed GOP (with B-frames, so packets come out of presentation order) gives the frames and key
// frames ffprobe shows. Thumbnails show the frame at each time.
#include <fstream>
#include <sstream>

#include "core/error.h"
#include "core/key_frames.h"
#include "peers/peer_fixture.h"
#include "readers/thumbnails.h"
#include "readers/video_frames.h"
#include "support/chapter_times.h"
#include "support/mediainfo_child_program.h"
#include "support/run_process.h"
#include "writers/format_table.h"

namespace markwright::testing {
namespace {

const TitleChapters kTitle{{{Ms("00:00:00.000"), "", ""},
                            {Ms("00:00:01.000"), "", ""},
                            {Ms("00:00:02.360"), "", ""},
                            {Ms("00:00:05.000"), "", ""}},
                           -1};

using VideoFramesPeer = PeerTest;

TEST_F(VideoFramesPeer, KeyFramesFfmpegForcedFromOurListCarryEveryChapter) {
  if (Missing("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
  const std::string keys = BuildFormatText(*FindFormatByKey("ffmpegKeys"), kTitle, 25.0, "");
  Run("ffmpeg -v error -f lavfi -i testsrc=d=8:s=64x48:r=25 -c:v libx264 -g 1000 "
      "-sc_threshold 0 -force_key_frames " +
      keys + " forced.mkv");
  ASSERT_FALSE(HasFailure());
  const VideoFrames video = ReadVideoFrames(folder_ / "forced.mkv");
  const FrameClock clock(video.times);
  for (const Chapter& chapter : kTitle.chapters) {
    EXPECT_EQ(NearestKeyFrame(clock, video.key_frames, chapter.start).frames, 0) << chapter.start;
  }
  EXPECT_EQ(video.key_frames, (std::vector<std::int64_t>{0, 25, 59, 125}));
}

// MP4 frames come from the sample tables, their bytes unread: a fixed GOP with B-frames (and the
// edit list that hides their delay), a fragmented file with sound, and a variable rate with open
// GOPs all give the frames and key frames ffprobe decodes.
TEST_F(VideoFramesPeer, Mp4FramesAndKeyFramesAreThoseFfprobeDecodes) {
  if (Missing("ffmpeg ffprobe")) GTEST_SKIP() << "ffmpeg is not installed";
  Run("ffmpeg -v error -f lavfi -i testsrc=d=8:s=64x48:r=24000/1001 -c:v libx264 -bf 3 -g 48 "
      "-keyint_min 48 -sc_threshold 0 gop.mp4 && ffmpeg -v error -f lavfi -i testsrc=d=6:s=64x48 "
      "-f lavfi -i sine=d=6 -c:v libx264 -c:a aac -movflags frag_keyframe+empty_moov frag.mp4 && "
      "ffmpeg -v error -f lavfi -i \"testsrc=d=6:s=64x48:r=30,setpts='N*(1+mod(N,3))/30/TB'\" "
      "-fps_mode vfr -c:v libx264 -bf 2 -g 30 -x264-params open-gop=1 vfr.mp4");
  ASSERT_FALSE(HasFailure());
  for (const char* file : {"frag.mp4", "vfr.mp4", "gop.mp4"}) {
    std::istringstream frames(
        Run(std::string("ffprobe -v error -select_streams v -show_entries frame=key_frame,pts_time "
                        "-of csv=p=0 ") +
            file));
    std::vector<double> starts;
    std::vector<std::int64_t> key_frames;
    for (std::string line; std::getline(frames, line);) {
      if (line.size() < 3) continue;
      if (line[0] == '1') key_frames.push_back(static_cast<std::int64_t>(starts.size()));
      starts.push_back(std::stod(line.substr(2)) * 1000);
    }
    const VideoFrames video = ReadVideoFrames(folder_ / file);
    ASSERT_EQ(video.times->starts.size(), starts.size()) << file;
    for (std::size_t frame = 0; frame < starts.size(); ++frame) {
      EXPECT_NEAR(video.times->starts[frame], starts[frame] - starts.front(), 0.001) << file;
    }
    EXPECT_EQ(video.key_frames, key_frames) << file;
  }
  // At 24/1.001 a frame is 41.708 ms: 5 s is frame 120 (5004.999 ms), two GOPs and a half in.
  const VideoFrames gop = ReadVideoFrames(folder_ / "gop.mp4");
  const KeyFrameDistance distance =
      NearestKeyFrame(FrameClock(gop.times), gop.key_frames, Ms("00:00:05.000"));
  EXPECT_EQ(distance, (KeyFrameDistance{120, 96, -24, 4004, -996}));
}

// The command line on a fixed GOP of 48 at 25 fps: 1.000 s is frame 25, 23 frames before key
// frame 48; --check fails beyond the tolerance, --snap moves only what the tolerance lets it.
TEST_F(VideoFramesPeer, CheckAndSnapOnTheCommandLine) {
  if (Missing("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
  Run("ffmpeg -v error -f lavfi -i testsrc=d=8:s=64x48:r=25 -c:v libx264 -g 48 -keyint_min 48 "
      "-sc_threshold 0 gop.mkv; printf 'CHAPTER01=00:00:01.920\\nCHAPTER02=00:00:01.000\\n' "
      "> in.txt");
  ASSERT_FALSE(HasFailure());
  const auto run = [this](std::vector<std::string> arguments) {
    for (const char* common :
         {"-i", "in.txt", "--video", "gop.mkv", "-infps", "25", "-outfps", "25"}) {
      arguments.emplace_back(common);
    }
    return RunProcess(MARKWRIGHT_EXE, arguments, folder_);
  };
  const auto strict = run({"--check"});
  EXPECT_EQ(strict.exit_status, 1);
  EXPECT_EQ(strict.output,
            "chapter 1 at 00:00:01.920: frame 48, key frame 48, 0 frames, 0 ms\n"
            "chapter 2 at 00:00:01.000: frame 25, key frame 48, 23 frames, 920 ms, too far\n");
  EXPECT_EQ(run({"--check", "--tolerance", "23"}).exit_status, 0);
  const auto kept = run({"--snap", "--tolerance=22", "-f", "ogg", "-o", "kept.txt"});
  EXPECT_EQ(kept.errors,
            "Markwright: chapter 2 at 00:00:01.000 (frame 25) stays: the nearest key frame, 48, is "
            "23 frames away, more than --tolerance 22\n");
  const auto moved = run({"--snap", "--tolerance", "23", "-f", "ogg", "-o", "moved.txt"});
  EXPECT_EQ(moved.errors,
            "Markwright: chapter 2 at 00:00:01.000 (frame 25) moves to key frame 48 at "
            "00:00:01.920\n");
  EXPECT_EQ(
      Run("cat moved.txt"),
      "CHAPTER01=00:00:01.920\r\nCHAPTER01NAME=\r\nCHAPTER02=00:00:01.920\r\nCHAPTER02NAME=\r\n");
}

// Each of 32 frames a grey of its own (luma 16 + 7 × its number), key frames every 10, two
// B-frames (which no frame refers to) after each other frame: a thumbnail's grey tells which
// frame it shows.
TEST_F(VideoFramesPeer, ThumbnailsShowTheFrameNearestEachTime) {
  if (Missing("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
  Run("ffmpeg -v error -f lavfi -i \"color=s=64x48:r=25:d=1.28,format=yuv444p,"
      "geq=lum='16+7*N':cb=128:cr=128\" -c:v libx264 -qp 1 -g 10 -sc_threshold 0 -x264-params "
      "bframes=2:b-adapt=0:b-pyramid=none -pix_fmt yuv444p grey.mp4");
  ASSERT_FALSE(HasFailure());
  // Out of order, once twice, between two frames (430 ms is nearer frame 11's 440 than frame
  // 10's 400; 90 ms nearer B-frame 2's 80 than frame 3's 120), and past the end. Quick pictures
  // (key frames) first, exact already for times on a key frame, then the exact frames of the
  // others.
  const std::vector<std::int64_t> times = {1000, 0, 430, 400, 5000, 1000, 120, 90};
  const std::vector<int> frames = {25, 0, 11, 10, 31, 25, 3, 2};
  std::vector<std::size_t> exact;
  const auto video = ReadThumbnails(folder_ / "grey.mp4", times, 160, [&](Thumbnail&& picture) {
    const int shown = static_cast<int>(picture.start / 40);
    EXPECT_DOUBLE_EQ(picture.start, shown * 40) << picture.index;
    if (picture.exact) {
      exact.push_back(picture.index);
      EXPECT_EQ(shown, frames.at(picture.index)) << picture.index;
    } else {
      EXPECT_EQ(shown, frames.at(picture.index) / 10 * 10) << picture.index;
    }
    EXPECT_EQ(picture.width, 160);
    EXPECT_EQ(picture.height, 120);
    EXPECT_EQ(picture.rgb.size(), 160u * 120 * 3);
    int farthest = 0;
    for (const std::uint8_t value : picture.rgb) {
      farthest = std::max(farthest, std::abs(value - shown * 7 * 255 / 219));
    }
    EXPECT_LE(farthest, 3) << picture.index;
    return true;
  });
  EXPECT_EQ(exact, (std::vector<std::size_t>{1, 3, 7, 6, 2, 0, 5, 4}));
  ASSERT_TRUE(video.has_value());
  EXPECT_EQ(video->times->starts.size(), 32u);
  EXPECT_EQ(video->key_frames, (std::vector<std::int64_t>{0, 10, 20, 30}));
  // A caller that wants no more stops the child: nothing is returned.
  int received = 0;
  EXPECT_EQ(
      ReadThumbnails(folder_ / "grey.mp4", times, 16, [&](Thumbnail&&) { return ++received < 2; }),
      std::nullopt);
  EXPECT_EQ(received, 2);
}

TEST_F(VideoFramesPeer, DamagedVideosEndInAMessage) {
  if (Missing("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
  // The MP4's sample tables come first: the cut keeps them, and the flip lands in them.
  Run("for type in mkv mp4; do ffmpeg -v error -f lavfi -i testsrc=d=4:s=64x48:r=25 -c:v libx264 "
      "-g 25 -movflags +faststart clip.$type; head -c 4000 clip.$type > cut.$type; "
      "cp clip.$type flipped.$type; printf '\\377\\377\\377\\377\\377\\377\\377\\377' | "
      "dd of=flipped.$type bs=1 seek=300 conv=notrunc 2>/dev/null; done; truncate -s 1T "
      "sparse.mkv");
  ASSERT_FALSE(HasFailure());
  EXPECT_LT(ReadVideoFrames(folder_ / "cut.mkv").times->starts.size(), 100u);
  for (const char* file : {"cut.mkv", "sparse.mkv", "flipped.mkv", "cut.mp4", "flipped.mp4"}) {
    try {
      const VideoFrames video = ReadVideoFrames(folder_ / file);
      EXPECT_FALSE(video.times->starts.empty()) << file;
    } catch (const ReadError& failure) {
      EXPECT_NE(std::string(failure.what()).find(file), std::string::npos) << failure.what();
    }
    // Thumbnails decode what is left, or end in a message naming the file.
    try {
      ReadThumbnails(folder_ / file, {0, 2000, 3960, 99000}, 160, [](Thumbnail&& picture) {
        EXPECT_EQ(picture.rgb.size(), 160u * 3 * static_cast<std::size_t>(picture.height));
        return true;
      });
    } catch (const ReadError& failure) {
      EXPECT_NE(std::string(failure.what()).find(file), std::string::npos) << failure.what();
    }
  }
  std::filesystem::remove(folder_ / "sparse.mkv");
}

}  // namespace
}  // namespace markwright::testing
