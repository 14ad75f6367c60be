#include "readers/cue_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string>

#include "core/ascii_case.h"
#include "core/decimal.h"
#include "core/error.h"
#include "readers/chapter_limit.h"
#include "readers/source_file.h"
#include "readers/text_encoding.h"

namespace markwright {
namespace {

constexpr std::int64_t kFramesPerSecond = 75;

// Minutes beyond any disc, few enough that the milliseconds stay exact.
constexpr std::size_t kMostMinuteDigits = 9;

struct Command {
  std::string_view word;
  std::string_view rest;  // blanks trimmed
};

Command Split(std::string_view line) {
  line = TrimBlanks(line);
  const std::size_t blank = std::min(line.find_first_of(" \t"), line.size());
  return {line.substr(0, blank), TrimBlanks(line.substr(blank))};
}

// The value of TITLE or FILE: between the first and the last double quote when it is quoted (a
// quote inside is kept), else the first word (FILE) or the whole rest (TITLE).
std::string_view Value(std::string_view rest, bool first_word_only) {
  if (rest.starts_with('"')) {
    const std::size_t last = rest.rfind('"');
    return last == 0 ? rest.substr(1) : rest.substr(1, last - 1);
  }
  return first_word_only ? rest.substr(0, rest.find_first_of(" \t")) : rest;
}

// mm:ss:ff as milliseconds: minutes of any width, seconds below 60, frames below 75.
std::optional<std::int64_t> IndexTime(std::string_view text) {
  const std::size_t first = text.find(':');
  const std::size_t second = text.rfind(':');
  if (first == std::string_view::npos || first == second || first > kMostMinuteDigits ||
      second - first != 3 || text.size() - second != 3) {
    return std::nullopt;
  }
  const auto minutes = ParseDigits(text.substr(0, first));
  const auto seconds = ParseDigits(text.substr(first + 1, 2));
  const auto frames = ParseDigits(text.substr(second + 1));
  if (!minutes || !seconds || !frames || *seconds >= 60 || *frames >= kFramesPerSecond) {
    return std::nullopt;
  }
  // A frame is 1000/75 = 40/3 ms: adding 1 before dividing by 3 rounds to the nearest.
  return (*minutes * 60 + *seconds) * 1000 + (*frames * 40 + 1) / 3;
}

constexpr std::array<std::string_view, 8> kPassedOver = {
    "REM", "PERFORMER", "SONGWRITER", "FLAGS", "ISRC", "PREGAP", "POSTGAP", "CATALOG"};

bool IsPassedOver(std::string_view word) {
  return EqualIgnoringCase(word, "CDTEXTFILE") ||
         std::ranges::any_of(
             kPassedOver, [&](std::string_view known) { return EqualIgnoringCase(word, known); });
}

}  // namespace

bool IsCueSheetStart(std::string_view line) {
  const Command command = Split(line);
  constexpr std::array<std::string_view, 5> kFirst = {"REM", "PERFORMER", "TITLE", "FILE",
                                                      "SONGWRITER"};
  return command.word.size() < TrimBlanks(line).size() &&
         std::ranges::find(kFirst, command.word) != kFirst.end();
}

TitleChapters ParseCueSheet(std::string_view text, std::string_view path) {
  const bool windows_1252 = !IsValidUtf8(text);
  const auto utf8 = [&](std::string_view value) {
    return windows_1252 ? Windows1252ToUtf8(value) : std::string(value);
  };
  TitleChapters title;
  std::size_t file_line = 0;
  std::size_t track_line = 0;  // of the track being read; 0 before the first
  bool has_index = false;
  const auto end_track = [&] {
    if (track_line != 0 && !has_index) {
      throw ReadError(path, AtLine(track_line), "the track has no INDEX 01");
    }
  };
  LineWalker lines(text);
  std::string_view line;
  for (std::size_t number = 1; lines.Next(line); ++number) {
    const Command command = Split(line);
    if (command.word.empty()) continue;
    if (EqualIgnoringCase(command.word, "FILE")) {
      if (file_line != 0) {
        throw ReadError(path, AtLine(number),
                        "a second FILE (the first is on line " + std::to_string(file_line) +
                            "); a sheet of several files is not read, since each file's times "
                            "start at 0: make one sheet per file");
      }
      file_line = number;
      title.media_file = utf8(Value(command.rest, true));
    } else if (EqualIgnoringCase(command.word, "TRACK")) {
      if (file_line == 0) throw ReadError(path, AtLine(number), "a TRACK before the FILE");
      const std::string_view track_number =
          command.rest.substr(0, command.rest.find_first_of(" \t"));
      if (!ParseDigits(track_number)) {
        throw ReadError(
            path, AtLine(number),
            "expected TRACK and a track number, found " + QuotedExcerpt(TrimBlanks(line)));
      }
      end_track();
      track_line = number;
      has_index = false;
      CheckRoomForChapter(title.chapters.size(), path);
      title.chapters.push_back({});
    } else if (EqualIgnoringCase(command.word, "INDEX")) {
      const Command index = Split(command.rest);
      const auto time = IndexTime(index.rest);
      if (!ParseDigits(index.word) || !time) {
        throw ReadError(path, AtLine(number),
                        "expected INDEX, a number and a time mm:ss:ff, found " +
                            QuotedExcerpt(TrimBlanks(line)));
      }
      if (track_line == 0) throw ReadError(path, AtLine(number), "an INDEX before any TRACK");
      if (*ParseDigits(index.word) == 1) {
        title.chapters.back().start = *time;
        has_index = true;
      }
    } else if (EqualIgnoringCase(command.word, "TITLE")) {
      if (track_line != 0) title.chapters.back().name = utf8(Value(command.rest, false));
    } else if (!IsPassedOver(command.word)) {
      throw ReadError(path, AtLine(number),
                      "not a CUE sheet command: " + QuotedExcerpt(command.word));
    }
  }
  end_track();
  if (title.chapters.empty()) throw ReadError(path, "", "there is no TRACK");
  return title;
}

}  // namespace markwright
