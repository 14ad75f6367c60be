#pragma once

#include <string_view>

#include "core/chapter.h"

namespace markwright {

// Whether the line (blanks before it allowed) begins with a command a CUE sheet starts with that
// no older kind claims: REM, PERFORMER, TITLE, FILE or SONGWRITER, then a blank. (A sheet that
// starts with CATALOG or CDTEXTFILE keeps the road of its first character.)
bool IsCueSheetStart(std::string_view line);

// The chapters of a CUE sheet of one FILE: each TRACK's INDEX 01 (mm:ss:ff, 75 frames a second)
// is a chapter named by the track's TITLE. A frame is 40/3 ms; the time is rounded to the nearest
// millisecond (no frame falls on a half). Commands are matched in any letter case; REM comments,
// the sheet's own TITLE and PERFORMER, and the other commands of a sheet (PERFORMER, SONGWRITER,
// FLAGS, ISRC, PREGAP, POSTGAP, CATALOG, CDTEXTFILE, other INDEXes) are read and passed over.
// The FILE's name is kept as the title's media file. A file that is not UTF-8 throughout is read
// as Windows-1252. Throws ReadError naming path and the line for a second FILE (each file's times
// start again at 0, so one list cannot hold them), a TRACK before the FILE, an unknown command,
// a malformed TRACK or INDEX, a track without INDEX 01, or a sheet without tracks.
TitleChapters ParseCueSheet(std::string_view text, std::string_view path);

}  // namespace markwright
