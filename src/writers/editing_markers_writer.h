#pragma once

#include <string>

#include "core/chapter.h"
#include "core/frame_times.h"

namespace markwright {

// Marker lists for editing software. Each chapter goes on its frame at the output rate (a whole
// rate or an NTSC rate, 23.976, 29.97 and 59.94; a timestamp file's frames count when they have
// such a constant rate); 29.97 and 59.94 are labelled in drop-frame counting. Both throw Refusal
// for any other rate, which has no timecode.

// DaVinci Resolve's marker EDL (Timeline > Import > Timeline Markers from EDL), LF line ends:
// "TITLE: Chapters", "FCM: NON-DROP FRAME" (or DROP FRAME), a blank line, then per chapter the
// event "001  001      V     C        " with its frame's timecode and the next frame's as source
// and record in and out, the marker line " |C:ResolveColorBlue |M:" + ChapterLabel + " |D:1" and a
// blank line. The timeline starts at 01:00:00:00, as Resolve's do; the frame field follows ';' in
// drop-frame counting.
std::string WriteResolveEdl(const TitleChapters& title, const FrameClock& output_clock);

// FCPXML 1.9 for Final Cut Pro (File > Import > XML): a format of the output rate's frame
// duration (1001/30000s for 29.97, 100/2500s for 25), one event and project whose sequence holds
// one gap as long as the title (at least to the frame after the last chapter) with a one-frame
// chapter-marker per chapter, named by ChapterLabel. Times are whole frames in the frame
// duration's denominator ("3003/30000s"; whole seconds as "3s"). Throws Refusal for a list
// without chapters.
std::string WriteFcpxml(const TitleChapters& title, const FrameClock& output_clock);

}  // namespace markwright
