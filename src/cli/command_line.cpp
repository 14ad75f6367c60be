#include "cli/command_line.h"

#include <cerrno>
#include <cstring>
#include <ostream>
#include <string>

#include "cli/batch.h"
#include "cli/convert.h"
#include "cli/help_text.h"
#include "cli/listing.h"
#include "cli/long_options.h"
#include "cli/messages.h"
#include "cli/options.h"
#include "cli/progress_line.h"
#include "cli/streams.h"
#include "core/key_frames.h"
#include "core/timestamp.h"
#include "markwright/version.h"
#include "readers/disc_scan.h"

namespace markwright {
namespace {

namespace fs = std::filesystem;

// Help, version and a listing are the run's output: when they cannot be written, the run failed.
ExitStatus Printed(std::ostream& output, std::ostream& errors) {
  errno = 0;
  output.flush();
  if (output) return ExitStatus::kDone;
  PrintMessage(errors, "cannot write to standard output" +
                           (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string()));
  return ExitStatus::kFailed;
}

// A run with a disc folder or a long option: the streams of the input, then the listing, the
// batch, or one conversion of the chosen stream (or of the -i file, edited).
ExitStatus RunOnStreams(const LongOptions& options, const ConversionOptions& conversion,
                        const fs::path& program_folder, std::ostream& output, std::ostream& errors,
                        bool show_progress) {
  for (const ChapterEditRequest& edit : options.edits) CheckChapterEdit(edit);
  if (conversion.input.empty()) throw InputNotSpecified();
  std::error_code error;
  const bool is_folder = fs::is_directory(conversion.input, error);
  if (!is_folder && !fs::is_regular_file(conversion.input, error)) throw CannotOpenInput();
  ProgressLine progress(errors, show_progress);
  const bool listing = options.list || options.json;
  const bool choosing = is_folder || listing || options.all || options.stream ||
                        options.flatten_nested || !options.language.empty();
  if (choosing && !options.timecodes_in.empty()) {
    throw Refusal("--timecodes-in counts the frames of a Celltimes list, not of a disc's streams");
  }
  const MatroskaXmlChoice reading{std::nullopt, options.flatten_nested, options.language, false};
  const std::vector<Stream> streams =
      choosing ? FindStreams(conversion.input, errors, progress, reading) : std::vector<Stream>{};
  if (listing) {
    ListStreams(streams, options.json, ParseRates(conversion), output, progress);
    return Printed(output, errors);
  }
  if (options.all) return ConvertAll(streams, conversion, options.edits, output, errors, progress);
  ChapterLoader load;
  if (choosing) {
    // A file's editions or menus need no choice: the default one is read, as without these
    // options.
    const bool editions =
        !streams.empty() && (streams.front().edition.has_value() || streams.front().menu);
    if (!options.stream && streams.size() > 1 && !editions) {
      throw Refusal("the disc holds " + std::to_string(streams.size()) +
                    " streams: list them with --list, then choose one with --stream N (or "
                    "convert them all with --all)");
    }
    load = streams[options.stream ? ChosenStream(*options.stream, streams.size())
                                  : DefaultStream(streams)]
               .load;
  }
  const auto notes = ConvertCommandLine(conversion, program_folder, options.edits, errors, load);
  if (!conversion.quiet) PrintNotes(errors, notes);
  return ExitStatus::kDone;
}

// --check: each chapter of the -i file against the key frames of the --video file, one line
// each (or JSON); status 1 when one is farther than the tolerance from its key frame.
ExitStatus CheckKeyFrames(const ConversionOptions& conversion, bool json, std::ostream& output,
                          std::ostream& errors) {
  if (conversion.input.empty()) throw InputNotSpecified();
  std::error_code error;
  if (!fs::is_regular_file(conversion.input, error)) throw CannotOpenInput();
  const ConversionRates rates = ParseRates(conversion);
  const LoadedChapters loaded = LoadRetimedChapters(conversion.input, rates.input, rates.output);
  const FrameClock clock = rates.OutputClock();
  bool all_within = true;
  std::string text = json ? "[" : "";
  const auto& chapters = loaded.retimed.chapters;
  for (std::size_t index = 0; index < chapters.size(); ++index) {
    const KeyFrameDistance distance =
        NearestKeyFrame(clock, rates.key_frames, chapters[index].start);
    const bool within = WithinTolerance(distance, conversion.tolerance);
    all_within = all_within && within;
    const std::string number = std::to_string(index + 1);
    const std::string start = FormatTimestamp(chapters[index].start);
    const std::string frame = std::to_string(distance.frame);
    const std::string key_frame = std::to_string(distance.key_frame);
    const std::string frames = std::to_string(distance.frames);
    const std::string milliseconds = std::to_string(distance.milliseconds);
    if (json) {
      text.append(index == 0 ? "" : ",").append("\n  {\"chapter\": ").append(number);
      text.append(", \"start\": \"").append(start).append("\", \"frame\": ").append(frame);
      text.append(", \"key_frame\": ").append(key_frame).append(", \"frames\": ").append(frames);
      text.append(", \"milliseconds\": ").append(milliseconds);
      text.append(", \"within_tolerance\": ").append(within ? "true}" : "false}");
    } else {
      text.append("chapter ").append(number).append(" at ").append(start);
      text.append(": frame ").append(frame).append(", key frame ").append(key_frame);
      text.append(", ").append(frames).append(" frames, ").append(milliseconds).append(" ms");
      text.append(within ? "\n" : ", too far\n");
    }
  }
  if (json) text += chapters.empty() ? "]\n" : "\n]\n";
  output << text;
  const ExitStatus printed = Printed(output, errors);
  if (printed != ExitStatus::kDone) return printed;
  return all_within ? ExitStatus::kDone : ExitStatus::kRefused;
}

ExitStatus Run(const std::vector<std::string_view>& arguments, const fs::path& program_folder,
               std::ostream& output, std::ostream& errors, bool show_progress) {
  const LongOptions options = SplitLongOptions(arguments);
  const std::string argument_text = JoinArguments(options.classic_arguments);
  if (options.version && !options.help) {
    output << "Markwright " << kVersionText << '\n';
    return Printed(output, errors);
  }
  if (options.help || (argument_text == "-h" && !options.AnyConversionOption())) {
    output << HelpText("\n") << "\n\n" << MoreFormatsHelp("\n");
    return Printed(output, errors);
  }
  ConversionOptions conversion = ReadConversionOptions(argument_text);
  conversion.timecodes = options.timecodes;
  conversion.timecodes_in = options.timecodes_in;
  conversion.video = options.video;
  conversion.snap = options.snap;
  conversion.tolerance = options.tolerance;
  if ((options.check || options.snap) && options.video.empty()) {
    throw Refusal("--check and --snap need the video: --video FILE");
  }
  if (options.check) return CheckKeyFrames(conversion, options.json, output, errors);
  conversion.quiet = options.quiet;
  std::error_code error;
  // A folder that is no disc keeps the classic refusal.
  const bool disc_folder = !conversion.input.empty() && fs::is_directory(conversion.input, error) &&
                           FindDiscLayout(conversion.input).has_value();
  if (options.AnyConversionOption() || disc_folder) {
    return RunOnStreams(options, conversion, program_folder, output, errors, show_progress);
  }
  const auto notes = ConvertCommandLine(conversion, program_folder, {}, errors);
  if (!conversion.quiet) PrintNotes(errors, notes);
  return ExitStatus::kDone;
}

}  // namespace

ExitStatus RunCommandLine(const std::vector<std::string_view>& arguments,
                          const fs::path& program_folder, std::ostream& output,
                          std::ostream& errors, bool show_progress) {
  try {
    return Run(arguments, program_folder, output, errors, show_progress);
  } catch (const std::exception& failure) {
    return ReportFailure(errors, failure);
  }
}

}  // namespace markwright
