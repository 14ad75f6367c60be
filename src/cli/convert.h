#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"
#include "core/chapter_edit.h"
#include "core/frame_times.h"
#include "readers/load_chapters.h"
#include "writers/format_table.h"

namespace markwright {

// The frame rates of a conversion as it carries them: the shortest decimal text of at most 15
// significant digits (which later steps read back) and its value.
// The frames of the output video come from a timestamp file when --timecodes names one.
struct ConversionRates {
  std::string input_text;
  std::string output_text;
  double input = 0;
  double output = 0;
  std::shared_ptr<const FrameTimes> output_times;  // --timecodes; null without
  std::shared_ptr<const FrameTimes> input_times;   // --timecodes-in; null without
  std::vector<std::int64_t> key_frames;            // --video: its key frames; empty without

  FrameClock OutputClock() const { return output_times ? FrameClock(output_times) : output; }
};

// -infps, then -outfps, each 24/1.001 when absent, then the --timecodes-in and --timecodes files.
// Throws Refusal for a rate given without a value, Error for a text that is no frame rate and
// ReadError for a timestamp file that cannot be read.
ConversionRates ParseRates(const ConversionOptions& options);

// Reads chapters and re-times them from the input rate to the output rate.
using ChapterLoader = std::function<LoadedChapters(double input_rate, double output_rate)>;

// What one conversion reads: name is what its messages call it (the -i path, "00800.mpls").
struct ChapterSource {
  std::string name;
  ChapterLoader load;
};

// The one conversion every run makes, alone or for each stream of a batch: loads the source's
// chapters, applies the edits in order (each dropped chapter reported on errors), writes the
// format's text to target. Returns the format's notes on the list it wrote (see FormatNotesFor),
// one line each. The format key is looked up after the source is read. Throws Refusal for the
// checked failures and Error for any other; nothing is written unless everything succeeded.
std::vector<std::string> ConvertSource(const ChapterSource& source,
                                       const std::vector<ChapterEditRequest>& edits,
                                       std::string_view format_key, const ConversionRates& rates,
                                       const std::filesystem::path& target, std::ostream& errors);

// One conversion from the classic options: checks them in the order users know them (-i, -o's
// folder, the rates, -f), then ConvertSource on the -i file, or on load when given (a stream of a
// disc folder, which -i may then name). With --timecodes-in the -i file must be a Celltimes list,
// its frames counted on that file (Refusal otherwise). program_folder receives chapter.txt when -o
// is absent.
std::vector<std::string> ConvertCommandLine(const ConversionOptions& options,
                                            const std::filesystem::path& program_folder,
                                            const std::vector<ChapterEditRequest>& edits,
                                            std::ostream& errors, const ChapterLoader& load = {});

// --snap: moves each chapter within tolerance frames of its nearest key frame (rates.key_frames)
// onto that key frame's start, naming each move on errors, and each chapter farther away, which
// stays. Throws Refusal without key frames.
void SnapToKeyFrames(TitleChapters& title, const ConversionRates& rates, std::int64_t tolerance,
                     std::ostream& errors);

// The format's text of the re-timed chapters. A chapter the format cannot express is a fault of
// the source: the Error names source, the chapter as the source counts it (sources[i] is the
// source position of chapter i after edits dropped some; empty when none were dropped) and the
// format. A Refusal passes through.
std::string BuildConvertedText(std::string_view source, const TitleChapters& retimed,
                               const DestinationFormat& format, const FrameClock& output_clock,
                               std::string_view input_rate_text,
                               const std::vector<std::size_t>& sources = {});

}  // namespace markwright
