#include "readers/ogg_reader.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/decimal.h"
#include "core/error.h"
#include "core/timestamp.h"
#include "readers/chapter_limit.h"
#include "readers/source_file.h"
#include "readers/text_encoding.h"

namespace markwright {
namespace {

// Above this the hour count no longer maps to an exact millisecond count.
constexpr std::int64_t kMaxHours = 2'000'000'000;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

// Where the first '=' stands. Keys are short, so a plain loop beats a library search here.
std::size_t EqualsSign(std::string_view line) {
  for (std::size_t at = 0; at < line.size(); ++at) {
    if (line[at] == '=') return at;
  }
  return std::string_view::npos;
}

// Whether the key starts with CHAPTER, letter case ignored.
bool HasChapterPrefix(std::string_view key) {
  if (key.size() <= 7) return false;
  // Clearing bit 5 upper-cases a letter and makes no other byte equal to one.
  const auto is = [&key](std::size_t at, char letter) { return (key[at] & ~0x20) == letter; };
  return is(0, 'C') && is(1, 'H') && is(2, 'A') && is(3, 'P') && is(4, 'T') && is(5, 'E') &&
         is(6, 'R');
}

// A key CHAPTER followed by one or more digits, letter case ignored.
bool IsChapterKey(std::string_view key) {
  return HasChapterPrefix(key) && AllDigits(key.substr(7));
}

// The digits of a key CHAPTERnnNAME, letter case ignored; empty for any other key.
std::string_view NameKeyDigits(std::string_view key) {
  if (key.size() <= 11 || !HasChapterPrefix(key)) return {};
  const std::string_view name = key.substr(key.size() - 4);
  const auto is = [&name](std::size_t at, char letter) { return (name[at] & ~0x20) == letter; };
  const std::string_view digits = key.substr(7, key.size() - 11);
  if (!is(0, 'N') || !is(1, 'A') || !is(2, 'M') || !is(3, 'E') || !AllDigits(digits)) return {};
  return digits;
}

// A chapter number as the key writes it, leading zeros aside, so CHAPTER1NAME names CHAPTER01.
// Numbers too long to hold all map to one value no name finds.
std::uint64_t ChapterNumber(std::string_view digits) {
  const auto first = digits.find_first_not_of('0');
  digits = first == std::string_view::npos ? std::string_view{} : digits.substr(first);
  if (digits.size() > 18) return UINT64_MAX;
  std::uint64_t number = 0;
  for (const char c : digits) number = number * 10 + static_cast<std::uint64_t>(c - '0');
  return number;
}

// Finds the chapter a name line belongs to: the latest chapter line with the same number. While
// the chapters are numbered 1, 2, 3, ... in order, as nearly every file has them, no number is
// stored; names almost always follow their chapter, so the last chapter is tried first, and an
// index of all numbers is built only when a name is found elsewhere.
class ChapterNumbers {
 public:
  void Add(std::uint64_t number) {
    ++count_;
    if (numbers_.empty() && number == count_) return;
    if (numbers_.empty()) {
      numbers_.reserve(count_);
      for (std::uint64_t n = 1; n < count_; ++n) numbers_.push_back(n);
    }
    numbers_.push_back(number);
    if (indexed_) index_[number] = count_ - 1;
  }

  std::optional<std::size_t> Find(std::uint64_t number) {
    if (count_ == 0) return std::nullopt;
    if (numbers_.empty()) {
      if (number < 1 || number > count_) return std::nullopt;
      return static_cast<std::size_t>(number - 1);
    }
    if (numbers_.back() == number) return numbers_.size() - 1;
    if (!indexed_) {
      for (std::size_t i = 0; i < numbers_.size(); ++i) index_[numbers_[i]] = i;
      indexed_ = true;
    }
    const auto found = index_.find(number);
    if (found == index_.end()) return std::nullopt;
    return found->second;
  }

