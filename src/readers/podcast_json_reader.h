#pragma once

#include <string_view>

#include "core/chapter.h"

namespace markwright {

// The chapters of a Podcasting 2.0 JSON chapters file: an object whose "chapters" array holds
// one object per chapter, its "startTime" in seconds (rounded half away from zero to the
// millisecond on the number's shortest decimal form), "title" as the name, "url" and "img" as the
// chapter's link and image, and "toc": false marking it hidden (kept: podcast apps still show its
// picture). The length is the latest "endTime". "version" and every field this list does not name
// are passed over. A file that is not UTF-8 throughout is read as Windows-1252. Throws ReadError
// naming path and the line for malformed JSON, and the chapter for a missing or malformed
// startTime or a field of the wrong type; also for no "chapters" array or an empty one.
TitleChapters ParsePodcastJsonChapters(std::string_view bytes, std::string_view path);

}  // namespace markwright
