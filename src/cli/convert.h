#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "readers/load_chapters.h"
#include "writers/format_table.h"

namespace markwright {

// One conversion driven by the argument text (-i, -o, -f, -infps, -outfps): reads the input,
// re-times its chapters, writes the output in the chosen format. program_folder receives
// chapter.txt when -o is absent (-o, -infps or -outfps given without a value is refused). Throws
// Refusal for the checked failures, in the order the checks run, and Error for any other
// failure; nothing is written unless everything succeeded.
// What the long options change in one conversion; the defaults leave it as it always was.
struct ConversionHooks {
  // Reads the input in place of LoadChapters on the -i file (a stream of a disc folder, which
  // -i may then name).
  std::function<LoadedChapters(double input_rate, double output_rate)> load;
  // Changes the re-timed chapters before the format is built (shift and tidy); returns, for each
  // chapter left, its position in the source, so a failure names the chapter the source holds.
  std::function<std::vector<std::size_t>(TitleChapters& retimed, double output_rate)> edit;
};
// Returns the format's notes on the list it wrote (see FormatNotesFor), one line each.
std::vector<std::string> ConvertCommandLine(std::string_view argument_text,
                                            const std::filesystem::path& program_folder,
                                            const ConversionHooks& hooks = {});

// The format's text of the re-timed chapters. A chapter the format cannot express is a fault of
// the source: the Error names source, the chapter as the source counts it (sources[i] is the
// source position of chapter i after edits dropped some; empty when none were dropped) and the
// format. A Refusal passes through.
std::string BuildConvertedText(std::string_view source, const TitleChapters& retimed,
                               const DestinationFormat& format, double output_rate,
                               std::string_view input_rate_text,
                               const std::vector<std::size_t>& sources = {});

// The command-line mode as a whole: --help, -h and --version, or one conversion. Failures are
// reported as "Markwright: <message>" on errors; a Refusal ends with kRefused, any other
// failure with kFailed.
ExitStatus RunCommandLine(std::string_view argument_text,
                          const std::filesystem::path& program_folder, std::ostream& output,
                          std::ostream& errors);

}  // namespace markwright
