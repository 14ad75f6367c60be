#include "writers/keyframe_writers.h"

#include <cmath>
#include <cstdio>

#include "core/decimal.h"
#include "core/timestamp.h"

namespace markwright {

std::string WriteFfmpegKeyFrames(const TitleChapters& title, double output_rate) {
  std::string text;
  for (const Chapter& chapter : title.chapters) {
    const double frame = TimestampToFrame(chapter.start, output_rate);
    // The 15-digit rounding keeps 5005 ms from becoming 5004.999... and then 5.004.
    const auto milliseconds =
        static_cast<long long>(std::floor(RoundTo15Digits(frame * 1000 / output_rate)));
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%lld.%03lld", milliseconds / 1000, milliseconds % 1000);
    if (!text.empty()) text += ',';
    text += seconds;
  }
  return text;
}

}  // namespace markwright
