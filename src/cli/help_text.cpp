#include "cli/help_text.h"

#include <array>

#include "writers/format_table.h"

namespace markwright {
namespace {

constexpr std::array<std::string_view, 8> kRateLines = {
    "\t\t- 23.976", "\t\t- 24.000", "\t\t- 25.000", "\t\t- 29.970",
    "\t\t- 30.000", "\t\t- 50.000", "\t\t- 59.940", "\t\t- 60.000",
};

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
  line("\t\t- OGG: OGG Text File");
  line("\t\t- x264: x264 QP Text File");
  line("\t\t- HC: HC Enc Text File");
  line("\t\t- CCE: CCE SP Text File");
  line("\t\t- Cinevision: Sonic Cinevision CSV File");
  line("\t\t- Scenarist: Sonic Scenarist CSV File");
  line("\t\t- Maestro: Spruce DVD Maestro CHP File");
  line("\t\t- tsMuxer: tsMuxer Meta File");
  line("\t\t- Timecodes: Timecodes Text File");
  line("\t\t- Celltimes: Celltimes Text File");
  line("\t\t- DVDAuthor: DVDAuthor Text File");
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
  for (std::size_t i = kClassicFormatCount; i < kDestinationFormats.size(); ++i) {
    text += "\t\t- ";
    text += kDestinationFormats[i].key;
    text += ": ";
    text += kDestinationFormats[i].display_name;
    text += line_end;
  }
  return text;
}

}  // namespace markwright
