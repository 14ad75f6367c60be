#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/chapter.h"

namespace markwright {

// One edit of a chapter list as asked for (--shift or --min-length on the command line, the Edit
// menu in the window), its value as typed.
struct ChapterEditRequest {
  enum class Kind { kShift, kMinLength } kind;
  std::string value;
};

// The shift a text asks for, in milliseconds: seconds ("1.5s", "-2s"), milliseconds ("1500ms"),
// a time H:MM:SS with an optional fraction ("00:00:01.500", "-0:00:02"), or a whole number of
// frames at the output rate ("24f", "-12f"). Throws Refusal naming the text for anything else.
double ParseShift(std::string_view text, double output_rate);

// The shortest length to keep a text asks for, in seconds: a decimal number from 0 to 1e9. Throws
// Refusal naming the text for anything else.
double ParseMinLength(std::string_view text);

// Throws the Refusal ParseShift or ParseMinLength throws for the edit's value, so that a mistyped
// value refuses a run before anything is read.
void CheckChapterEdit(const ChapterEditRequest& edit);

// Applies the edit with ShiftChapters (frames counted at output_rate) or DropShortChapters and
// returns the chapters it dropped; a value it cannot read throws before anything changes.
// kept_from as for ShiftChapters.
std::vector<Chapter> ApplyChapterEdit(const ChapterEditRequest& edit, TitleChapters& title,
                                      double output_rate,
                                      std::vector<std::size_t>* kept_from = nullptr);

// Adds the milliseconds to every chapter, rounded half to even to the millisecond. A chapter that
// would start before 0 starts at 0, and of several chapters that end up at 0 only the first
// stays, name and all. The title's length moves with the chapters (clamped at 0): a shift stands
// for the video being cut or lengthened at its start, which changes its end as much. Returns the
// chapters it dropped, as they were before the shift. When kept_from is given, it receives each
// chapter's position before the shift, so a caller can still name a chapter as the source counts.
std::vector<Chapter> ShiftChapters(TitleChapters& title, double milliseconds,
                                   std::vector<std::size_t>* kept_from = nullptr);

// Drops each chapter that starts less than min_seconds after the previous chapter kept (the
// first chapter always stays; a chapter earlier than that one is dropped too), then, when the
// title's length is known, a last chapter that starts less than min_seconds before the end: the
// stub many discs put just before the end. Returns the dropped chapters, that stub last. A
// min_seconds of 0 or less drops nothing. kept_from as for ShiftChapters.
std::vector<Chapter> DropShortChapters(TitleChapters& title, double min_seconds,
                                       std::vector<std::size_t>* kept_from = nullptr);

}  // namespace markwright
