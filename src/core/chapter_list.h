#pragma once

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

}  // namespace markwright
