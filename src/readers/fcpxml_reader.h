#pragma once

#include <string_view>

#include "core/chapter.h"

namespace markwright {

// The chapter markers of a Final Cut Pro XML file (FCPXML 1.x, root element fcpxml). Of the first
// project's sequence (else the first sequence in the file, a compound clip's), every chapter-marker
// anywhere in its spine, in file order, at its place on the sequence's timeline: a marker's start
// is in the timeline of the clip that holds it, which sits at its offset in its parent's timeline
// from its own start on (offset - start is added at each clip up to the spine; a spine inside a
// clip is timed in that clip's timeline), less the sequence's tcStart. A marker outside the part of
// its clip the timeline shows (before the clip's start or at its start + duration or later) is left
// out, as Final Cut Pro hides it. Named by its value. Times are rational ("1001/30000s", "5s") and
// rounded half to even to the millisecond once, at the end; speed changes (timeMap, conform-rate)
// are not applied. The sequence's duration is the title's length. Plain markers and to-do markers
// are not chapters. Document type declarations are skipped unread, so no entity is ever expanded.
// Throws ReadError naming the line for malformed XML or a malformed time, and for a file without a
// sequence or without chapter markers, a marker before the sequence's start or one too far out for
// the chapter times.
TitleChapters ParseFcpxml(std::string_view bytes, std::string_view source_name);

}  // namespace markwright
