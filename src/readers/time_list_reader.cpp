#include "readers/time_list_reader.h"

#include <array>
#include <optional>
#include <string>

#include "core/decimal.h"
#include "core/error.h"
#include "readers/chapter_limit.h"
#include "readers/clock_time.h"
#include "readers/source_file.h"
#include "readers/text_encoding.h"

namespace markwright {
namespace {

// Notes beyond these are counted, not listed: a long text pasted whole needs no page of notes.
constexpr std::size_t kListedNotes = 10;

struct TimeListLine {
  std::int64_t start = 0;
  std::string_view name;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view AfterSeparator(std::string_view rest) {
  rest = TrimBlanks(rest);
  constexpr std::array<std::string_view, 5> kSeparators = {"-", "\xE2\x80\x93", "\xE2\x80\x94", "|",
                                                           ":"};
  for (const std::string_view separator : kSeparators) {
    if (rest.starts_with(separator) &&
        (rest.size() == separator.size() || IsBlank(rest[separator.size()]))) {
      return TrimBlanks(rest.substr(separator.size()));
    }
  }
  return rest;
}

std::optional<TimeListLine> ReadLine(std::string_view line) {
  line = TrimBlanks(line);
  if (line.empty()) return std::nullopt;
  std::size_t time_at = 0;
  char closing = ' ';
  if (line.front() == '[' || line.front() == '(') {
    closing = line.front() == '[' ? ']' : ')';
    time_at = 1;
  }
  std::size_t end = time_at;
  while (end < line.size() && !IsBlank(line[end]) && line[end] != closing) ++end;
  const auto start = ClockTimeMilliseconds(line.substr(time_at, end - time_at), 1);
  if (!start) return std::nullopt;
  if (time_at == 1) {
    if (end == line.size() || line[end] != closing) return std::nullopt;
    ++end;
  }
  if (end < line.size() && !IsBlank(line[end])) return std::nullopt;
  return TimeListLine{*start, AfterSeparator(line.substr(end))};
}

}  // namespace

bool IsTimeListLine(std::string_view line) {
  return ReadLine(line).has_value();
}

TitleChapters ParseTimeList(std::string_view text, std::string_view path) {
  const bool windows_1252 = !IsValidUtf8(text);
  TitleChapters title;
  std::size_t unread = 0;
  LineWalker lines(text);
  std::string_view line;
  for (std::size_t number = 1; lines.Next(line); ++number) {
    const auto read = ReadLine(line);
    if (!read) {
      if (TrimBlanks(line).empty()) continue;
      if (++unread <= kListedNotes) {
        const std::string shown = windows_1252 ? Windows1252ToUtf8(line) : std::string(line);
        title.notes.push_back(std::string(path) + ": " + AtLine(number) +
                              " has no time and is left out: " + QuotedExcerpt(TrimBlanks(shown)));
      }
      continue;
    }
    CheckRoomForChapter(title.chapters.size(), path);
    title.chapters.push_back(
        {read->start, windows_1252 ? Windows1252ToUtf8(read->name) : std::string(read->name), ""});
  }
  if (unread > kListedNotes) {
    title.notes.push_back(std::string(path) + ": " + std::to_string(unread - kListedNotes) +
                          " more lines without a time are left out");
  }
  if (title.chapters.empty()) throw ReadError(path, "", "there is no line with a time");
  return title;
}

}  // namespace markwright
