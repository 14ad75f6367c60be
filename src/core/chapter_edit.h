#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
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

// Edits of single chapters, made in the window. Each names its chapters by id: a chapter's position
// in the list as read, and for a chapter added later the next number past every id given so far.
// Times are kept as the source time they stand for (input timing), so that the same edits made
// again after a rate change keep each chapter where the user put it in the video.
using ChapterId = std::uint32_t;

// New names for the chapters, in the order of the ids.
struct RenameChapters {
  std::vector<ChapterId> ids;
  std::vector<std::string> names;
};
// A chapter moved to a new start; it takes the place among the others that keeps them in order.
struct MoveChapter {
  ChapterId id;
  std::int64_t source_start;
};
// A new chapter, placed after every chapter that starts at or before it.
struct AddChapter {
  ChapterId id;
  std::int64_t source_start;
  std::string name;
  LanguageTag language;
};
struct DeleteChapters {
  std::vector<ChapterId> ids;
};
struct SetChapterLanguage {
  std::vector<ChapterId> ids;
  LanguageTag language;
};

// Any edit of a list: a shift or a drop of short chapters as the command line makes them, or one
// of the edits above.
using ListEdit = std::variant<ChapterEditRequest, RenameChapters, MoveChapter, AddChapter,
                              DeleteChapters, SetChapterLanguage>;

// Chapters re-timed and edited, with the id of each.
struct EditedChapters {
  TitleChapters title;
  std::vector<ChapterId> ids;
};

// The chapters as read re-timed to the output rate, each with its id (its position).
EditedChapters StartEditing(const TitleChapters& source, double input_rate, double output_rate);

// Applies one edit (times re-timed from the input to the output rate) and returns the chapters a
// shift or a drop of short chapters dropped. Ids no longer listed are passed over. Throws what
// ApplyChapterEdit and RetimeMilliseconds throw, before anything changes.
std::vector<Chapter> ApplyListEdit(const ListEdit& edit, EditedChapters& chapters,
                                   double input_rate, double output_rate);

// The source time (input timing) whose re-timed time is the given time at the output rate: the
// nearest one when no source time maps on it exactly.
std::int64_t SourceTimeAt(std::int64_t milliseconds, double input_rate, double output_rate);

// The time a text gives for a chapter at the output rate: a time H:MM:SS with an optional fraction
// ("0:01:30", "00:01:30.250") or a frame number at the output rate ("2158", "2158f"). Throws
// Refusal naming the text for anything else.
std::int64_t ParseChapterTime(std::string_view text, double output_rate);

// The names in a text, one a line in order (LF or CR LF; a last line end adds no name), a
// byte-order mark at the start dropped.
std::vector<std::string> NamesFromLines(std::string_view text);

// The name a template gives the chapter numbered number (from 1): each <NUM> becomes the number,
// each <NUM:width> the number with leading zeros to that width (at most 9); other text is kept.
std::string NameFromTemplate(std::string_view name_template, std::size_t number);

}  // namespace markwright
