// Any text as a Matroska timestamp file, and when it parses, chapters put on its frames: frames
// or a ReadError (an Error for a chapter past the last frame), never a crash.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "core/error.h"
#include "core/frame_times.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const markwright::FrameClock clock(
        std::make_shared<const markwright::FrameTimes>(markwright::ParseFrameTimes(text, "tc")));
    for (const std::int64_t milliseconds : {0LL, 1LL, 999LL, 3'600'000LL, 900'000'000'000LL}) {
      for (const auto tie : {markwright::FrameTie::kEven, markwright::FrameTie::kEarlier}) {
        try {
          const std::int64_t frame = clock.FrameAt(milliseconds, tie);
          if (!clock.ConstantRate()) clock.FirstFrameFrom(clock.FrameStart(frame));
        } catch (const markwright::Error&) {
        }
      }
    }
  } catch (const markwright::ReadError&) {
  }
  return 0;
}
