#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace markwright {

// The frames of a video as a Matroska timestamp file (v1, v2 or v4, as mkvmerge reads them)
// describes them: each frame's start in milliseconds, in frame order.
struct FrameTimes {
  std::string file;            // the file's name, for messages
  std::vector<double> starts;  // at least one frame, non-decreasing
  // A v1 file's video goes on after its last range at the assumed rate; 0: the video ends with
  // the last listed frame.
  double tail_rate = 0;
  // Set when every frame falls on the grid of one rate (a v1 file without other ranges, or a
  // v2/v4 file whose every time lies within half a millisecond of frame x 1000 / rate for a whole
  // rate or a whole rate / 1.001): the rate as -outfps would carry it, so such a file gives the
  // same frames and fields as that option.
  std::optional<double> constant_rate;
};

// The most frames a file may describe.
inline constexpr std::size_t kMaxTimestampFrames = 10'000'000;

// The rate on whose grid every frame falls (see FrameTimes::constant_rate); nullopt when none does.
std::optional<double> FrameGridRate(const std::vector<double>& starts);

// Parses the text of a timestamp file; name is the file in messages. Throws ReadError naming the
// line and the cause.
FrameTimes ParseFrameTimes(std::string_view text, std::string_view name);

// How a time exactly halfway between two frames is broken.
enum class FrameTie { kEven, kEarlier };

// Where the frame-based writers take a chapter's frame from: a constant rate (-outfps) or the
// frames of a timestamp file.
class FrameClock {
 public:
  // Implicit: a rate is the clock of every conversion without a timestamp file.
  FrameClock(double rate) : rate_(rate) {}  // NOLINT(google-explicit-constructor)
  explicit FrameClock(std::shared_ptr<const FrameTimes> times);

  // The constant rate the writers' rate rules use; nullopt for frames of varying length.
  std::optional<double> ConstantRate() const;

  // The frame whose start is nearest the time (at a constant rate, TimestampToFrame; its ties go
  // to the even frame whatever the tie given). Throws Error for a time past the last frame of a
  // timestamp file, naming the file.
  std::int64_t FrameAt(std::int64_t milliseconds, FrameTie tie) const;

  // Whether the video has the frame: a timestamp file may end before it.
  bool HasFrame(std::int64_t frame) const;

  // The file the frames come from; "" for a constant rate.
  std::string_view File() const { return times_ ? std::string_view(times_->file) : ""; }

  // The start of a frame in milliseconds; only for frames of a timestamp file.
  double FrameStart(std::int64_t frame) const;

  // The first frame that starts at or after the time; only for frames of a timestamp file.
  std::int64_t FirstFrameFrom(double milliseconds) const;

 private:
  double rate_ = 0;
  std::shared_ptr<const FrameTimes> times_;
};

}  // namespace markwright
