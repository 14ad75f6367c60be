#include "readers/resolve_edl_reader.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/decimal.h"
#include "core/error.h"
#include "core/timecode.h"
#include "core/timestamp.h"
#include "readers/chapter_limit.h"
#include "readers/source_file.h"
#include "readers/text_encoding.h"
#include "readers/timecode_source.h"

namespace markwright {
namespace {

struct EdlEvent {
  std::int64_t record_frame = 0;
  Timecode hour;  // the record-in's whole hour, counted as the record-in is
  std::string name;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The blank-separated words of a line.
std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    const std::size_t begin = at;
    while (at < line.size() && !IsBlank(line[at])) ++at;
    if (at > begin) words.push_back(line.substr(begin, at - begin));
  }
  return words;
}

bool IsEventNumber(std::string_view word) {
  return word.size() >= 3 && std::ranges::all_of(word, [](char c) { return c >= '0' && c <= '9'; });
}

// The marker's name: what follows "|M:" up to the " |D:" of its duration, or to the line's end.
std::string MarkerName(std::string_view line) {
  std::string_view name = line.substr(line.find("|M:") + 3);
  const auto duration = name.rfind(" |D:");
  if (duration != std::string_view::npos) name = name.substr(0, duration);
  return std::string(TrimBlanks(name));
}

}  // namespace

TitleChapters ParseResolveEdl(std::string_view bytes, std::string_view source_name,
                              double input_rate) {
  const TimecodeBase base = InputTimecodeBase(input_rate, source_name);
  const std::string text = Utf8Name(bytes);
  std::vector<EdlEvent> events;
  bool drop_frame = false;
  bool named = true;  // whether the last event has its marker line
  std::size_t line_number = 0;
  LineWalker lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    ++line_number;
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.starts_with("FCM:")) {
      const std::string_view mode = TrimBlanks(trimmed.substr(4));
      if (mode != "DROP FRAME" && mode != "NON-DROP FRAME") {
        throw ReadError(
            source_name, AtLine(line_number),
            "expected FCM: DROP FRAME or NON-DROP FRAME, found " + QuotedExcerpt(trimmed));
      }
      drop_frame = mode == "DROP FRAME";
      continue;
    }
    const bool marker_line = trimmed.find("|C:") != std::string_view::npos ||
                             trimmed.find("|M:") != std::string_view::npos;
    if (marker_line) {
      if (!named && trimmed.find("|M:") != std::string_view::npos) {
        events.back().name = MarkerName(trimmed);
        named = true;
      }
      continue;
    }
    const std::vector<std::string_view> words = Words(trimmed);
    if (words.empty() || !IsEventNumber(words[0])) continue;
    if (words.size() < 8) {
      throw ReadError(source_name, AtLine(line_number),
                      "an event needs a number, reel, track, edit and four timecodes: " +
                          QuotedExcerpt(trimmed));
    }
    // The record-in, the place on the timeline.
    Timecode record_in;
    const std::int64_t frame = SourceTimecodeFrame(words[words.size() - 2], base, drop_frame,
                                                   source_name, line_number, &record_in);
    CheckRoomForChapter(events.size(), source_name);
    Timecode hour;
    hour.hours = record_in.hours;
    hour.drop_frame = record_in.drop_frame;
    events.push_back({frame, hour, {}});
    named = false;
  }
  if (events.empty()) throw ReadError(source_name, "", "no events found");

  // The timeline starts at the whole hour of the earliest marker.
  const auto earliest = std::ranges::min_element(events, {}, &EdlEvent::record_frame);
  const std::int64_t start = TimecodeToFrame(earliest->hour, base).value_or(0);

  TitleChapters title;
  title.chapters.reserve(events.size());
  for (EdlEvent& event : events) {
    const double frame = static_cast<double>(event.record_frame - start);
    title.chapters.push_back({static_cast<std::int64_t>(FrameStartMilliseconds(frame, input_rate)),
                              std::move(event.name),
                              {}});
  }
  return title;
}

}  // namespace markwright
