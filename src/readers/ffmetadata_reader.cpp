#include "readers/ffmetadata_reader.h"

#include <cstdint>
#include <optional>
#include <string>
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

// Beyond this a millisecond count is no longer exact in a double.
constexpr double kLargestMilliseconds = 9007199254740992.0;  // 2^53

// One line as ffmpeg reads it: the key before the first '=' that no backslash keeps, the value
// after it, each with its escapes resolved. A backslash keeps a line end, so a line may span
// several lines of the file.
struct MetadataLine {
  std::size_t number = 0;
  std::string raw;
  std::string key;
  std::optional<std::string> value;
};

// Reads the line starting at position and moves position past it; line_number follows it.
MetadataLine NextLine(std::string_view text, std::size_t& position, std::size_t& line_number) {
  MetadataLine line{++line_number, {}, {}, {}};
  while (position < text.size()) {
    char c = text[position++];
    if (c == '\n') break;
    if (c == '\r' && (position == text.size() || text[position] == '\n')) continue;
    line.raw += c;
    if (c == '=' && !line.value) {
      line.value.emplace();
      continue;
    }
    if (c == '\\' && position < text.size()) {
      c = text[position++];
      line.raw += c;
      if (c == '\n') ++line_number;
    }
    (line.value ? *line.value : line.key) += c;
  }
  return line;
}

// A [CHAPTER] section; its times are converted once its TIMEBASE is known, wherever it stands.
struct Section {
  std::size_t line_number = 0;
  std::int64_t numerator = 1;  // the time base ffmpeg takes when TIMEBASE is absent
  std::int64_t denominator = 1000000000;
  std::optional<MetadataLine> start;
  std::optional<MetadataLine> end;
  std::string name;
};

// The number a value starts with, read as ffmpeg's sscanf("%d") reads it: white space skipped,
// an optional sign, then the digits up to the first other character, so "1/1000 ", " 45000" and
// "1065451.0" are 1, 45000 and 1065451. Moves rest past the digits; nullopt without a digit or
// when the number does not fit.
std::optional<std::int64_t> LeadingNumber(std::string_view& rest) {
  const auto first = rest.find_first_not_of(" \t\n\v\f\r");
  rest.remove_prefix(first == std::string_view::npos ? rest.size() : first);
  const bool negative = !rest.empty() && rest.front() == '-';
  if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) rest.remove_prefix(1);
  std::size_t digits = 0;
  while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') ++digits;
  const auto number = ParseDigits(rest.substr(0, digits));
  rest.remove_prefix(digits);
  if (!number) return std::nullopt;
  return negative ? -*number : *number;
}

std::int64_t Milliseconds(const Section& section, const MetadataLine& line, std::string_view path) {
  std::string_view rest = *line.value;
  const auto units = LeadingNumber(rest);
  const double milliseconds = units ? static_cast<double>(*units) * 1000.0 *
                                          static_cast<double>(section.numerator) /
                                          static_cast<double>(section.denominator)
                                    : -1;
  if (!(milliseconds >= 0 && milliseconds < kLargestMilliseconds)) {
    throw ReadError(path, AtLine(line.number),
                    line.key + " is not a time: " + QuotedExcerpt(*line.value));
  }
  return static_cast<std::int64_t>(RoundHalfEven(milliseconds));
}

void ReadTimeBase(Section& section, const MetadataLine& line, std::string_view path) {
  std::string_view rest = *line.value;
  const auto numerator = LeadingNumber(rest);
  const bool slash = !rest.empty() && rest.front() == '/';
  if (slash) rest.remove_prefix(1);
  const auto denominator = slash ? LeadingNumber(rest) : std::nullopt;
  if (!numerator || !denominator || *numerator <= 0 || *denominator <= 0) {
    throw ReadError(path, AtLine(line.number),
                    "TIMEBASE is not a fraction such as 1/1000: " + QuotedExcerpt(*line.value));
  }
  section.numerator = *numerator;
  section.denominator = *denominator;
}

bool IsTitleKey(std::string_view key) {
  constexpr std::string_view kTitle = "title";
  if (key.size() != kTitle.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i) {
    if ((key[i] | 0x20) != kTitle[i]) return false;  // ffmpeg's keys ignore letter case
  }
  return true;
}

}  // namespace

TitleChapters ParseFfmetadata(std::string_view text, std::string_view path) {
  text = SkipUtf8Bom(text);
  // ffmpeg takes the bytes as UTF-8; a file that is not UTF-8 throughout comes from an older
  // Windows tool, as with OGG chapter text, and its names are read as Windows-1252.
  const bool utf8 = IsValidUtf8(text);
  std::size_t position = 0;
  std::size_t line_number = 0;
  if (NextLine(text, position, line_number).raw.rfind(";FFMETADATA", 0) != 0) {
    throw ReadError(path, AtLine(1), "the first line is not ;FFMETADATA1");
  }
  TitleChapters title;
  std::vector<std::optional<std::int64_t>> ends;
  std::optional<Section> chapter;
  const auto close_chapter = [&] {
    if (!chapter) return;
    if (!chapter->start) {
      throw ReadError(path, AtLine(chapter->line_number), "chapter has no START");
    }
    CheckRoomForChapter(title.chapters.size(), path);
    title.chapters.push_back({Milliseconds(*chapter, *chapter->start, path),
                              utf8 ? std::move(chapter->name) : Windows1252ToUtf8(chapter->name),
                              ""});
    // The title lasts to the latest END: a list out of order need not end with it.
    ends.emplace_back();
    if (chapter->end) {
      const std::int64_t end = Milliseconds(*chapter, *chapter->end, path);
      if (!title.length || end > *title.length) title.length = end;
      ends.back() = end;
    }
    chapter.reset();
  };
  while (position < text.size()) {
    MetadataLine line = NextLine(text, position, line_number);
    if (line.raw.empty() || line.raw[0] == ';' || line.raw[0] == '#') continue;
    if (line.raw[0] == '[') {
      close_chapter();
      if (line.raw.rfind("[CHAPTER]", 0) == 0) chapter.emplace().line_number = line.number;
      continue;
    }
    if (!line.value) {
      throw ReadError(path, AtLine(line.number),
                      "expected KEY=VALUE, found " + QuotedExcerpt(line.raw));
    }
    if (!chapter) continue;  // the file's or a stream's own keys
    if (line.key == "TIMEBASE") {
      ReadTimeBase(*chapter, line, path);
    } else if (line.key == "START") {
      chapter->start = std::move(line);
    } else if (line.key == "END") {
      chapter->end = std::move(line);
    } else if (IsTitleKey(line.key)) {
      chapter->name = *line.value;
    }
  }
  close_chapter();
  if (title.chapters.empty()) throw ReadError(path, "", "there is no [CHAPTER] section");
  title.left_out.end_times = EndsNotKept(title, ends);
  return title;
}

}  // namespace markwright
