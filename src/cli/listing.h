#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "cli/convert.h"
#include "cli/progress_line.h"
#include "cli/streams.h"

namespace markwright {

// --list (a line per stream: number, source, chapters, length when known) or --json (the same as
// an array of objects). Every stream is read before anything is printed: a stream that fails
// throws and leaves no half listing (or a JSON document without its end) behind.
void ListStreams(const std::vector<Stream>& streams, bool json, const ConversionRates& rates,
                 std::ostream& printed, ProgressLine& progress);

// What a listing line of an edition ends with: "  default ordered" for the flags it has set,
// nothing when none is.
std::string EditionWords(const MatroskaXmlEdition& edition);

// Text as a JSON string, quotes included: control characters escaped, bytes that are not UTF-8
// replaced by U+FFFD so the document stays valid.
std::string JsonString(std::string_view text);

}  // namespace markwright
