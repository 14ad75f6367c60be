#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/chapter.h"

namespace markwright {

// A reader builds a new TitleChapters; the caller swaps it in only when the read succeeded, so a
// failed read leaves the old list alone.

// Every chapter re-timed from the input to the output frame rate, in order, with its name and
// language; the title's length is scaled like the chapters.
TitleChapters RetimeChapters(const TitleChapters& title, double input_rate, double output_rate);

// The same in place, for a caller that no longer needs the input timing: a large list is then
// never held twice.
void RetimeChaptersInPlace(TitleChapters& title, double input_rate, double output_rate);

// How many of the ends a source states for its chapters (ends[i] for chapter i, nullopt where it
// states none) the chapters cannot give back: an end is kept when it is the start of the next
// chapter in time or the title's length, or no chapter starts later.
std::size_t EndsNotKept(const TitleChapters& title,
                        const std::vector<std::optional<std::int64_t>>& ends);

}  // namespace markwright
