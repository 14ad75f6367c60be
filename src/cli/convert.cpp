#include "cli/convert.h"

#include <cmath>
#include <cstdlib>
#include <new>
#include <ostream>
#include <string>

#include "cli/messages.h"
#include "core/decimal.h"
#include "core/error.h"
#include "core/frame_rate.h"
#include "core/key_frames.h"
#include "core/timestamp.h"
#include "readers/celltimes_reader.h"
#include "readers/input_kind.h"
#include "readers/load_chapters.h"
#include "readers/timestamp_file_reader.h"
#include "readers/video_frames.h"
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
                               const DestinationFormat& format, const FrameClock& output_clock,
                               std::string_view input_rate_text,
                               const std::vector<std::size_t>& sources, const Error& failure) {
  const auto& chapters = retimed.chapters;
  for (std::size_t index = 0; index < chapters.size(); ++index) {
    TitleChapters alone;
    alone.chapters.push_back(chapters[index]);
    try {
      BuildFormatText(format, alone, output_clock, input_rate_text);
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

// Applies the edits in order; returns each remaining chapter's position in the list as loaded
// (empty without edits).
std::vector<std::size_t> ApplyEdits(const std::vector<ChapterEditRequest>& edits,
                                    TitleChapters& title, double output_rate,
                                    std::ostream& errors) {
  std::vector<std::size_t> sources;
  if (edits.empty()) return sources;
  for (std::size_t index = 0; index < title.chapters.size(); ++index) sources.push_back(index);
  std::vector<std::size_t> kept_from;
  for (const ChapterEditRequest& edit : edits) {
    const std::vector<Chapter> dropped = ApplyChapterEdit(edit, title, output_rate, &kept_from);
    for (std::size_t& source : kept_from) source = sources[source];
    sources.swap(kept_from);
    const bool shift = edit.kind == ChapterEditRequest::Kind::kShift;
    for (const Chapter& chapter : dropped) {
      PrintMessage(errors, (shift ? "--shift " : "--min-length ") + edit.value +
                               " drops the chapter at " + FormatTimestamp(chapter.start) +
                               (chapter.name.empty() ? "" : " (" + QuotedText(chapter.name) + ")"));
    }
  }
  return sources;
}

}  // namespace

void SnapToKeyFrames(TitleChapters& title, const ConversionRates& rates, std::int64_t tolerance,
                     std::ostream& errors) {
  if (rates.key_frames.empty()) throw Refusal("--snap needs the key frames of --video FILE");
  const FrameClock clock = rates.OutputClock();
  for (std::size_t index = 0; index < title.chapters.size(); ++index) {
    Chapter& chapter = title.chapters[index];
    const KeyFrameDistance distance = NearestKeyFrame(clock, rates.key_frames, chapter.start);
    const std::string name = "chapter " + std::to_string(index + 1) + " at " +
                             FormatTimestamp(chapter.start) + " (frame " +
                             std::to_string(distance.frame) + ")";
    if (distance.frames == 0) continue;
    if (!WithinTolerance(distance, tolerance)) {
      PrintMessage(errors, name + " stays: the nearest key frame, " +
                               std::to_string(distance.key_frame) + ", is " +
                               std::to_string(std::abs(distance.frames)) +
                               " frames away, more than --tolerance " + std::to_string(tolerance));
      continue;
    }
    PrintMessage(errors, name + " moves to key frame " + std::to_string(distance.key_frame) +
                             " at " + FormatTimestamp(distance.key_start));
    chapter.start = distance.key_start;
  }
}

std::string BuildConvertedText(std::string_view source, const TitleChapters& retimed,
                               const DestinationFormat& format, const FrameClock& output_clock,
                               std::string_view input_rate_text,
                               const std::vector<std::size_t>& sources) {
  try {
    return BuildFormatText(format, retimed, output_clock, input_rate_text);
  } catch (const Refusal&) {
    throw;
  } catch (const Error& failure) {
    BlameChapter(source, retimed, format, output_clock, input_rate_text, sources, failure);
  }
}

ConversionRates ParseRates(const ConversionOptions& options) {
  ConversionRates rates;
  rates.input_text = NormalisedRate(ValueOrAbsent(options.input_rate, "infps"));
  rates.output_text = NormalisedRate(ValueOrAbsent(options.output_rate, "outfps"));
  rates.input = std::strtod(rates.input_text.c_str(), nullptr);
  rates.output = std::strtod(rates.output_text.c_str(), nullptr);
  if (!options.timecodes_in.empty()) {
    rates.input_times = std::make_shared<const FrameTimes>(ReadTimestampFile(options.timecodes_in));
  }
  if (!options.timecodes.empty()) {
    rates.output_times = std::make_shared<const FrameTimes>(ReadTimestampFile(options.timecodes));
  }
  if (!options.video.empty()) {
    if (!options.timecodes.empty()) {
      throw Refusal("--video and --timecodes both give the output video's frames: use one");
    }
    VideoFrames video = ReadVideoFrames(options.video);
    rates.output_times = std::move(video.times);
    rates.key_frames = std::move(video.key_frames);
  }
  return rates;
}

std::vector<std::string> ConvertSource(const ChapterSource& source,
                                       const std::vector<ChapterEditRequest>& edits,
                                       std::string_view format_key, const ConversionRates& rates,
                                       const std::filesystem::path& target, std::ostream& errors) {
  try {
    LoadedChapters loaded = source.load(rates.input, rates.output);
    const std::vector<std::size_t> sources =
        ApplyEdits(edits, loaded.retimed, rates.output, errors);
    const DestinationFormat* format = FindFormatByKey(format_key);
    if (format == nullptr) throw UnknownDestinationFormat();
    WriteTextFile(target, BuildConvertedText(source.name, loaded.retimed, *format,
                                             rates.OutputClock(), rates.input_text, sources));
    return FormatNotesFor(*format, loaded.retimed);
  } catch (const std::bad_alloc&) {
    throw Error(source.name + ": not enough memory");
  }
}

std::vector<std::string> ConvertCommandLine(const ConversionOptions& options,
                                            const std::filesystem::path& program_folder,
                                            const std::vector<ChapterEditRequest>& edits,
                                            std::ostream& errors, const ChapterLoader& load) {
  if (options.input.empty()) throw InputNotSpecified();
  std::error_code error;
  if (!load && !std::filesystem::is_regular_file(options.input, error)) throw CannotOpenInput();
  std::string output_path = ValueOrAbsent(options.output, "o");
  if (output_path.empty()) output_path = (program_folder / "chapter.txt").string();
  const std::filesystem::path output_folder = FolderPart(output_path);
  if (!output_folder.empty() && !std::filesystem::is_directory(output_folder, error)) {
    throw OutputPathMissing();
  }
  const ConversionRates rates = ParseRates(options);
  if (options.format_key.empty()) throw FormatNotSpecified();
  ChapterSource source{options.input, load};
  if (rates.input_times) {
    if (source.load || DetectInputKind(options.input) != InputKind::kCelltimes) {
      throw Refusal("--timecodes-in counts the frames of a Celltimes list, and " +
                    QuotedText(options.input) + " is none");
    }
    source.load = [&options, &rates](double input_rate, double output_rate) {
      LoadedChapters loaded;
      loaded.retimed = RetimeChaptersOf(options.input,
                                        ReadCelltimes(options.input, FrameClock(rates.input_times)),
                                        input_rate, output_rate);
      return loaded;
    };
  }
  if (!source.load) {
    source.load = [&options](double input_rate, double output_rate) {
      return LoadRetimedChapters(options.input, input_rate, output_rate);
    };
  }
  if (options.snap) {
    source.load = [inner = source.load, &options, &rates, &errors](double input_rate,
                                                                   double output_rate) {
      LoadedChapters loaded = inner(input_rate, output_rate);
      SnapToKeyFrames(loaded.retimed, rates, options.tolerance, errors);
      return loaded;
    };
  }
  return ConvertSource(source, edits, options.format_key, rates, output_path, errors);
}

}  // namespace markwright
