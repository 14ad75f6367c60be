#pragma once

#include <string>
#include <string_view>

#include "core/chapter_list.h"
#include "core/frame_times.h"

namespace markwright {

// Formats of encoders and authoring tools. Most write each chapter as a frame timecode
// HH:MM:SS:FF: the timestamp's clock part and a frame field of its milliseconds / 1000.1 x the
// output rate, with at least two digits.

// "%Frame Rate", a tab and the code of the input rate, then one timecode per chapter with the
// frame field rounded half to even; a field that reaches the nominal rate starts the next
// second. The input rate text is a window label ("29.970") or a decimal ("23.976023976024");
// its whole part picks the code. Throws Refusal for a rate without a code.
std::string WriteCceSpText(const TitleChapters& retimed_chapters, const FrameClock& output_clock,
                           std::string_view input_rate_text);

// One timecode per chapter, the frame field rounded down.
std::string WriteCinevisionText(const TitleChapters& retimed_chapters,
                                const FrameClock& output_clock, std::string_view input_rate_text);

// The input rate text and "NonDrop", then one timecode per chapter, the frame field rounded
// down.
std::string WriteScenaristText(const TitleChapters& retimed_chapters,
                               const FrameClock& output_clock, std::string_view input_rate_text);

// "$Spruce_IFrame_List", then one timecode per chapter, the frame field rounded down.
std::string WriteMaestroText(const TitleChapters& retimed_chapters, const FrameClock& output_clock,
                             std::string_view input_rate_text);

// chapters="t1,t2,..." with the timestamps as they are, without a line end: dvdauthor reads
// [[h:]mm:]ss[.frac] with the fraction in seconds, so the milliseconds are the exact fraction.
std::string WriteDvdAuthorText(const TitleChapters& retimed_chapters,
                               const FrameClock& output_clock, std::string_view input_rate_text);

}  // namespace markwright
