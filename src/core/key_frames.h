#pragma once

#include <cstdint>
#include <vector>

#include "core/frame_times.h"

namespace markwright {

// Where a chapter stands against the key frames of the video it is written for.
struct KeyFrameDistance {
  std::int64_t frame = 0;      // the chapter's frame
  std::int64_t key_frame = 0;  // the nearest key frame (of two as near, the earlier)
  std::int64_t frames = 0;     // key_frame - frame
  // The key frame's start in whole milliseconds (half to even) and its distance from the chapter.
  std::int64_t key_start = 0;
  std::int64_t milliseconds = 0;

  bool operator==(const KeyFrameDistance&) const = default;
};

// The chapter at the time in milliseconds against the key frames (frame numbers, ascending, at
// least one) of the clock's frames. Throws Error as FrameClock::FrameAt does, and for no key frame.
KeyFrameDistance NearestKeyFrame(const FrameClock& clock,
                                 const std::vector<std::int64_t>& key_frames,
                                 std::int64_t milliseconds);

// Whether the chapter is at most tolerance frames from its key frame.
inline bool WithinTolerance(const KeyFrameDistance& distance, std::int64_t tolerance) {
  return distance.frames <= tolerance && -distance.frames <= tolerance;
}

}  // namespace markwright
