// The OGG path at scale: 100,000 chapters parsed, re-timed and written. Items are chapters, so
// the report shows the time per chapter.
#include <benchmark/benchmark.h>

#include <string>

#include "core/chapter_list.h"
#include "core/timestamp.h"
#include "readers/ogg_reader.h"
#include "writers/format_table.h"

namespace markwright {
namespace {

constexpr int kChapters = 100'000;

std::string OggText(int count) {
  TitleChapters chapters;
  chapters.chapters.reserve(count);
  for (int i = 0; i < count; ++i) chapters.chapters.push_back({i * 7'919LL, {}, {}});
  return BuildFormatText(*FindFormatByKey("OGG"), chapters, 25, "25");
}

void BM_ParseOgg(benchmark::State& state) {
  const std::string text = OggText(kChapters);
  for (auto _ : state) benchmark::DoNotOptimize(ParseOggChapters(text, "bench.txt"));
  state.SetItemsProcessed(state.iterations() * kChapters);
}
BENCHMARK(BM_ParseOgg)->Unit(benchmark::kMillisecond);

void BM_Retime(benchmark::State& state) {
  const TitleChapters chapters = ParseOggChapters(OggText(kChapters), "bench.txt");
  for (auto _ : state) benchmark::DoNotOptimize(RetimeChapters(chapters, 24 / 1.001, 25));
  state.SetItemsProcessed(state.iterations() * kChapters);
}
BENCHMARK(BM_Retime)->Unit(benchmark::kMillisecond);

void BM_WriteOgg(benchmark::State& state) {
  const TitleChapters chapters = ParseOggChapters(OggText(kChapters), "bench.txt");
  const auto& ogg = *FindFormatByKey("OGG");
  for (auto _ : state) benchmark::DoNotOptimize(BuildFormatText(ogg, chapters, 25, "25"));
  state.SetItemsProcessed(state.iterations() * kChapters);
}
BENCHMARK(BM_WriteOgg)->Unit(benchmark::kMillisecond);

void BM_WholeOggConversion(benchmark::State& state) {
  const std::string text = OggText(kChapters);
  const auto& ogg = *FindFormatByKey("OGG");
  for (auto _ : state) {
    const TitleChapters retimed =
        RetimeChapters(ParseOggChapters(text, "bench.txt"), 24 / 1.001, 25);
    benchmark::DoNotOptimize(BuildFormatText(ogg, retimed, 25, "23.976"));
  }
  state.SetItemsProcessed(state.iterations() * kChapters);
}
BENCHMARK(BM_WholeOggConversion)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace markwright
