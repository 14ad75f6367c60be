#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "readers/video_frames.h"
#include "video/video_entry.h"

namespace markwright {

// A small picture of the frame a video shows at a time, for the window's rows and timeline.
struct Thumbnail {
  std::size_t index = 0;  // the time's position in the list asked for
  double start = 0;       // the shown frame's start in milliseconds, the first frame at 0
  // False for a quick picture (the key frame before the time), which an exact one follows.
  bool exact = false;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // height rows of width × 3 bytes: red, green, blue

  bool operator==(const Thumbnail&) const = default;
};

inline constexpr int kThumbnailWidth = 160;
// The times travel to the reading child as one argument, which the system keeps under 128 KiB.
inline constexpr std::size_t kMostThumbnailsAtOnce = 5000;
inline constexpr std::int64_t kLatestThumbnailTime = 9'999'999'999;  // ms, about 115 days

// Asks a reading child for the frame shown at each time (milliseconds from the first frame;
// the frame whose start is nearest, of two as near the later; the last frame for a time past
// it), scaled to width pixels (1 to 4096) with the picture's aspect kept. Exact pictures cost a
// seek to the key frame before and decoding on, up to seconds each where key frames are far
// apart; so every time first gets a quick picture, the key frame before it (exact when that is
// the nearest frame, as for a chapter on a key frame), and then, where it was not, the exact
// one, each in order of time (video/video_entry.h). Each thumbnail goes to on_thumbnail as soon
// as it is decoded, on the calling thread; on_thumbnail returns false to stop, and then the child
// is ended and nothing is returned. Then returns the video's frames and key frames, as
// ReadVideoFrames does. All within the deadline. Throws Error for more than
// kMostThumbnailsAtOnce times, a time outside 0 to kLatestThumbnailTime or a width outside
// 1 to 4096, and ReadError naming the file when the video cannot be read.
using ThumbnailHandler = std::function<bool(Thumbnail&& thumbnail)>;
std::optional<VideoFrames> ReadThumbnails(const std::filesystem::path& path,
                                          const std::vector<std::int64_t>& times, int width,
                                          const ThumbnailHandler& on_thumbnail,
                                          std::chrono::milliseconds deadline = kVideoReadDeadline);

// A thumbnail as the texts of a part of the child's answer, and back; nothing for texts that
// are no thumbnail of width pixels for one of count times.
std::vector<std::string> ThumbnailTexts(const VideoThumbnail& thumbnail);
std::optional<Thumbnail> ThumbnailFromTexts(const std::vector<std::string>& texts, int width,
                                            std::size_t count);

}  // namespace markwright
