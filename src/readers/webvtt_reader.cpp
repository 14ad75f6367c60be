#include "readers/webvtt_reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/chapter_list.h"
#include "core/decimal.h"
#include "core/error.h"
#include "core/timestamp.h"
#include "readers/chapter_limit.h"
#include "readers/source_file.h"
#include "readers/text_encoding.h"

namespace markwright {
namespace {

// Keeps a millisecond count exact in a double, as everywhere else.
constexpr std::int64_t kLargestHours = 2'000'000'000;

// How far after an '&' its ';' is looked for: beyond any reference a tool writes, leading zeros
// included.
constexpr std::size_t kLongestReference = 32;

bool IsBlankOrTab(char c) {
  return c == ' ' || c == '\t';
}

// The line is the word alone or the word followed by a blank or a tab.
bool StartsWithWord(std::string_view line, std::string_view word) {
  return line.starts_with(word) && (line.size() == word.size() || IsBlankOrTab(line[word.size()]));
}

// A field of exactly `width` digits (any number from 1 when width is 0) and at most `largest`.
std::optional<std::int64_t> Field(std::string_view text, std::size_t width, std::int64_t largest) {
  const auto value = ParseDigits(text);
  if (!value || (width != 0 && text.size() != width) || *value > largest) return std::nullopt;
  return value;
}

// A WebVTT timestamp, [hours:]MM:SS.mmm, in milliseconds: the hours have any number of digits,
// the other fields exactly two or three, minutes and seconds at most 59.
std::optional<std::int64_t> CueTimestamp(std::string_view text) {
  const auto dot = text.rfind('.');
  const auto last_colon = text.rfind(':');
  if (dot == std::string_view::npos || last_colon == std::string_view::npos || dot < last_colon) {
    return std::nullopt;
  }
  const auto first_colon = text.find(':');
  const auto hours = first_colon == last_colon
                         ? std::optional<std::int64_t>(0)
                         : Field(text.substr(0, first_colon), 0, kLargestHours);
  const std::size_t minutes_at = first_colon == last_colon ? 0 : first_colon + 1;
  const auto minutes = Field(text.substr(minutes_at, last_colon - minutes_at), 2, 59);
  const auto seconds = Field(text.substr(last_colon + 1, dot - last_colon - 1), 2, 59);
  const auto milliseconds = Field(text.substr(dot + 1), 3, 999);
  if (!hours || !minutes || !seconds || !milliseconds) return std::nullopt;
  return ((*hours * 60 + *minutes) * 60 + *seconds) * 1000 + *milliseconds;
}

// The character a reference between '&' and ';' stands for; nullopt for one this reader does not
// know, which then stays as written.
std::optional<std::uint32_t> ReferencedCharacter(std::string_view name) {
  constexpr std::array<std::pair<std::string_view, std::uint32_t>, 8> kNamed = {{{"amp", '&'},
                                                                                 {"lt", '<'},
                                                                                 {"gt", '>'},
                                                                                 {"quot", '"'},
                                                                                 {"apos", '\''},
                                                                                 {"nbsp", 0xA0},
                                                                                 {"lrm", 0x200E},
                                                                                 {"rlm", 0x200F}}};
  for (const auto& [known, code] : kNamed) {
    if (name == known) return code;
  }
  if (name.size() < 2 || name[0] != '#') return std::nullopt;
  const bool hex = name[1] == 'x' || name[1] == 'X';
  const std::string_view digits = name.substr(hex ? 2 : 1);
  std::uint32_t code = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || code == 0 ||
      code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    return std::nullopt;
  }
  return code;
}

// A cue text line as a player shows it: tags (<b>, <v Name>, <00:00:01.000>) left out and
// character references decoded; the rest taken as UTF-8, or as Windows-1252 when the file is not
// UTF-8 throughout.
std::string CueText(std::string_view line, bool windows_1252) {
  std::string text;
  std::size_t plain = 0;  // where the text not yet appended starts
  const auto append_plain = [&](std::size_t end) {
    const std::string_view bytes = line.substr(plain, end - plain);
    text += windows_1252 ? Windows1252ToUtf8(bytes) : std::string(bytes);
  };
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '<') {
      append_plain(i);
      i = std::min(line.find('>', i), line.size());
      plain = std::min(i + 1, line.size());
      continue;
    }
    // A known reference is short, so the ';' is looked for only that far: a long run of '&'
    // then costs no more than other text.
    const auto semicolon = line[i] == '&' ? line.substr(0, i + kLongestReference).find(';', i)
                                          : std::string_view::npos;
    const auto code = semicolon == std::string_view::npos
                          ? std::nullopt
                          : ReferencedCharacter(line.substr(i + 1, semicolon - i - 1));
    if (code) {
      append_plain(i);
      AppendUtf8(text, *code);
      i = semicolon;
      plain = i + 1;
    }
  }
  append_plain(line.size());
  return text;
}

}  // namespace

TitleChapters ParseWebVtt(std::string_view text, std::string_view path) {
  LineWalker lines(text);
  std::string_view line;
  std::size_t number = 0;
  const auto next = [&] {
    if (!lines.Next(line)) return false;
    ++number;
    return true;
  };
  const auto skip_block = [&] {
    while (next() && !line.empty()) {
    }
  };
  if (!next() || !StartsWithWord(line, "WEBVTT")) {
    throw ReadError(path, AtLine(1), "the first line is not WEBVTT");
  }
  skip_block();  // the header
  // WebVTT is UTF-8; a file that is not UTF-8 throughout comes from a tool that wrote its code
  // page, taken to be Windows-1252.
  const bool windows_1252 = !IsValidUtf8(text);
  TitleChapters title;
  std::vector<std::optional<std::int64_t>> ends;
  while (next()) {
    if (line.empty()) continue;
    if (StartsWithWord(line, "NOTE") || StartsWithWord(line, "STYLE") ||
        StartsWithWord(line, "REGION")) {
      skip_block();
      continue;
    }
    if (line.find("-->") == std::string_view::npos) next();  // past the cue's identifier
    const auto arrow = line.find("-->");
    if (arrow == std::string_view::npos) {
      throw ReadError(path, AtLine(number),
                      "expected a cue timing such as 00:01:02.500 --> 00:03:00.000, found " +
                          QuotedExcerpt(line));
    }
    std::string_view after = line.substr(arrow + 3);
    after.remove_prefix(std::min(after.find_first_not_of(" \t"), after.size()));
    const auto start = CueTimestamp(TrimBlanks(line.substr(0, arrow)));
    const auto end = CueTimestamp(after.substr(0, after.find_first_of(" \t")));
    if (!start || !end) {
      throw ReadError(path, AtLine(number),
                      "malformed cue timing " + QuotedExcerpt(line) +
                          "; expected [HH:]MM:SS.mmm --> [HH:]MM:SS.mmm");
    }
    const std::size_t timing_number = number;
    const std::string name = next() && !line.empty() ? CueText(line, windows_1252) : "";
    if (number > timing_number && !line.empty()) skip_block();
    CheckRoomForChapter(title.chapters.size(), path);
    title.chapters.push_back({*start, name, ""});
    title.length = *end;
    ends.emplace_back(*end);
  }
  if (title.chapters.empty()) throw ReadError(path, "", "there is no cue");
  title.left_out.end_times = EndsNotKept(title, ends);
  return title;
}

}  // namespace markwright
