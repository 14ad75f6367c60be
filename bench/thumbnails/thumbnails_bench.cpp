// Thumbnails of a video through the reading child (ReadThumbnails), as the window asks for them:
// count times spread evenly over the video's length, width pixels wide. Prints the wall time to
// the first picture, to a picture for every time (quick ones: the key frame before it), to an
// exact picture for every time and to the end (the frame list after them), and the CPU time the
// reading child took, which a busy machine does not inflate.
//   markwright_thumbnails_bench <markwright executable> <video> <length in ms> [count] [width]
// bench/thumbnails.sh makes the video and runs it.
#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <vector>

#include "readers/mediainfo_child.h"
#include "readers/thumbnails.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fputs("usage: markwright_thumbnails_bench PROGRAM VIDEO LENGTH_MS [COUNT] [WIDTH]\n",
               stderr);
    return 2;
  }
  markwright::SetMediaInfoChildProgram(argv[1]);
  const std::int64_t length = std::atoll(argv[3]);
  const std::int64_t count = argc > 4 ? std::atoll(argv[4]) : 40;
  const int width = argc > 5 ? std::atoi(argv[5]) : markwright::kThumbnailWidth;
  std::vector<std::int64_t> times;
  for (std::int64_t i = 0; i < count; ++i) times.push_back(length * i / count + 500);

  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  const auto seconds = [&start] {
    return std::chrono::duration<double>(Clock::now() - start).count();
  };
  // Every time has a picture once its quick one (or its exact one) is in; all are exact once
  // the last exact one is.
  std::vector<bool> pictured(times.size());
  std::vector<bool> exact(times.size());
  std::size_t pictures = 0;
  std::size_t exact_pictures = 0;
  double first = 0;
  double all_pictured = 0;
  double all_exact = 0;
  try {
    const auto frames =
        markwright::ReadThumbnails(argv[2], times, width, [&](markwright::Thumbnail&& picture) {
          const double now = seconds();
          if (pictures == 0) first = now;
          if (!pictured[picture.index]) {
            pictured[picture.index] = true;
            if (++pictures == times.size()) all_pictured = now;
          }
          if (picture.exact && !exact[picture.index]) {
            exact[picture.index] = true;
            if (++exact_pictures == times.size()) all_exact = now;
          }
          return true;
        });
    const double all = seconds();
    rusage child{};
    getrusage(RUSAGE_CHILDREN, &child);
    const double cpu = static_cast<double>(child.ru_utime.tv_sec + child.ru_stime.tv_sec) +
                       static_cast<double>(child.ru_utime.tv_usec + child.ru_stime.tv_usec) / 1e6;
    std::printf(
        "%zu times, %d px wide: first picture %.2f s, every time pictured %.2f s, every picture "
        "exact %.2f s, with the frame list (%zu frames, %zu key frames) %.2f s; the child's CPU "
        "time %.2f s\n",
        times.size(), width, first, all_pictured, all_exact, frames->times->starts.size(),
        frames->key_frames.size(), all, cpu);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return 1;
  }
  return exact_pictures == times.size() ? 0 : 1;
}
