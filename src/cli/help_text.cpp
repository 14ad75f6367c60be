#include "cli/help_text.h"

#include <array>

#include "cli/long_options.h"
#include "readers/source_kinds.h"
#include "writers/format_table.h"

namespace markwright {
namespace {

constexpr std::array<std::string_view, 8> kRateLines = {
    "\t\t- 23.976", "\t\t- 24.000", "\t\t- 25.000", "\t\t- 29.970",
    "\t\t- 30.000", "\t\t- 50.000", "\t\t- 59.940", "\t\t- 60.000",
};

// The classic help names the classic rows but the last, Muxman, which -f always took; the newer
// section lists the rest.
constexpr std::size_t kClassicHelpFormatCount = kClassicFormatCount - 1;

}  // namespace

std::string HelpText(std::string_view line_end) {
  std::string text;
  const auto line = [&text, line_end](std::string_view content) {
    if (!text.empty()) text += line_end;
    text += content;
  };
  line(
      "Syntax: Markwright -i <inputfile> -o <outputfile> -f <destination format> -infps "
      "<inputFPS> -outfps <outputFPS> ");
  text += line_end;  // an empty line 2
  line("Options:");
  text += line_end;
  line("-i <string>\tSpecify input file");
  line("-o <string>\tSpecify output file");
  line("-f <string>\tSpecify destination format:");
  for (std::size_t i = 0; i < kClassicHelpFormatCount; ++i) {
    line(std::string("\t\t- ") + std::string(kDestinationFormats[i].key) + ": " +
         std::string(kDestinationFormats[i].display_name));
  }
  line("-infps <float>\tSpecify InputFPS [24/1.001] ");
  for (const auto rate : kRateLines) line(rate);
  line("-outfps <float>\tSpecify OutputFPS [24/1.001] ");
  for (const auto rate : kRateLines) line(rate);
  text += line_end;  // an empty line 37
  line("NOTES: fps values can be aslo entered in this formats: 24000/1001 or 24/1.001 for example");
  return text;
}

std::string MoreFormatsHelp(std::string_view line_end) {
  std::string text = "More destination formats for -f:";
  text += line_end;
  for (std::size_t i = kClassicHelpFormatCount; i < kDestinationFormats.size(); ++i) {
    text += "\t\t- ";
    text += kDestinationFormats[i].key;
    text += ": ";
    text += kDestinationFormats[i].display_name;
    text += line_end;
  }
  text += line_end;
  text += "Input kinds for -i, told by their content, not by their names:";
  text += line_end;
  text += SourceKindsList(line_end);
  for (const char c : LongOptionsHelp()) {
    if (c == '\n') {
      text += line_end;
    } else {
      text += c;
    }
  }
  return text;
}

}  // namespace markwright
