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

// Reading a large file packet by packet takes a while; a damaged one that takes longer is given up.
inline constexpr std::chrono::milliseconds kVideoReadDeadline{120'000};

// The child's side (see mediainfo_child.h): every packet of the first video stream is read,
// none decoded. Packets carry their presentation time and the key-frame flag, so the list is
// exact for every container. A container's index (Matroska cues, MP4 sample tables) would be
// faster on very large files but lists only key frames in Matroska, where the frames between
// them are needed too; reading packets costs one pass over the file. Returns one line per frame,
// "<start in ms> <1 for a key frame, else 0>", in presentation order. Throws ReadError naming
// the file when libavformat cannot open it, finds no video stream or no frame.
std::string ReadVideoFrameList(const std::filesystem::path& path);

// The lines of ReadVideoFrameList as frames; name is the file in messages. Throws ReadError for
// text that is no such list, for more than kMaxTimestampFrames frames or for no frame.
VideoFrames ParseVideoFrameList(std::string_view text, std::string_view name);

// Asks a reading child for the frames of the file (ReadVideoFrameList), within the deadline.
// Throws ReadError naming the file.
VideoFrames ReadVideoFrames(const std::filesystem::path& path,
                            std::chrono::milliseconds deadline = kVideoReadDeadline);

}  // namespace markwright
