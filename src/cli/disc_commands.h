#pragma once

#include <filesystem>
#include <iosfwd>
#include <string_view>
#include <vector>

#include "core/error.h"

namespace markwright {

// The whole command line: the long options (discs, listing, batches, shift and tidy) and the
// classic conversion. A run without long options and without a disc folder as input is
// RunCommandLine on the classic argument text, byte for byte. show_progress: whether a progress
// line may be drawn on errors (a terminal).
ExitStatus RunFullCommandLine(const std::vector<std::string_view>& arguments,
                              const std::filesystem::path& program_folder, std::ostream& output,
                              std::ostream& errors, bool show_progress);

// Text as a JSON string, quotes included: control characters escaped, bytes that are not UTF-8
// replaced by U+FFFD so the document stays valid.
std::string JsonString(std::string_view text);

}  // namespace markwright
