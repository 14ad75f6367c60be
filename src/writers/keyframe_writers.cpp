#include "writers/keyframe_writers.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "core/decimal.h"
#include "core/timestamp.h"

namespace markwright {

std::string WriteFfmpegKeyFrames(const TitleChapters& title, const FrameClock& output_clock) {
  std::string text;
  const auto rate = output_clock.ConstantRate();
  for (const Chapter& chapter : title.chapters) {
    const std::int64_t frame = output_clock.FrameAt(chapter.start, FrameTie::kEven);
    const double start =
        rate ? static_cast<double>(frame) * 1000 / *rate : output_clock.FrameStart(frame);
    // The 15-digit rounding keeps 5005 ms from becoming 5004.999... and then 5.004.
    const auto milliseconds = static_cast<long long>(std::floor(RoundTo15Digits(start)));
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%lld.%03lld", milliseconds / 1000, milliseconds % 1000);
    if (!text.empty()) text += ',';
    text += seconds;
  }
  return text;
}

}  // namespace markwright
