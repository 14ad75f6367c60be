#include "core/frame_times.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "core/decimal.h"
#include "core/error.h"
#include "core/timestamp.h"

namespace markwright {
namespace {

// One frame range of a v1 file: frames first to last (both included) at rate.
struct RateRange {
  std::int64_t first = 0;
  std::int64_t last = 0;
  double rate = 0;
};

class TimestampFileParser {
 public:
  TimestampFileParser(std::string_view text, std::string_view name) : text_(text), name_(name) {}

  FrameTimes Parse() {
    FrameTimes times;
    times.file = name_;
    std::string_view header;
    if (!NextLine(header, false)) Fail("empty file: a timestamp file begins with its format line");
    int version = 0;
    for (const int candidate : {1, 2, 4}) {
      const std::string number = " format v" + std::to_string(candidate);
      if (header == "# timecode" + number || header == "# timestamp" + number) version = candidate;
    }
    if (version == 0) {
      Fail(
          "not a timestamp file of format v1, v2 or v4: the first line must be "
          "\"# timestamp format v2\" (or v1, v4; \"timecode\" is also read)");
    }
    if (version == 1) {
      ParseVersion1(times);
    } else {
      ParseTimes(times, version == 4);
    }
    return times;
  }

 private:
  [[noreturn]] void Fail(const std::string& cause) const {
    throw ReadError(name_, line_number_ == 0 ? "" : AtLine(line_number_), cause);
  }

  // The next line that is neither empty nor a comment, or when skip is false the very next line;
  // false at the end. Lines end with LF, CR LF or CR.
  bool NextLine(std::string_view& line, bool skip = true) {
    while (position_ < text_.size()) {
      const std::size_t end = text_.find_first_of("\r\n", position_);
      line = text_.substr(position_, end == std::string_view::npos ? end : end - position_);
      position_ = end == std::string_view::npos ? text_.size() : end + 1;
      if (end != std::string_view::npos && text_[end] == '\r' && position_ < text_.size() &&
          text_[position_] == '\n') {
        ++position_;
      }
      ++line_number_;
      line = TrimBlanks(line);
      if (skip && (line.empty() || line.front() == '#')) continue;
      return true;
    }
    return false;
  }

  double PositiveRate(std::string_view text) const {
    const auto rate = ParseDecimal(TrimBlanks(text));
    if (!rate || !(*rate > 0) || !std::isfinite(*rate)) {
      Fail(QuotedText(text) + " is no frame rate above 0");
    }
    return *rate;
  }

  std::int64_t FrameNumber(std::string_view text) const {
    const auto number = ParseDigits(TrimBlanks(text));
    if (!number) Fail(QuotedText(text) + " is no frame number");
    if (*number >= static_cast<std::int64_t>(kMaxTimestampFrames)) TooManyFrames();
    return *number;
  }

  [[noreturn]] void TooManyFrames() const {
    Fail("more than " + std::to_string(kMaxTimestampFrames) + " frames");
  }

  void ParseVersion1(FrameTimes& times) {
    std::string_view line;
    if (!NextLine(line) || !line.starts_with("assume ")) {
      Fail("a v1 file gives its rate on the line after the format line: \"assume 25\"");
    }
    const double assumed = PositiveRate(line.substr(7));
    std::vector<RateRange> ranges;
    while (NextLine(line)) {
      const auto first_comma = line.find(',');
      const auto second_comma =
          first_comma == std::string_view::npos ? first_comma : line.find(',', first_comma + 1);
      if (second_comma == std::string_view::npos) Fail("a range is \"first,last,rate\"");
      RateRange range{FrameNumber(line.substr(0, first_comma)),
                      FrameNumber(line.substr(first_comma + 1, second_comma - first_comma - 1)),
                      PositiveRate(line.substr(second_comma + 1))};
      if (range.last < range.first) Fail("the range ends before it begins");
      if (!ranges.empty() && range.first <= ranges.back().last) {
        Fail("the range overlaps the one before or is out of order");
      }
      ranges.push_back(range);
    }
    times.tail_rate = assumed;
    const bool one_rate = std::ranges::all_of(
        ranges, [assumed](const RateRange& range) { return range.rate == assumed; });
    if (one_rate) times.constant_rate = RoundTo15Digits(assumed);
    // Up to the first frame after the last range, which starts the frames at the assumed rate.
    const std::int64_t frames = ranges.empty() ? 1 : ranges.back().last + 2;
    times.starts.reserve(static_cast<std::size_t>(frames));
    double start = 0;
    auto range = ranges.begin();
    for (std::int64_t frame = 0; frame < frames; ++frame) {
      times.starts.push_back(start);
      while (range != ranges.end() && range->last < frame) ++range;
      const bool inside = range != ranges.end() && range->first <= frame;
      start += 1000 / (inside ? range->rate : assumed);
    }
  }

