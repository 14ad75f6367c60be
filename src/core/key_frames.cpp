#include "core/key_frames.h"

#include <algorithm>
#include <cmath>

#include "core/error.h"

namespace markwright {

KeyFrameDistance NearestKeyFrame(const FrameClock& clock,
                                 const std::vector<std::int64_t>& key_frames,
                                 std::int64_t milliseconds) {
  if (key_frames.empty()) throw Error(std::string(clock.File()) + ": the video has no key frame");
  KeyFrameDistance distance;
  distance.frame = clock.FrameAt(milliseconds, FrameTie::kEven);
  const auto after = std::ranges::lower_bound(key_frames, distance.frame);
  std::int64_t nearest = after == key_frames.end() ? key_frames.back() : *after;
  if (after != key_frames.begin() && distance.frame - *(after - 1) <= nearest - distance.frame) {
    nearest = *(after - 1);
  }
  if (after == key_frames.end()) nearest = key_frames.back();
  distance.key_frame = nearest;
  distance.frames = nearest - distance.frame;
  distance.key_start = static_cast<std::int64_t>(std::nearbyint(clock.FrameStart(nearest)));
  distance.milliseconds = distance.key_start - milliseconds;
  return distance;
}

}  // namespace markwright
