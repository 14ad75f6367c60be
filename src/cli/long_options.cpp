#include "cli/long_options.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "core/error.h"

namespace markwright {
namespace {

constexpr std::array<std::string_view, 5> kClassicOptions = {"-i", "-o", "-f", "-infps", "-outfps"};

bool IsClassicOption(std::string_view argument) {
  return std::ranges::any_of(kClassicOptions, [argument](std::string_view name) {
    return std::ranges::equal(argument, name, [](char a, char b) {
      return std::tolower(static_cast<unsigned char>(a)) == b;
    });
  });
}

Refusal Unknown(std::string_view name) {
  return Refusal("unknown option --" + std::string(name) + "; see --help");
}

// --tolerance: a whole number of frames, 0 to 1,000,000.
std::int64_t Tolerance(std::string_view text) {
  std::int64_t frames = -1;
  const auto parsed = std::from_chars(text.data(), text.data() + text.size(), frames);
  if (parsed.ec != std::errc() || parsed.ptr != text.data() + text.size() || frames < 0 ||
      frames > 1'000'000) {
    throw Refusal("--tolerance takes a whole number of frames from 0 to 1000000, not \"" +
                  std::string(text) + "\"");
  }
  return frames;
}

}  // namespace

LongOptions SplitLongOptions(const std::vector<std::string_view>& arguments) {
  LongOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (!argument.starts_with("--")) {
      if (IsClassicOption(argument) && i + 1 < arguments.size() &&
          arguments[i + 1].starts_with('-')) {
        throw Refusal("option " + std::string(argument) +
                      " has no value: a value cannot begin with \"-\"");
      }
      options.classic_arguments.push_back(argument);
      continue;
    }
    const std::string_view spelled = argument.substr(2);
    const auto equals = spelled.find('=');
    const std::string_view name = spelled.substr(0, equals);
    std::optional<std::string> attached;
    if (equals != std::string_view::npos) attached = std::string(spelled.substr(equals + 1));
    const auto flag = [&](bool& field) {
      if (attached) throw Refusal("option --" + std::string(name) + " takes no value");
      field = true;
    };
    // A value may begin with "-" here ("--shift -2s"): the option always takes the next argument.
    const auto value = [&]() -> std::string {
      if (attached) return *attached;
      if (i + 1 >= arguments.size()) {
        throw Refusal("option --" + std::string(name) + " needs a value");
      }
      return std::string(arguments[++i]);
    };
    if (name == "help") {
      flag(options.help);
    } else if (name == "version") {
      flag(options.version);
    } else if (name == "window") {
      throw Refusal("option --window must be the first argument");
    } else if (name == "quiet") {
      flag(options.quiet);
    } else if (name == "list") {
      flag(options.list);
    } else if (name == "json") {
      flag(options.json);
    } else if (name == "all") {
      flag(options.all);
    } else if (name == "stream") {
      options.stream = value();
    } else if (name == "shift") {
      options.edits.push_back({ChapterEditRequest::Kind::kShift, value()});
    } else if (name == "timecodes") {
      options.timecodes = value();
    } else if (name == "timecodes-in") {
      options.timecodes_in = value();
    } else if (name == "nested") {
      if (value() != "flatten") throw Refusal("option --nested takes only the value flatten");
      options.flatten_nested = true;
    } else if (name == "language") {
      options.language = value();
      if (options.language.empty()) throw Refusal("option --language needs a value");
      // The reading child is asked in a text of its own lines: a tag is letters, digits, "-".
      if (!std::ranges::all_of(options.language, [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-';
          })) {
        throw Refusal("option --language takes a language tag such as ger or de-CH");
      }
    } else if (name == "video") {
      options.video = value();
    } else if (name == "check") {
      flag(options.check);
    } else if (name == "snap") {
      flag(options.snap);
    } else if (name == "tolerance") {
      options.tolerance = Tolerance(value());
    } else if (name == "min-length") {
      options.edits.push_back({ChapterEditRequest::Kind::kMinLength, value()});
    } else {
      throw Unknown(name);
    }
  }
  return options;
}

std::string LongOptionsHelp() {
  return "\n"
         "Long options (a value follows after a blank or \"=\"):\n"
         "-i <folder>\t\tA disc or disc copy: the folder holding BDMV, ADV_OBJ or VIDEO_TS\n"
         "--list\t\t\tList the streams (playlists, titles, title sets, editions) and exit\n"
         "--json\t\t\tThe same list as JSON: number, source, chapters, length (or null);\n"
         "\t\t\tan edition also default, ordered, hidden, names (the first 3)\n"
         "--stream <N>\t\tConvert stream N of the list (also a title of an HD DVD playlist)\n"
         "--all\t\t\tConvert every stream into the folder -o names, one file each\n"
         "--shift <T>\t\tMove every chapter by T: 1.5s, -2s, 1500ms, 00:00:01.500, 24f, -12f\n"
         "--min-length <S>\tDrop chapters less than S seconds after the previous one, and a\n"
         "\t\t\tlast chapter less than S seconds before the end\n"
         "--timecodes <F>\t\tFrame numbers and frame fields on the frames of a Matroska\n"
         "\t\t\ttimestamp file (v1, v2, v4) of the output video\n"
         "--timecodes-in <F>\tA Celltimes source's frames counted on such a file\n"
         "--nested=flatten\tMatroska XML, MKV, WebM: nested chapters too, after their parent\n"
         "--language <TAG>\tMatroska XML, MKV, WebM: names in that language where given\n"
         "--video <F>\t\tLike --timecodes, with the frames of a video file's video stream\n"
         "--check\t\t\tWith --video: each chapter's frame, nearest key frame and distance;\n"
         "\t\t\tstatus 1 when one is more than the tolerance away (--json: as JSON)\n"
         "--snap\t\t\tWith --video: move each chapter onto the nearest key frame within\n"
         "\t\t\tthe tolerance\n"
         "--tolerance <N>\t\tFrames a chapter may be from a key frame (default 0)\n"
         "--quiet\t\t\tNo notes on what the output leaves out or breaks\n"
         "--version\t\tPrint the version\n"
         "--help\t\t\tPrint this help\n";
}

}  // namespace markwright