  void ParseTimes(FrameTimes& times, bool unsorted) {
    std::string_view line;
    while (NextLine(line)) {
      const auto time = ParseDecimal(line);
      if (!time || !std::isfinite(*time) || *time < 0 || *time >= 9.0e15) {
        Fail(QuotedText(line) + " is no time in milliseconds");
      }
      if (!unsorted && !times.starts.empty() && *time < times.starts.back()) {
        Fail("the time is earlier than the one before (a v4 file may be unsorted, a v2 file not)");
      }
      if (times.starts.size() == kMaxTimestampFrames) TooManyFrames();
      times.starts.push_back(*time);
    }
    line_number_ = 0;
    if (times.starts.empty()) Fail("no frame times");
    if (unsorted) std::ranges::sort(times.starts);
    times.constant_rate = FrameGridRate(times.starts);
  }

  std::string_view text_;
  std::string_view name_;
  std::size_t position_ = 0;
  std::size_t line_number_ = 0;
};

}  // namespace

// The rate on whose grid every frame falls, as -outfps would carry it; nullopt when none does.
std::optional<double> FrameGridRate(const std::vector<double>& starts) {
  if (starts.size() < 2 || starts.front() != 0) return std::nullopt;
  const double measured =
      static_cast<double>(starts.size() - 1) * 1000 / (starts.back() - starts.front());
  if (!std::isfinite(measured)) return std::nullopt;
  for (const double rate : {RoundHalfEven(measured), RoundHalfEven(measured * 1.001) / 1.001}) {
    if (!(rate > 0)) continue;
    const double carried = RoundTo15Digits(rate);
    bool on_grid = true;
    for (std::size_t frame = 0; frame < starts.size() && on_grid; ++frame) {
      on_grid = std::abs(starts[frame] - static_cast<double>(frame) * 1000 / carried) <= 0.5001;
    }
    if (on_grid) return carried;
  }
  return std::nullopt;
}

FrameTimes ParseFrameTimes(std::string_view text, std::string_view name) {
  return TimestampFileParser(text, name).Parse();
}

FrameClock::FrameClock(std::shared_ptr<const FrameTimes> times)
    : rate_(times->constant_rate.value_or(0)), times_(std::move(times)) {}

std::optional<double> FrameClock::ConstantRate() const {
  if (times_ && !times_->constant_rate) return std::nullopt;
  return rate_;
}

bool FrameClock::HasFrame(std::int64_t frame) const {
  return frame >= 0 && (!times_ || times_->tail_rate > 0 ||
                        frame < static_cast<std::int64_t>(times_->starts.size()));
}

double FrameClock::FrameStart(std::int64_t frame) const {
  const auto& starts = times_->starts;
  const auto listed = static_cast<std::int64_t>(starts.size());
  if (frame < listed) return starts[static_cast<std::size_t>(frame)];
  return starts.back() + static_cast<double>(frame - listed + 1) * 1000 / times_->tail_rate;
}

std::int64_t FrameClock::FirstFrameFrom(double milliseconds) const {
  const auto& starts = times_->starts;
  if (times_->tail_rate == 0 || milliseconds <= starts.back()) {
    return std::ranges::lower_bound(starts, milliseconds) - starts.begin();
  }
  const double after_last = std::ceil((milliseconds - starts.back()) * times_->tail_rate / 1000);
  // A rate of 10^60 frames a second numbers frames beyond any count.
  if (!(after_last < 0x1p62)) {
    throw Error("the frame number of " + FormatTimestamp(static_cast<std::int64_t>(milliseconds)) +
                " is out of range");
  }
  return static_cast<std::int64_t>(starts.size()) - 1 + static_cast<std::int64_t>(after_last);
}

std::int64_t FrameClock::FrameAt(std::int64_t milliseconds, FrameTie tie) const {
  if (!times_) return TimestampToFrame(milliseconds, rate_);
  const auto& starts = times_->starts;
  const auto past_last = [&] {
    throw Error(FormatTimestamp(milliseconds) + " is past the last frame of " + times_->file +
                " (frame " + std::to_string(starts.size() - 1) + " at " +
                FormatDecimal15(starts.back()) + " ms)");
  };
  if (times_->constant_rate) {
    const std::int64_t frame = TimestampToFrame(milliseconds, rate_);
    if (times_->tail_rate == 0 && frame >= static_cast<std::int64_t>(starts.size())) past_last();
    return frame;
  }
  const auto time = static_cast<double>(milliseconds);
  const std::int64_t later = FirstFrameFrom(time);
  if (later == 0) return 0;
  const std::int64_t earlier = later - 1;
  const auto listed = static_cast<std::int64_t>(starts.size());
  // A video that ends with its last listed frame: that frame is taken to last as long as the one
  // before it, and a time nearer its end than its start lies past it.
  double later_start = 0;
  if (later < listed || times_->tail_rate > 0) {
    later_start = FrameStart(later);
  } else {
    const double last = starts.back();
    later_start = listed > 1 ? 2 * last - starts[starts.size() - 2] : last;
  }
  const double to_earlier = time - FrameStart(earlier);
  const double to_later = later_start - time;
  std::int64_t frame = later;
  if (to_earlier < to_later) {
    frame = earlier;
  } else if (to_earlier == to_later) {
    frame = tie == FrameTie::kEarlier || earlier % 2 == 0 ? earlier : later;
  }
  if (frame >= listed && times_->tail_rate == 0) past_last();
  if (frame > std::numeric_limits<std::int32_t>::max()) {
    throw Error("the frame number of " + FormatTimestamp(milliseconds) + " is out of range");
  }
  return frame;
}

}  // namespace markwright
