#include "cli/disc_commands.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cli/convert.h"
#include "cli/long_options.h"
#include "cli/options.h"
#include "core/chapter_edit.h"
#include "core/decimal.h"
#include "core/frame_rate.h"
#include "core/timestamp.h"
#include "readers/bluray_reader.h"
#include "readers/disc_scan.h"
#include "readers/dvd_reader.h"
#include "readers/hddvd_reader.h"
#include "readers/input_kind.h"
#include "readers/load_chapters.h"
#include "writers/format_table.h"
#include "writers/text_file.h"

namespace markwright {
namespace {

namespace fs = std::filesystem;

// One entry of a listing: a playlist, an HD DVD title or a title set, or a whole chapter file.
struct Stream {
  std::string source;     // "00800.mpls", "VPLST000.XPL title 2"
  std::string file_stem;  // "00800", "VPLST000_title2", "VTS_01": the name --all writes
  std::function<LoadedChapters(double input_rate, double output_rate)> load;
};

// A line on a terminal's standard error while a long run goes on; nothing for the first second,
// nothing when errors is not a terminal, and the line is cleared at the end.
class ProgressLine {
 public:
  ProgressLine(std::ostream& errors, bool enabled) : errors_(errors), enabled_(enabled) {}
  ~ProgressLine() { Clear(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  bool Enabled() const { return enabled_; }

  // Before any other line goes to the terminal.
  void Clear() {
    if (shown_) errors_ << "\r\033[K" << std::flush;
    shown_ = false;
  }

  void Show(const std::string& text) {
    if (!enabled_ || std::chrono::steady_clock::now() - start_ < std::chrono::seconds(1)) return;
    errors_ << "\r" << EscapedText(text) << "\033[K" << std::flush;
    shown_ = true;
  }

 private:
  std::ostream& errors_;
  bool enabled_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// A message as the terminal shows it: paths and file content in it may hold anything, so each
// line is escaped (as the plain command line does) and only the message's own line ends stay.
std::string Shown(std::string_view message) {
  std::string shown;
  for (auto end = message.find('\n');; end = message.find('\n')) {
    shown += EscapedText(message.substr(0, end));
    if (end == std::string_view::npos) return shown;
    shown += '\n';
    message.remove_prefix(end + 1);
  }
}

// Notes on a list that was still written, such as a rule of video sites it breaks.
void PrintNotes(const std::vector<std::string>& notes, std::string_view prefix,
                std::ostream& errors) {
  for (const std::string& note : notes) {
    errors << "Markwright: note: " << Shown(std::string(prefix) + note) << '\n';
  }
}

std::string StemOf(const std::string& file_name) {
  std::string stem = fs::path(file_name).stem().string();
  // A title set's files are VTS_nn_0.IFO to VTS_nn_9.VOB; the set itself is VTS_nn.
  if (stem.size() > 2 && stem.ends_with("_0")) stem.resize(stem.size() - 2);
  return stem;
}

std::vector<Stream> StreamsOf(const DiscScan& found) {
  const auto scan = std::make_shared<const DiscScan>(found);
  std::vector<Stream> streams;
  for (std::size_t i = 0; i < scan->streams.size(); ++i) {
    const DiscStream& entry = scan->streams[i];
    Stream stream{entry.file_name, StemOf(entry.file_name), nullptr};
    if (entry.title > 0) {
      stream.source += " title " + std::to_string(entry.title);
      stream.file_stem += "_title" + std::to_string(entry.title);
    }
    stream.load = [scan, i](double input_rate, double output_rate) {
      return LoadChapters(*scan, scan->streams[i], input_rate, output_rate);
    };
    streams.push_back(std::move(stream));
  }
  return streams;
}

// A single playlist or title set offers its own streams (an HD DVD playlist one per title); any
// other chapter file is one stream.
std::vector<Stream> StreamsOfFile(const fs::path& path) {
  const std::string name = path.filename().string();
  DiscScan scan{{DiscKind::kBluRay, path.parent_path()}, {{name, name, 0}}, {}};
  switch (DetectInputKind(path)) {
    case InputKind::kBluRayPlaylist:
      return StreamsOf(scan);
    case InputKind::kDvdTitleSet:
      scan.layout.kind = DiscKind::kDvd;
      return StreamsOf(scan);
    case InputKind::kHdDvdPlaylist: {
      scan.layout.kind = DiscKind::kHdDvd;
      scan.streams.clear();
      const std::size_t titles = ReadHdDvdPlaylist(path).titles.size();
      for (std::size_t title = 1; title <= titles; ++title) {
        scan.streams.push_back({name, name, static_cast<std::int32_t>(title)});
      }
      return StreamsOf(scan);
    }
    default:
      break;
  }
  return {{name, StemOf(name), [path](double input_rate, double output_rate) {
             return LoadChapters(path, input_rate, output_rate);
           }}};
}

// The scan is one call; on a terminal it runs beside a wait that draws the progress line once
// it has taken a second (a disc's title sets are each read by a child process).
DiscScan ScanWithProgress(const fs::path& folder, ProgressLine& progress) {
  if (!progress.Enabled()) return ScanDiscFolder(folder);
  auto scan = std::async(std::launch::async, [&folder] { return ScanDiscFolder(folder); });
  while (scan.wait_for(std::chrono::milliseconds(250)) != std::future_status::ready) {
    progress.Show("scanning " + folder.string() + " ...");
  }
  progress.Clear();
  return scan.get();
}

std::vector<Stream> FindStreams(const fs::path& input, std::ostream& errors,
                                ProgressLine& progress) {
  std::error_code error;
  if (!fs::is_directory(input, error)) return StreamsOfFile(input);
  DiscScan scan;
  try {
    scan = ScanWithProgress(input, progress);
  } catch (const Refusal& refusal) {
    // The scan's message is laid out for a message box; a terminal takes plain line ends.
    std::string message = refusal.what();
    for (auto at = message.find("\r\n"); at != std::string::npos; at = message.find("\r\n", at)) {
      message.erase(at, 1);
    }
    throw Refusal(message);
  }
  for (const std::string& failure : scan.left_out) {
    errors << "Markwright: left out: " << Shown(failure) << '\n';
  }
  return StreamsOf(scan);
}

std::string NormalisedRate(const std::string& text) {
  return FormatDecimal15(text.empty() ? kDefaultFrameRate : ParseFrameRate(text));
}

double RateValue(const std::string& option) {
  return std::strtod(NormalisedRate(option).c_str(), nullptr);
}

double MinLengthSeconds(const std::string& text) {
  const auto seconds = ParseDecimal(text);
  if (!seconds || !(*seconds >= 0) || *seconds > 1e9) {
    throw Refusal("cannot use --min-length \"" + text + "\": give a number of seconds (5, 2.5)");
  }
  return *seconds;
}

// Checks every edit's value before anything is read, so a mistyped value refuses the run.
void CheckEdits(const std::vector<ChapterEditRequest>& edits) {
  for (const ChapterEditRequest& edit : edits) {
    if (edit.kind == ChapterEditRequest::Kind::kShift) {
      ParseShift(edit.value, 25);
    } else {
      MinLengthSeconds(edit.value);
    }
  }
}

// Applies the edits in order; returns each remaining chapter's position in the list as loaded.
std::vector<std::size_t> ApplyEdits(const std::vector<ChapterEditRequest>& edits,
                                    TitleChapters& title, double output_rate,
                                    std::ostream& errors) {
  std::vector<std::size_t> sources;
  if (edits.empty()) return sources;
  for (std::size_t index = 0; index < title.chapters.size(); ++index) sources.push_back(index);
  std::vector<std::size_t> kept_from;
  for (const ChapterEditRequest& edit : edits) {
    const bool shift = edit.kind == ChapterEditRequest::Kind::kShift;
    const std::vector<Chapter> dropped =
        shift ? ShiftChapters(title, ParseShift(edit.value, output_rate), &kept_from)
              : DropShortChapters(title, MinLengthSeconds(edit.value), &kept_from);
    for (std::size_t& source : kept_from) source = sources[source];
    sources.swap(kept_from);
    for (const Chapter& chapter : dropped) {
      errors << "Markwright: " << (shift ? "--shift " : "--min-length ") << Shown(edit.value)
             << " drops the chapter at " << FormatTimestamp(chapter.start);
      if (!chapter.name.empty()) errors << " (" << JsonString(chapter.name) << ")";
      errors << '\n';
    }
  }
  return sources;
}

std::size_t ChosenStream(const std::string& text, std::size_t count) {
  const auto number = ParseDigits(text);
  if (!number || *number < 1 || static_cast<std::size_t>(*number) > count) {
    throw Refusal("there is no stream " + text + ": the input holds " + std::to_string(count) +
                  " (see --list)");
  }
  return static_cast<std::size_t>(*number) - 1;
}

void List(const std::vector<Stream>& streams, bool json, double input_rate, double output_rate,
          std::ostream& output, ProgressLine& progress) {
  output << (json ? "[\n" : "");
  for (std::size_t i = 0; i < streams.size(); ++i) {
    progress.Show("reading " + streams[i].source + " (" + std::to_string(i + 1) + " of " +
                  std::to_string(streams.size()) + ")");
    const TitleChapters title = streams[i].load(input_rate, output_rate).chapters;
    progress.Clear();
    const std::size_t count = title.chapters.size();
    if (json) {
      output << "  {\"number\": " << i + 1 << ", \"source\": " << JsonString(streams[i].source)
             << ", \"chapters\": " << count << ", \"length\": "
             << (title.length ? JsonString(FormatTimestamp(*title.length)) : "null")
             << (i + 1 < streams.size() ? "},\n" : "}\n");
      continue;
    }
    output << i + 1 << "  " << Shown(streams[i].source) << "  " << count
           << (count == 1 ? " chapter" : " chapters");
    if (title.length) output << "  " << FormatTimestamp(*title.length);
    output << '\n';
  }
  output << (json ? "]\n" : "");
}

// Every stream into the folder, each on its own; the failures are reported and counted.
ExitStatus ConvertAll(const std::vector<Stream>& streams, std::string_view argument_text,
                      const LongOptions& options, std::ostream& output, std::ostream& errors,
                      ProgressLine& progress) {
  const std::string folder = GetOption(argument_text, "o");
  const std::string input_rate_text = NormalisedRate(GetOption(argument_text, "infps"));
  const std::string output_rate_text = NormalisedRate(GetOption(argument_text, "outfps"));
  const std::string format_key = GetOption(argument_text, "f");
  if (folder.empty()) throw Refusal("--all needs -o naming the folder for the files");
  if (format_key.empty()) throw FormatNotSpecified();
  const DestinationFormat* format = FindFormatByKey(format_key);
  if (format == nullptr) throw UnknownDestinationFormat();
  std::error_code error;
  fs::create_directories(folder, error);
  if (!fs::is_directory(folder, error)) {
    throw WriteError("cannot make the folder " + folder + ": " + error.message());
  }
  const double input_rate = std::strtod(input_rate_text.c_str(), nullptr);
  const double output_rate = std::strtod(output_rate_text.c_str(), nullptr);
  const std::string extension = fs::path(format->default_file_name).extension().string();
  bool any_failed = false;
  for (std::size_t i = 0; i < streams.size(); ++i) {
    const Stream& stream = streams[i];
    progress.Show("converting " + stream.source + " (" + std::to_string(i + 1) + " of " +
                  std::to_string(streams.size()) + ")");
    const fs::path target = fs::path(folder) / (stream.file_stem + extension);
    try {
      LoadedChapters loaded = stream.load(input_rate, output_rate);
      progress.Clear();
      const std::vector<std::size_t> sources =
          ApplyEdits(options.edits, loaded.retimed, output_rate, errors);
      WriteTextFile(target, BuildConvertedText(stream.source, loaded.retimed, *format, output_rate,
                                               input_rate_text, sources));
      output << Shown(stream.source + ": wrote " + target.string()) << '\n';
      PrintNotes(FormatNotesFor(*format, loaded.retimed), stream.source + ": ", errors);
    } catch (const std::exception& failure) {
      progress.Clear();
      errors << "Markwright: " << Shown(stream.source + ": not written: " + failure.what()) << '\n';
      any_failed = true;
    }
  }
  return any_failed ? ExitStatus::kFailed : ExitStatus::kDone;
}

ExitStatus RunLongOptions(const LongOptions& options, const std::string& argument_text,
                          const fs::path& program_folder, std::ostream& output,
                          std::ostream& errors, bool show_progress) {
  CheckEdits(options.edits);
  const std::string input = GetOption(argument_text, "i");
  if (input.empty()) throw InputNotSpecified();
  std::error_code error;
  const bool is_folder = fs::is_directory(input, error);
  if (!is_folder && !fs::is_regular_file(input, error)) throw CannotOpenInput();
  ProgressLine progress(errors, show_progress);
  const bool listing = options.list || options.json;
  const bool choosing = is_folder || listing || options.all || options.stream;
  const std::vector<Stream> streams =
      choosing ? FindStreams(input, errors, progress) : std::vector<Stream>{};
  if (listing) {
    List(streams, options.json, RateValue(GetOption(argument_text, "infps")),
         RateValue(GetOption(argument_text, "outfps")), output, progress);
    return ExitStatus::kDone;
  }
  if (options.all) return ConvertAll(streams, argument_text, options, output, errors, progress);
  ConversionHooks hooks;
  hooks.edit = [&options, &errors](TitleChapters& retimed, double output_rate) {
    return ApplyEdits(options.edits, retimed, output_rate, errors);
  };
  if (choosing && (is_folder || options.stream)) {
    if (!options.stream && streams.size() > 1) {
      throw Refusal("the disc holds " + std::to_string(streams.size()) +
                    " streams: list them with --list, then choose one with --stream N (or "
                    "convert them all with --all)");
    }
    const std::size_t chosen = options.stream ? ChosenStream(*options.stream, streams.size()) : 0;
    hooks.load = [&streams, chosen](double input_rate, double output_rate) {
      return streams[chosen].load(input_rate, output_rate);
    };
  }
  PrintNotes(ConvertCommandLine(argument_text, program_folder, hooks), "", errors);
  return ExitStatus::kDone;
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string json = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '"' || byte == '\\') {
      json += '\\';
      json += static_cast<char>(byte);
      ++i;
      continue;
    }
    if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      json += escaped;
      ++i;
      continue;
    }
    // A UTF-8 sequence: its length from the lead byte, each continuation 10xxxxxx, no overlong
    // or surrogate forms.
    const std::size_t length = byte < 0x80                   ? 1
                               : byte >= 0xc2 && byte < 0xe0 ? 2
                               : byte >= 0xe0 && byte < 0xf0 ? 3
                               : byte >= 0xf0 && byte < 0xf5 ? 4
                                                             : 0;
    bool valid = length > 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      valid = (static_cast<unsigned char>(text[i + k]) & 0xc0) == 0x80;
    }
    if (valid && length > 2) {
      const auto second = static_cast<unsigned char>(text[i + 1]);
      valid = !(byte == 0xe0 && second < 0xa0) && !(byte == 0xed && second >= 0xa0) &&
              !(byte == 0xf0 && second < 0x90) && !(byte == 0xf4 && second >= 0x90);
    }
    if (!valid) {
      json += "\\ufffd";
      ++i;
      continue;
    }
    json.append(text.substr(i, length));
    i += length;
  }
  return json + "\"";
}

ExitStatus RunFullCommandLine(const std::vector<std::string_view>& arguments,
                              const fs::path& program_folder, std::ostream& output,
                              std::ostream& errors, bool show_progress) {
  try {
    const LongOptions options = SplitLongOptions(arguments);
    if (options.help) return RunCommandLine("--help", program_folder, output, errors);
    if (options.version) return RunCommandLine("--version", program_folder, output, errors);
    const std::string argument_text = JoinArguments(options.classic_arguments);
    const std::string input = GetOption(argument_text, "i");
    std::error_code error;
    // A folder that is no disc keeps the classic refusal.
    const bool disc_folder =
        !input.empty() && fs::is_directory(input, error) && FindDiscLayout(input).has_value();
    if (!options.AnyConversionOption() && !disc_folder) {
      return RunCommandLine(argument_text, program_folder, output, errors);
    }
    return RunLongOptions(options, argument_text, program_folder, output, errors, show_progress);
  } catch (const Refusal& refusal) {
    errors << "Markwright: " << Shown(refusal.what()) << '\n';
    return ExitStatus::kRefused;
  } catch (const std::exception& failure) {
    errors << "Markwright: " << Shown(failure.what()) << '\n';
    return ExitStatus::kFailed;
  }
}

}  // namespace markwright
