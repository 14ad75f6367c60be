#pragma once

#include <string>

#include "core/chapter.h"
#include "core/frame_times.h"

namespace markwright {

// The list ffmpeg's -force_key_frames takes, on one line without a line end
// ("0.000,310.520,1200.960"): for each chapter, the start of its frame at the output rate (the
// frame the x264 QP file names) in seconds, truncated to three decimals. ffmpeg 6 and later force
// the first frame at or after each time, ffmpeg 5 the frame nearest to it; a time at or at most a
// millisecond before the frame's start gives the same frame in both, where the chapter's own
// rounded time could fall just after it and move the key frame to the next one.
std::string WriteFfmpegKeyFrames(const TitleChapters& title, const FrameClock& output_clock);

}  // namespace markwright
