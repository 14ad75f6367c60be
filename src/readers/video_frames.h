#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/frame_times.h"

namespace markwright {

// The frames of a media file's first video stream, read with libavformat: each frame's start in
// milliseconds in presentation order, the first frame at 0, and which frames are key frames.
struct VideoFrames {
  std::shared_ptr<const FrameTimes> times;
  std::vector<std::int64_t> key_frames;  // frame numbers, ascending
};

// Reading a large file packet by packet (Matroska, MPEG-TS) takes a while; a damaged one that
// takes longer is given up.
inline constexpr std::chrono::milliseconds kVideoReadDeadline{120'000};

// The frame list the video module gives (video/video_entry.h: VideoFramesEntry) as frames; name is
// the file in messages. Throws ReadError for text that is no such list, for more than
// kMaxTimestampFrames frames or for no frame.
VideoFrames ParseVideoFrameList(std::string_view text, std::string_view name);

// Asks a reading child for the frames of the file, within the deadline. Every packet of the
// video stream is read, none decoded (of MP4 and QuickTime files only the sample tables, not the
// frames' bytes): the list is exact for every container.
// Throws ReadError naming the file.
VideoFrames ReadVideoFrames(const std::filesystem::path& path,
                            std::chrono::milliseconds deadline = kVideoReadDeadline);

}  // namespace markwright
