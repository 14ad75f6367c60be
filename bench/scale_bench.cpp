// A million OGG chapters through the command line's own path: read from a file, re-timed from
// 24/1.001 to 25 and written to a file as x264 QP text. scale.sh runs the same conversion through
// the executable and reports its peak memory beside cat's.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>
#include <sstream>
#include <string>

#include "cli/convert.h"
#include "core/chapter_list.h"
#include "core/timestamp.h"
#include "writers/format_table.h"
#include "writers/text_file.h"

namespace markwright {
namespace {

constexpr int kMillion = 1'000'000;

void BM_ConvertMillionChapterFile(benchmark::State& state) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("markwright_scale_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  {
    TitleChapters chapters;
    chapters.chapters.reserve(kMillion);
    for (int i = 0; i < kMillion; ++i) chapters.chapters.push_back({i * 7'919LL, {}, {}});
    WriteTextFile(folder / "big.txt", BuildFormatText(*FindFormatByKey("OGG"), chapters, 25, ""));
  }
  const std::string arguments = "-i \"" + (folder / "big.txt").string() + "\" -o \"" +
                                (folder / "qpfile.txt").string() +
                                "\" -f x264 -infps 24/1.001 -outfps 25";
  const ConversionOptions options = ReadConversionOptions(arguments);
  std::ostringstream notes;
  for (auto _ : state) ConvertCommandLine(options, folder, {}, notes);
  state.SetItemsProcessed(state.iterations() * kMillion);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(
                                                   std::filesystem::file_size(folder / "big.txt")));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ConvertMillionChapterFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace markwright