 private:
  std::uint64_t count_ = 0;
  std::vector<std::uint64_t> numbers_;  // empty while the numbers run 1, 2, 3, ...
  std::unordered_map<std::uint64_t, std::size_t> index_;
  bool indexed_ = false;
};

// Name lines read before any chapter line of their number, kept until one comes. A file that
// gives each name just before its time has one name waiting at a time: it sits in a slot of its
// own, so such a file costs no allocation per chapter; the rest wait in a map.
class WaitingNames {
 public:
  bool Empty() const { return !in_slot_ && others_.empty(); }

  void Put(std::uint64_t number, std::string_view name) {
    if (in_slot_ && slot_number_ != number) others_[slot_number_] = std::move(slot_name_);
    if (!others_.empty()) others_.erase(number);  // this name comes later and wins
    slot_number_ = number;
    slot_name_.assign(name.data(), name.size());
    in_slot_ = true;
  }

  // The name waiting for a chapter of this number, taken out; nullopt when none waits.
  std::optional<std::string> Take(std::uint64_t number) {
    if (in_slot_ && slot_number_ == number) {
      in_slot_ = false;
      return std::move(slot_name_);
    }
    const auto found = others_.find(number);
    if (found == others_.end()) return std::nullopt;
    std::string name = std::move(found->second);
    others_.erase(found);
    return name;
  }

  // Calls use(number, name) for each name still waiting.
  template <typename Use>
  void ForEach(Use use) {
    if (in_slot_) use(slot_number_, slot_name_);
    for (auto& [number, name] : others_) use(number, name);
  }

