#pragma once

#include <filesystem>
#include <iosfwd>
#include <string_view>

#include "core/error.h"

namespace markwright {

// One conversion driven by the argument text (-i, -o, -f, -infps, -outfps): reads the input,
// re-times its chapters, writes the output in the chosen format. program_folder receives
// chapter.txt when -o is absent. Throws Refusal for the checked failures, in the order the
// checks run, and Error for any other failure; nothing is written unless everything succeeded.
void ConvertCommandLine(std::string_view argument_text,
                        const std::filesystem::path& program_folder);

// The command-line mode as a whole: --help, -h and --version, or one conversion. Failures are
// reported as "Markwright: <message>" on errors; a Refusal ends with kRefused, any other
// failure with kFailed.
ExitStatus RunCommandLine(std::string_view argument_text,
                          const std::filesystem::path& program_folder, std::ostream& output,
                          std::ostream& errors);

}  // namespace markwright
