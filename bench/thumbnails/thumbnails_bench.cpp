// Thumbnails of a video through the reading child (ReadThumbnails), as the window asks for them:
// count times spread evenly over the video's length, width pixels wide. Prints the wall time to
// the first thumbnail, to the last and to the end (the frame list after them).
//   markwright_thumbnails_bench <markwright executable> <video> <length in ms> [count] [width]
// bench/thumbnails.sh makes the video and runs it.
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
  double first = 0;
  double last = 0;
  std::int64_t received = 0;
  try {
    const auto frames =
        markwright::ReadThumbnails(argv[2], times, width, [&](markwright::Thumbnail&&) {
          last = seconds();
          if (received++ == 0) first = last;
          return true;
        });
    const double all = seconds();
    std::printf("%lld thumbnails %d px wide: first %.2f s, last %.2f s, with the frame list "
                "(%zu frames, %zu key frames) %.2f s\n",
                static_cast<long long>(received), width, first, last,
                frames->times->starts.size(), frames->key_frames.size(), all);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return 1;
  }
  return received == count ? 0 : 1;
}
