#pragma once

#include <string_view>

#include "core/chapter.h"

namespace markwright {

// The markers of an edit decision list as DaVinci Resolve exports a timeline's markers (CMX 3600:
// "TITLE:", "FCM: NON-DROP FRAME" or "FCM: DROP FRAME", then one event per marker followed by a
// line " |C:ResolveColorBlue |M:Name |D:1"). Each event (a line whose first word is a number of
// three or more digits) is a chapter at its record-in timecode, named by the |M: text of the
// marker line after it (none when it has none); comment lines, notes and other lines are passed
// over. Timecodes count frames at input_rate; drop-frame at 29.97 and 59.94 when the FCM line
// before the event says DROP FRAME or the timecode has a ';'. The timeline is taken to start at
// the whole hour of the earliest record-in (01:00:00:00, Resolve's default, for markers in the
// first hour), which becomes 0. The text is UTF-8, else Windows-1252. Throws ReadError naming the
// line for a malformed event or timecode, a timecode no frame has, an unknown FCM, and for a list
// without events or a rate without timecode (see TimecodeBaseOf).
TitleChapters ParseResolveEdl(std::string_view bytes, std::string_view source_name,
                              double input_rate);

}  // namespace markwright
