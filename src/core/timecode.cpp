#include "core/timecode.h"

#include <charconv>
#include <cmath>

namespace markwright {
namespace {

// Labels skipped at the start of a dropping minute: 2 at 29.97, 4 at 59.94.
int DroppedPerMinute(TimecodeBase base) {
  return base.nominal / 15;
}

bool Dropping(TimecodeBase base, bool drop_frame) {
  return drop_frame && base.CanDropFrames();
}

void AppendTwoDigits(std::string& text, std::int64_t value) {
  if (value < 10) text += '0';
  char digits[24];
  text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// The digits of text up to the next separator; advances past it. -1 when there are none or
// they do not fit.
std::int64_t Field(std::string_view& text) {
  std::int64_t value = 0;
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop == text.data() || *text.data() < '0') return -1;
  text.remove_prefix(static_cast<std::size_t>(stop - text.data()));
  return value;
}

}  // namespace

std::optional<TimecodeBase> TimecodeBaseOf(double rate) {
  constexpr double kTolerance = 0.01;
  if (!(rate >= 0.5 && rate < 1000)) return std::nullopt;
  const double whole = std::round(rate);
  if (std::abs(rate - whole) < kTolerance) return TimecodeBase{static_cast<int>(whole), false};
  const double ntsc = std::round(rate * 1.001);
  if (std::abs(rate * 1.001 - ntsc) < kTolerance && ntsc < 1000) {
    return TimecodeBase{static_cast<int>(ntsc), true};
  }
  return std::nullopt;
}

Timecode FrameToTimecode(std::int64_t frame, TimecodeBase base, bool drop_frame) {
  const std::int64_t nominal = base.nominal;
  const bool dropping = Dropping(base, drop_frame);
  std::int64_t label = frame;
  if (dropping) {
    // Ten minutes hold nine dropping minutes; the first minute of ten keeps all its labels.
    const std::int64_t dropped = DroppedPerMinute(base);
    const std::int64_t full_minute = nominal * 60;
    const std::int64_t ten_minutes = full_minute * 10 - dropped * 9;
    const std::int64_t tens = frame / ten_minutes;
    const std::int64_t within = frame % ten_minutes;
    const std::int64_t dropping_minutes =
        within < full_minute ? 0 : 1 + (within - full_minute) / (full_minute - dropped);
    label += dropped * (tens * 9 + dropping_minutes);
  }
  Timecode timecode;
  timecode.drop_frame = dropping;
  timecode.frames = static_cast<int>(label % nominal);
  const std::int64_t seconds = label / nominal;
  timecode.seconds = static_cast<int>(seconds % 60);
  timecode.minutes = static_cast<int>(seconds / 60 % 60);
  timecode.hours = seconds / 3600;
  return timecode;
}

std::optional<std::int64_t> TimecodeToFrame(const Timecode& timecode, TimecodeBase base) {
  if (timecode.hours < 0 || timecode.minutes < 0 || timecode.minutes > 59 || timecode.seconds < 0 ||
      timecode.seconds > 59 || timecode.frames < 0 || timecode.frames >= base.nominal ||
      timecode.hours > 9'999'999) {
    return std::nullopt;
  }
  const std::int64_t minutes = timecode.hours * 60 + timecode.minutes;
  std::int64_t frame = (minutes * 60 + timecode.seconds) * base.nominal + timecode.frames;
  if (Dropping(base, timecode.drop_frame)) {
    const int dropped = DroppedPerMinute(base);
    if (timecode.seconds == 0 && timecode.frames < dropped && timecode.minutes % 10 != 0) {
      return std::nullopt;
    }
    frame -= dropped * (minutes - minutes / 10);
  }
  return frame;
}

void AppendTimecode(std::string& text, const Timecode& timecode, char clock_separator,
                    char frame_separator) {
  AppendTwoDigits(text, timecode.hours);
  text += clock_separator;
  AppendTwoDigits(text, timecode.minutes);
  text += clock_separator;
  AppendTwoDigits(text, timecode.seconds);
  text += frame_separator;
  AppendTwoDigits(text, timecode.frames);
}

std::optional<Timecode> ParseTimecode(std::string_view text) {
  Timecode timecode;
  std::int64_t fields[4] = {};
  for (int index = 0; index < 4; ++index) {
    if (index > 0) {
      if (text.empty() || (text.front() != ':' && text.front() != ';')) return std::nullopt;
      timecode.drop_frame = timecode.drop_frame || text.front() == ';';
      text.remove_prefix(1);
    }
    fields[index] = Field(text);
    if (fields[index] < 0 || (index > 0 && fields[index] > 99999)) return std::nullopt;
  }
  if (!text.empty()) return std::nullopt;
  timecode.hours = fields[0];
  timecode.minutes = static_cast<int>(fields[1]);
  timecode.seconds = static_cast<int>(fields[2]);
  timecode.frames = static_cast<int>(fields[3]);
  return timecode;
}

}  // namespace markwright