 private:
  bool in_slot_ = false;
  std::uint64_t slot_number_ = 0;
  std::string slot_name_;
  std::unordered_map<std::uint64_t, std::string> others_;
};

// A two-digit field from 00 to 59.
std::optional<std::int64_t> SexagesimalField(std::string_view text) {
  if (text.size() != 2 || !AllDigits(text)) return std::nullopt;
  const std::int64_t value = (text[0] - '0') * 10 + (text[1] - '0');
  return value < 60 ? std::optional(value) : std::nullopt;
}

// The milliseconds of a decimal fraction of a second; beyond three digits the rest rounds half
// to even, so the result can reach 1000.
std::int64_t FractionMilliseconds(std::string_view digits) {
  std::int64_t milliseconds = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    milliseconds = milliseconds * 10 + (i < digits.size() ? digits[i] - '0' : 0);
  }
  if (digits.size() <= 3) return milliseconds;
  const std::string_view rest = digits.substr(3);
  const bool above_half =
      rest[0] > '5' || (rest[0] == '5' && rest.find_first_not_of('0', 1) != std::string_view::npos);
  const bool exactly_half = rest[0] == '5' && !above_half;
  if (above_half || (exactly_half && milliseconds % 2 == 1)) ++milliseconds;
  return milliseconds;
}

// H:MM:SS.f as milliseconds, or nullopt when the text has another form.
std::optional<std::int64_t> OggTime(std::string_view text) {
  // Most files hold H:MM:SS.mmm, which this reads to the same value more cheaply (its hours stay
  // far below kMaxHours).
  if (const std::int64_t plain = PlainTimestampMilliseconds(text); plain >= 0) return plain;
  const auto first_colon = text.find(':');
  const auto second_colon =
      text.find(':', first_colon == std::string_view::npos ? 0 : first_colon + 1);
  const auto dot = text.find('.');
  if (first_colon == std::string_view::npos || second_colon == std::string_view::npos ||
      dot == std::string_view::npos || dot < second_colon) {
    return std::nullopt;
  }
  const std::string_view hour_text = text.substr(0, first_colon);
  const std::string_view fraction = text.substr(dot + 1);
  if (!AllDigits(hour_text) || !AllDigits(fraction)) return std::nullopt;
  const auto minutes =
      SexagesimalField(text.substr(first_colon + 1, second_colon - first_colon - 1));
  const auto seconds = SexagesimalField(text.substr(second_colon + 1, dot - second_colon - 1));
  const auto hours = ParseDigits(hour_text);
  if (!minutes || !seconds || !hours || *hours > kMaxHours) return std::nullopt;
  return *hours * 3600000 + *minutes * 60000 + *seconds * 1000 + FractionMilliseconds(fraction);
}

// The chapters of the lines (a LineWalker or a SourceLineReader) of a text of text_size bytes,
// named by their CHAPTERnnNAME lines, before or after them. A text that is not UTF-8 throughout is
// Windows-1252, and its names are converted.
template <typename Lines>
TitleChapters ParseOggLines(Lines& lines, std::uintmax_t text_size, std::string_view source_name) {
  TitleChapters title;
  std::vector<Chapter>& chapters = title.chapters;
  // The shortest chapter line, CHAPTER0=0:00:00.0 and a line end, takes 19 bytes, so this never
  // has to grow (which would copy every chapter and, for a large file, fault in twice the memory).
  // Room that no chapter fills is never touched and costs no memory.
  chapters.reserve(
      static_cast<std::size_t>(std::min<std::uintmax_t>(text_size / 19 + 1, kMaxChapters)));
  ChapterNumbers numbers;
  // Names find their chapter by number wherever they stand. A name line names the latest chapter
  // of its number unless that one is named already; otherwise it waits for the next chapter line
  // of its number (a file may give each name before its time).
  std::vector<bool> named;
  WaitingNames waiting;
  bool utf8 = true;
  std::size_t line_number = 0;
  std::string_view line;
  while (lines.Next(line)) {
    ++line_number;
    const auto equals = EqualsSign(line);
    if (equals == std::string_view::npos) {
      if (TrimBlanks(line).empty()) continue;
      throw ReadError(source_name, AtLine(line_number),
                      "expected KEY=VALUE, found " + QuotedExcerpt(TrimBlanks(line)));
    }
    const std::string_view key = TrimBlanks(line.substr(0, equals));
    if (!IsChapterKey(key)) {
      // Chapter lines that pass are ASCII; any other line decides the text's encoding too.
      if (utf8) utf8 = IsValidUtf8(line);
      const std::string_view digits = NameKeyDigits(key);
      if (digits.empty()) continue;
      const std::uint64_t number = ChapterNumber(digits);
      const std::string_view name = line.substr(equals + 1);
      if (const auto chapter = numbers.Find(number); chapter && !named[*chapter]) {
        chapters[*chapter].name.assign(name.data(), name.size());
        named[*chapter] = true;
      } else {
        waiting.Put(number, name);
      }
      continue;
    }
    CheckRoomForChapter(chapters.size(), source_name);
    const std::uint64_t number = ChapterNumber(key.substr(7));
    numbers.Add(number);
    const std::string_view value = TrimBlanks(line.substr(equals + 1));
    if (const auto milliseconds = OggTime(value)) {
      chapters.push_back({*milliseconds, {}, {}});
    } else {
      if (utf8) utf8 = IsValidUtf8(line);
      throw ReadError(source_name, AtLine(line_number),
                      "expected a time H:MM:SS.fff after " + std::string(key) + "=, found " +
                          QuotedExcerpt(value));
    }
    named.push_back(false);
    if (waiting.Empty()) continue;
    if (auto name = waiting.Take(number)) {
      chapters.back().name = std::move(*name);
      named.back() = true;
    }
  }
  if (chapters.empty()) throw ReadError(source_name, "", "no chapters found");
  // A second name line for a chapter that no later chapter line of its number took: the last
  // name given wins.
  waiting.ForEach([&](std::uint64_t number, std::string& name) {
    if (const auto chapter = numbers.Find(number)) chapters[*chapter].name = std::move(name);
  });
  if (!utf8) {
    for (Chapter& chapter : chapters) chapter.name = Windows1252ToUtf8(chapter.name);
  }
  return title;
}

}  // namespace

TitleChapters ParseOggChapters(std::string_view text, std::string_view source_name) {
  LineWalker lines(text);
  return ParseOggLines(lines, text.size(), source_name);
}

TitleChapters ParseOggLineReader(SourceLineReader& lines, std::string_view source_name) {
  return ParseOggLines(lines, lines.size(), source_name);
}

TitleChapters ReadOggChapters(const std::filesystem::path& path) {
  // Line by line from the file: a large file never sits in memory whole.
  SourceLineReader lines(path);
  return ParseOggLineReader(lines, path.string());
}

}  // namespace markwright
