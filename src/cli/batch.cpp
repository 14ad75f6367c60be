#include "cli/batch.h"

#include <sys/stat.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "cli/messages.h"
#include "writers/format_table.h"

namespace markwright {
namespace {

namespace fs = std::filesystem;

std::string FoldedCase(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

// The file name of each stream in the batch's folder. Names that would be the same, letter case
// ignored (00001.mpls and 00001.MPLS, VTS_01_0.IFO and VTS_01.IFO, or any two names on a folder
// that ignores case), are told apart: the first stream in the list keeps the name, each later
// one gets _2, _3, ... after its stem, the first number whose name no stream has.
std::vector<std::string> BatchFileNames(const std::vector<Stream>& streams,
                                        std::string_view extension) {
  std::set<std::string> taken;
  for (const Stream& stream : streams) taken.insert(FoldedCase(stream.file_stem));
  std::set<std::string> claimed;
  std::vector<std::string> names;
  for (const Stream& stream : streams) {
    std::string stem = stream.file_stem;
    if (!claimed.insert(FoldedCase(stem)).second) {
      for (int number = 2;; ++number) {
        const std::string candidate = stream.file_stem + "_" + std::to_string(number);
        if (taken.insert(FoldedCase(candidate)).second) {
          stem = candidate;
          break;
        }
      }
    }
    names.push_back(stem + std::string(extension));
  }
  return names;
}

// The folder --all writes into, made when missing.
void MakeBatchFolder(const std::string& folder) {
  // "afile/" names afile too, and a link to nothing is no folder either.
  fs::path named(folder);
  while (!named.has_filename() && named.has_relative_path()) named = named.parent_path();
  std::error_code error;
  if (fs::exists(fs::symlink_status(named, error)) && !fs::is_directory(named, error)) {
    throw WriteError("cannot write into " + folder + ": it is not a folder");
  }
  std::error_code made;
  fs::create_directories(folder, made);
  if (!fs::is_directory(folder, error)) {
    throw WriteError("cannot make the folder " + folder + ": " + made.message());
  }
}

// The files one batch has written, so that no file is written twice, also through a link.
class WrittenFiles {
 public:
  // A chapter file given to -i is its own stream, whose name in the folder may be its own name:
  // it is never written over.
  explicit WrittenFiles(const std::string& input) {
    struct stat status {};
    if (::stat(input.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
      input_ = {status.st_dev, status.st_ino};
    }
  }

  // Throws WriteError when the target is not a regular file (a FIFO would block the batch, a
  // device would take a stream's chapters away), is the input file or is one this batch wrote
  // already.
  void CheckTarget(const fs::path& target) const {
    struct stat status {};
    if (::stat(target.c_str(), &status) != 0) return;  // a new file
    if (!S_ISREG(status.st_mode)) {
      throw WriteError("cannot write " + target.string() + ": it is not a regular file");
    }
    if (input_ == std::pair{status.st_dev, status.st_ino}) {
      throw WriteError("cannot write " + target.string() + ": it is the input file");
    }
    const auto earlier = sources_.find({status.st_dev, status.st_ino});
    if (earlier != sources_.end()) {
      throw WriteError("cannot write " + target.string() + ": it is the file written for " +
                       earlier->second);
    }
  }
  void Add(const fs::path& target, const std::string& source) {
    struct stat status {};
    if (::stat(target.c_str(), &status) == 0) sources_[{status.st_dev, status.st_ino}] = source;
  }

 private:
  std::optional<std::pair<dev_t, ino_t>> input_;
  std::map<std::pair<dev_t, ino_t>, std::string> sources_;
};

}  // namespace

ExitStatus ConvertAll(const std::vector<Stream>& streams, const ConversionOptions& options,
                      const std::vector<ChapterEditRequest>& edits, std::ostream& output,
                      std::ostream& errors, ProgressLine& progress) {
  const std::string folder = ValueOrAbsent(options.output, "o");
  const ConversionRates rates = ParseRates(options);
  if (folder.empty()) throw Refusal("--all needs -o naming the folder for the files");
  if (options.format_key.empty()) throw FormatNotSpecified();
  const DestinationFormat* format = FindFormatByKey(options.format_key);
  if (format == nullptr) throw UnknownDestinationFormat();
  if (format->in_place != InPlaceTags::kNone) {
    throw Refusal("--all writes new files, and " + std::string(format->key) +
                  " chapters go into an existing audio file: convert one stream at a time");
  }
  MakeBatchFolder(folder);
  const std::vector<std::string> names =
      BatchFileNames(streams, fs::path(format->default_file_name).extension().string());
  WrittenFiles written(options.input);
  bool any_failed = false;
  for (std::size_t i = 0; i < streams.size(); ++i) {
    const Stream& stream = streams[i];
    progress.Show("converting " + stream.source + " (" + std::to_string(i + 1) + " of " +
                  std::to_string(streams.size()) + ")");
    const fs::path target = fs::path(folder) / names[i];
    // The progress line stays while the stream is read, and goes before any message.
    const ChapterSource source{stream.source,
                               [&stream, &progress](double input_rate, double output_rate) {
                                 LoadedChapters loaded = stream.load(input_rate, output_rate);
                                 // The batch converts the other editions too.
                                 loaded.retimed.left_out.other_editions = 0;
                                 progress.Clear();
                                 return loaded;
                               }};
    try {
      written.CheckTarget(target);
      const std::vector<std::string> notes =
          ConvertSource(source, edits, options.format_key, rates, target, errors);
      written.Add(target, stream.source);
      output << ShownMessage(stream.source + ": wrote " + target.string()) << '\n';
      if (!options.quiet) PrintNotes(errors, notes, stream.source + ": ");
    } catch (const std::exception& failure) {
      progress.Clear();
      PrintMessage(errors, stream.source + ": not written: " + failure.what());
      any_failed = true;
    }
  }
  return any_failed ? ExitStatus::kFailed : ExitStatus::kDone;
}

}  // namespace markwright
