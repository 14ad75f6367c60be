#pragma once

#include <string>
#include <vector>

namespace markwright {

// Chapter start times in reader order, each a timestamp text (HH:MM:SS.mmm). Never sorted, never
// de-duplicated: the order and the duplicates are the source's. A reader builds a new list; the
// caller swaps it in only when the read succeeded, so a failed read leaves the old list alone.
using ChapterList = std::vector<std::string>;

// Every chapter re-timed from the input to the output frame rate, in order.
ChapterList RetimeChapters(const ChapterList& chapters, double input_rate, double output_rate);

}  // namespace markwright
