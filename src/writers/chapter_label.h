#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chapter.h"

namespace markwright {

// Appends the name with each line break (CR LF, CR or LF) written as a blank, so that it stays
// on the line it is put on.
void AppendOnOneLine(std::string& text, std::string_view name);

// The chapter's name on one line, as list-like outputs show it: each line break (CR LF, CR or
// LF) becomes a blank, since a line of its own would end the entry; "Chapter N" (N counting from
// 1 at index 0) when the chapter has no name.
std::string ChapterLabel(const Chapter& chapter, std::size_t index);

// Appends c, or its entity when it is one of the characters markup gives a meaning (&, <, >).
// False, and nothing appended, for any other character, which the caller writes as its format
// allows.
bool AppendMarkupEntity(std::string& text, char c);

// For each chapter, in list order, the start in whole milliseconds of the chapter that follows
// it in time, the earliest start strictly after its own, so that a list out of order or with
// equal times still gives every chapter an end after its start. nullopt when no chapter starts
// later. For a sorted list of distinct times this is simply the next chapter's start.
std::vector<std::optional<std::int64_t>> FollowingStarts(const TitleChapters& title);

}  // namespace markwright
