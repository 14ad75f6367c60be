#include "cli/convert.h"

#include <cstdlib>
#include <ostream>
#include <string>

#include "cli/help_text.h"
#include "cli/options.h"
#include "core/chapter_list.h"
#include "core/decimal.h"
#include "core/error.h"
#include "core/frame_rate.h"
#include "markwright/version.h"
#include "readers/read_source.h"
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

}  // namespace

void ConvertCommandLine(std::string_view argument_text,
                        const std::filesystem::path& program_folder) {
  const std::string input_path = GetOption(argument_text, "i");
  std::string output_path = GetOption(argument_text, "o");
  const std::string input_rate_option = GetOption(argument_text, "infps");
  const std::string output_rate_option = GetOption(argument_text, "outfps");
  const std::string format_key = GetOption(argument_text, "f");

  if (input_path.empty()) throw Refusal("Input file is not specified!");
  std::error_code error;
  if (!std::filesystem::is_regular_file(input_path, error))
    throw Refusal("Cannot open input file!");
  if (output_path.empty()) output_path = (program_folder / "chapter.txt").string();
  const std::filesystem::path output_folder = FolderPart(output_path);
  if (!output_folder.empty() && !std::filesystem::is_directory(output_folder, error)) {
    throw Refusal("output path is not exist!");
  }
  const std::string input_rate_text = NormalisedRate(input_rate_option);
  const std::string output_rate_text = NormalisedRate(output_rate_option);
  const double input_rate = std::strtod(input_rate_text.c_str(), nullptr);
  const double output_rate = std::strtod(output_rate_text.c_str(), nullptr);
  if (format_key.empty()) throw Refusal("output format is not specified!");

  const ChapterList chapters = LoadChapterFile(input_path, input_rate);
  ChapterList retimed;
  try {
    retimed = RetimeChapters(chapters, input_rate, output_rate);
  } catch (const Error& failure) {
    // The times came from the input: say which file holds the one that cannot be re-timed.
    throw ReadError(input_path, "", failure.what());
  }

  const DestinationFormat* format = FindFormatByKey(format_key);
  if (format == nullptr) throw Refusal("Unknown destination format!");
  std::string text;
  try {
    text = BuildFormatText(*format, retimed, output_rate, input_rate_text);
  } catch (const Refusal&) {
    throw;
  } catch (const Error& failure) {
    throw WriteError("cannot write " + output_path + ": " + failure.what());
  }
  WriteTextFile(output_path, text);
}

int RunCommandLine(std::string_view argument_text, const std::filesystem::path& program_folder,
                   std::ostream& output, std::ostream& errors) {
  if (argument_text == "--help" || argument_text == "-h") {
    output << HelpText("\n") << '\n';
    return 0;
  }
  if (argument_text == "--version") {
    output << "Markwright " << kVersionText << '\n';
    return 0;
  }
  try {
    ConvertCommandLine(argument_text, program_folder);
    return 0;
  } catch (const Refusal& refusal) {
    errors << "Markwright: " << refusal.what() << '\n';
    return 1;
  } catch (const std::exception& failure) {
    errors << "Markwright: " << failure.what() << '\n';
    return 2;
  }
}

}  // namespace markwright
