#pragma once

#include <string>
#include <string_view>

#include "core/chapter_list.h"
#include "core/frame_times.h"

namespace markwright {

// Lists for encoders and multiplexers, one value per chapter. A frame number is the chapter's
// frame on the output clock (FrameClock::FrameAt, a tie going to the even frame). None of them
// reads the input rate text.

// "<frame> I" per chapter: x264's --qpfile, which forces a keyframe at each chapter.
std::string WriteX264QpText(const TitleChapters& retimed_chapters, const FrameClock& output_clock,
                            std::string_view input_rate_text);

// "*CHAPTER" with ten blanks and the chapter count, then one frame number per chapter.
std::string WriteHcEncText(const TitleChapters& retimed_chapters, const FrameClock& output_clock,
                           std::string_view input_rate_text);

// One frame number per chapter except the first: the first cell starts at 0 anyway.
std::string WriteCelltimesText(const TitleChapters& retimed_chapters,
                               const FrameClock& output_clock, std::string_view input_rate_text);

// One frame number per chapter, the first included.
std::string WriteMuxmanText(const TitleChapters& retimed_chapters, const FrameClock& output_clock,
                            std::string_view input_rate_text);

// "--custom-chapters=" and the timestamps joined by ";", without a line end.
std::string WriteTsMuxerText(const TitleChapters& retimed_chapters, const FrameClock& output_clock,
                             std::string_view input_rate_text);

// One timestamp per chapter.
std::string WriteTimecodesText(const TitleChapters& retimed_chapters,
                               const FrameClock& output_clock, std::string_view input_rate_text);

}  // namespace markwright
