#pragma once

#include <string>

#include "core/chapter.h"

namespace markwright {

// A WebVTT chapter track with LF line ends: "WEBVTT", a blank line, then one cue per chapter,
// each followed by a blank line. A cue runs from its chapter's start (HH:MM:SS.mmm) to the
// earliest later chapter start, wherever that chapter stands in the list, since a cue must end
// after it starts; a cue with no later chapter ends at the title's length when that is known and
// later than its start, otherwise one second after its start. The cue text is ChapterLabel's, with
// '&', '<' and
// '>' written as &amp;, &lt; and &gt;.
std::string WriteWebVtt(const TitleChapters& title);

}  // namespace markwright
