#pragma once

#include <string>

#include "core/chapter.h"

namespace markwright {

// A CUE sheet of one FILE (the title's media file, else "audio.wav"; its type MP3, AIFF or WAVE
// by the name's extension) with one TRACK nn AUDIO per chapter, numbered from 01: the chapter's
// name as TITLE (ChapterLabel; a double quote, which the sheet cannot carry inside a quoted
// value, becomes a single one) and its start as INDEX 01 mm:ss:ff at the nearest of 75 frames a
// second (a tie to the even frame). LF line ends. Throws Refusal for no chapter or more than 99,
// the most a sheet numbers.
std::string WriteCueSheet(const TitleChapters& title);

}  // namespace markwright
