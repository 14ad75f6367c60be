#include "cli/convert.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <ostream>
#include <string>

#include "cli/help_text.h"
#include "cli/long_options.h"
#include "cli/options.h"
#include "core/decimal.h"
#include "core/error.h"
#include "core/frame_rate.h"
#include "markwright/version.h"
#include "readers/load_chapters.h"
#include "writers/format_table.h"
#include "writers/text_file.h"

namespace markwright {
namespace {

// The rate as the conversion carries it: the shortest decimal text of at most 15 significant
// digits, which every later step reads back.
std::string NormalisedRate(const std::string& text) {
  return FormatDecimal15(text.empty() ? kDefaultFrameRate : ParseFrameRate(text));
}

std::filesystem::path FolderPart(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash + 1);
}

// Only after the whole format failed: the first chapter that fails written alone is the one to
// blame, named as the source counts it.
[[noreturn]] void BlameChapter(std::string_view source, const TitleChapters& retimed,
                               const DestinationFormat& format, double output_rate,
                               std::string_view input_rate_text,
                               const std::vector<std::size_t>& sources, const Error& failure) {
  const auto& chapters = retimed.chapters;
  for (std::size_t index = 0; index < chapters.size(); ++index) {
    TitleChapters alone;
    alone.chapters.push_back(chapters[index]);
    try {
      BuildFormatText(format, alone, output_rate, input_rate_text);
    } catch (const Error& chapter_failure) {
      const std::size_t number = (index < sources.size() ? sources[index] : index) + 1;
      throw Error(std::string(source) + ": chapter " + std::to_string(number) +
                  " cannot be written as " + std::string(format.key) + ": " +
                  chapter_failure.what());
    }
  }
  throw Error(std::string(source) + " cannot be written as " + std::string(format.key) + ": " +
              failure.what());
}

}  // namespace

std::string BuildConvertedText(std::string_view source, const TitleChapters& retimed,
                               const DestinationFormat& format, double output_rate,
                               std::string_view input_rate_text,
                               const std::vector<std::size_t>& sources) {
  try {
    return BuildFormatText(format, retimed, output_rate, input_rate_text);
  } catch (const Refusal&) {
    throw;
  } catch (const Error& failure) {
    BlameChapter(source, retimed, format, output_rate, input_rate_text, sources, failure);
  }
}

std::vector<std::string> ConvertCommandLine(std::string_view argument_text,
                                            const std::filesystem::path& program_folder,
                                            const ConversionHooks& hooks) {
  const std::string input_path = GetOption(argument_text, "i");
  const std::string format_key = GetOption(argument_text, "f");

  if (input_path.empty()) throw InputNotSpecified();
  std::error_code error;
  if (!hooks.load && !std::filesystem::is_regular_file(input_path, error)) {
    throw CannotOpenInput();
  }
  std::string output_path = ValueOrAbsent(argument_text, "o");
  if (output_path.empty()) output_path = (program_folder / "chapter.txt").string();
  const std::filesystem::path output_folder = FolderPart(output_path);
  if (!output_folder.empty() && !std::filesystem::is_directory(output_folder, error)) {
    throw OutputPathMissing();
  }
  const std::string input_rate_text = NormalisedRate(ValueOrAbsent(argument_text, "infps"));
  const std::string output_rate_text = NormalisedRate(ValueOrAbsent(argument_text, "outfps"));
  const double input_rate = std::strtod(input_rate_text.c_str(), nullptr);
  const double output_rate = std::strtod(output_rate_text.c_str(), nullptr);
  if (format_key.empty()) throw FormatNotSpecified();

  try {
    LoadedChapters loaded = hooks.load ? hooks.load(input_rate, output_rate)
                                       : LoadRetimedChapters(input_path, input_rate, output_rate);
    const std::vector<std::size_t> sources =
        hooks.edit ? hooks.edit(loaded.retimed, output_rate) : std::vector<std::size_t>{};
    const DestinationFormat* format = FindFormatByKey(format_key);
    if (format == nullptr) throw UnknownDestinationFormat();
    WriteTextFile(output_path, BuildConvertedText(input_path, loaded.retimed, *format, output_rate,
                                                  input_rate_text, sources));
    return FormatNotesFor(*format, loaded.retimed);
  } catch (const std::bad_alloc&) {
    throw Error(input_path + ": not enough memory");
  }
}

namespace {

// Help and version are the run's output: when they cannot be written, the run failed.
ExitStatus Printed(std::ostream& output, std::ostream& errors) {
  errno = 0;
  output.flush();
  if (output) return ExitStatus::kDone;
  errors << "Markwright: cannot write to standard output"
         << (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string()) << '\n';
  return ExitStatus::kFailed;
}

}  // namespace

ExitStatus RunCommandLine(std::string_view argument_text,
                          const std::filesystem::path& program_folder, std::ostream& output,
                          std::ostream& errors) {
  if (argument_text == "--help" || argument_text == "-h") {
    output << HelpText("\n") << "\n\n" << MoreFormatsHelp("\n") << LongOptionsHelp();
    return Printed(output, errors);
  }
  if (argument_text == "--version") {
    output << "Markwright " << kVersionText << '\n';
    return Printed(output, errors);
  }
  try {
    // Notes on a list that was still written, such as a rule of video sites it breaks.
    for (const std::string& note : ConvertCommandLine(argument_text, program_folder)) {
      errors << "Markwright: note: " << note << '\n';
    }
    return ExitStatus::kDone;
  } catch (const Refusal& refusal) {
    // Paths and library texts in a message may hold anything; the terminal must not obey them.
    errors << "Markwright: " << EscapedText(refusal.what()) << '\n';
    return ExitStatus::kRefused;
  } catch (const std::exception& failure) {
    errors << "Markwright: " << EscapedText(failure.what()) << '\n';
    return ExitStatus::kFailed;
  }
}

}  // namespace markwright
