#pragma once

#include <string>
#include <vector>

#include "core/chapter.h"

namespace markwright {

// A plain list for a video's description, one line per chapter with LF line ends: its start and
// ChapterLabel's text, "M:SS Name", or "H:MM:SS Name" on every line once a chapter starts an hour
// or more in. Seconds are truncated, as video sites show a chapter's time.
std::string WriteTimeList(const TitleChapters& title);

// One line for each rule of video sites the list breaks: the first chapter not at 0:00, fewer
// than three chapters, and each chapter shorter than 10 s (named; the last one counts only when
// the title's length is known; its name escaped as messages escape file text, since notes are
// shown as messages). Empty when the list keeps them all.
std::vector<std::string> TimeListNotes(const TitleChapters& title);

}  // namespace markwright
