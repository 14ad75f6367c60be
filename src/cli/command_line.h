#pragma once

#include <filesystem>
#include <iosfwd>
#include <string_view>
#include <vector>

#include "core/error.h"

namespace markwright {

// The command-line mode as a whole, from the program's arguments: --help, -h and --version, one
// conversion (-i -o -f -infps -outfps, with --shift and --min-length), a stream of a disc folder
// or of a playlist (--stream), the listing (--list, --json) or the batch (--all). Every failure
// is reported as "Markwright: <message>" on errors and ends the run with kRefused for a Refusal,
// kFailed for any other. show_progress: whether a progress line may be drawn on errors (a
// terminal).
ExitStatus RunCommandLine(const std::vector<std::string_view>& arguments,
                          const std::filesystem::path& program_folder, std::ostream& output,
                          std::ostream& errors, bool show_progress);

}  // namespace markwright
