#include "core/chapter_edit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <optional>
#include <string>
#include <type_traits>

#include "core/chapter_list.h"
#include "core/decimal.h"
#include "core/error.h"
#include "core/timestamp.h"

namespace markwright {
namespace {

// Far beyond any title, and still exact in a double.
constexpr double kLargestShiftMilliseconds = 1e15;

// A number of digits with at most one '.', as a time's seconds are written; nullopt otherwise.
std::optional<double> UnsignedDecimal(std::string_view text) {
  if (text.empty() || text.find_first_not_of("0123456789.") != std::string_view::npos) {
    return std::nullopt;
  }
  return ParseDecimal(text);
}

// The milliseconds of H:MM:SS[.fraction]; nullopt for any other text.
std::optional<double> ClockMilliseconds(std::string_view text) {
  const auto first = text.find(':');
  const auto second = text.find(':', first + 1);
  if (first == std::string_view::npos || second == std::string_view::npos) return std::nullopt;
  const auto hours = ParseDigits(text.substr(0, first));
  const auto minutes = ParseDigits(text.substr(first + 1, second - first - 1));
  const auto seconds = UnsignedDecimal(text.substr(second + 1));
  if (!hours || !minutes || !seconds || *minutes > 59 || *seconds >= 60) return std::nullopt;
  return (static_cast<double>(*hours) * 3600 + static_cast<double>(*minutes) * 60 + *seconds) *
         1000;
}

std::optional<double> UnsignedShift(std::string_view text, double output_rate) {
  if (text.ends_with("ms")) return UnsignedDecimal(text.substr(0, text.size() - 2));
  if (text.ends_with('s')) {
    const auto seconds = UnsignedDecimal(text.substr(0, text.size() - 1));
    return seconds ? std::optional(*seconds * 1000) : std::nullopt;
  }
  if (text.ends_with('f')) {
    const auto frames = ParseDigits(text.substr(0, text.size() - 1));
    return frames ? std::optional(static_cast<double>(*frames) * 1000 / output_rate) : std::nullopt;
  }
  return ClockMilliseconds(text);
}

// Chapter times stay below 2^53 ms, where a double still holds every millisecond.
constexpr double kLargestMilliseconds = 9007199254740992.0;

std::int64_t Shifted(std::int64_t start, double milliseconds) {
  const double shifted = RoundHalfEvenAt15Digits(static_cast<double>(start) + milliseconds);
  if (!(shifted < kLargestMilliseconds)) {
    throw Error("shifting " + FormatTimestamp(start) + " leaves the range of chapter times");
  }
  return shifted > 0 ? static_cast<std::int64_t>(shifted) : 0;
}

constexpr std::size_t kNoRow = std::numeric_limits<std::size_t>::max();

// The row of each id, kNoRow for an id no longer listed.
std::vector<std::size_t> RowsOf(const EditedChapters& chapters, const std::vector<ChapterId>& ids) {
  std::vector<std::size_t> rows;
  if (ids.size() == 1) {  // one chapter, as most edits name, needs no table
    const auto found = std::ranges::find(chapters.ids, ids.front());
    rows.push_back(found == chapters.ids.end()
                       ? kNoRow
                       : static_cast<std::size_t>(found - chapters.ids.begin()));
    return rows;
  }
  std::vector<std::size_t> row_of;
  for (std::size_t row = 0; row < chapters.ids.size(); ++row) {
    const ChapterId id = chapters.ids[row];
    if (id >= row_of.size()) row_of.resize(std::size_t{id} + 1, kNoRow);
    row_of[id] = row;
  }
  rows.reserve(ids.size());
  for (const ChapterId id : ids) rows.push_back(id < row_of.size() ? row_of[id] : kNoRow);
  return rows;
}

// The first row that starts after the time: a chapter put there keeps the starts in order.
std::size_t RowAfter(const std::vector<Chapter>& chapters, std::int64_t start) {
  const auto after = std::ranges::find_if(
      chapters, [start](const Chapter& chapter) { return chapter.start > start; });
  return static_cast<std::size_t>(after - chapters.begin());
}

void InsertAt(EditedChapters& chapters, std::size_t row, Chapter chapter, ChapterId id) {
  const auto offset = static_cast<std::ptrdiff_t>(row);
  chapters.title.chapters.insert(chapters.title.chapters.begin() + offset, std::move(chapter));
  chapters.ids.insert(chapters.ids.begin() + offset, id);
}

// A shift or a drop of short chapters; the ids follow the chapters kept.
std::vector<Chapter> ApplyRequest(const ChapterEditRequest& edit, EditedChapters& chapters,
                                  double output_rate) {
  TitleChapters& title = chapters.title;
  if (edit.kind == ChapterEditRequest::Kind::kShift) {
    // Only the latest start and the length can leave the range: tried first, so that a shift
    // that fails changes nothing.
    const double milliseconds = ParseShift(edit.value, output_rate);
    const auto latest = std::ranges::max_element(
        title.chapters, [](const Chapter& a, const Chapter& b) { return a.start < b.start; });
    if (latest != title.chapters.end()) Shifted(latest->start, milliseconds);
    if (title.length) Shifted(*title.length, milliseconds);
  }
  std::vector<std::size_t> kept_from;
  std::vector<Chapter> dropped = ApplyChapterEdit(edit, title, output_rate, &kept_from);
  for (std::size_t row = 0; row < kept_from.size(); ++row) {
    chapters.ids[row] = chapters.ids[kept_from[row]];
  }
  chapters.ids.resize(kept_from.size());
  return dropped;
}

}  // namespace

double ParseShift(std::string_view text, double output_rate) {
  const bool negative = text.starts_with('-');
  const auto magnitude =
      UnsignedShift(negative || text.starts_with('+') ? text.substr(1) : text, output_rate);
  if (!magnitude || !std::isfinite(*magnitude) || *magnitude > kLargestShiftMilliseconds) {
    throw Refusal("cannot shift by " + QuotedText(text) +
                  ": give a time (1.5s, -2s, 1500ms, 00:00:01.500) or a number of frames at "
                  "the output rate (24f, -12f)");
  }
  return negative ? -*magnitude : *magnitude;
}

double ParseMinLength(std::string_view text) {
  const auto seconds = ParseDecimal(text);
  if (!seconds || !(*seconds >= 0) || *seconds > 1e9) {
    throw Refusal("cannot use --min-length " + QuotedText(text) +
                  ": give a number of seconds (5, 2.5)");
  }
  return *seconds;
}

void CheckChapterEdit(const ChapterEditRequest& edit) {
  if (edit.kind == ChapterEditRequest::Kind::kShift) {
    // The form only: whether a number of frames is too far depends on the output rate, which
    // ApplyChapterEdit checks.
    ParseShift(edit.value, std::numeric_limits<double>::max());
  } else {
    ParseMinLength(edit.value);
  }
}

std::vector<Chapter> ApplyChapterEdit(const ChapterEditRequest& edit, TitleChapters& title,
                                      double output_rate, std::vector<std::size_t>* kept_from) {
  if (edit.kind == ChapterEditRequest::Kind::kShift) {
    return ShiftChapters(title, ParseShift(edit.value, output_rate), kept_from);
  }
  return DropShortChapters(title, ParseMinLength(edit.value), kept_from);
}

std::vector<Chapter> ShiftChapters(TitleChapters& title, double milliseconds,
                                   std::vector<std::size_t>* kept_from) {
  std::vector<Chapter> kept;
  std::vector<Chapter> dropped;
  if (kept_from != nullptr) kept_from->clear();
  bool zero_taken = false;
  for (std::size_t index = 0; index < title.chapters.size(); ++index) {
    Chapter& chapter = title.chapters[index];
    const std::int64_t start = Shifted(chapter.start, milliseconds);
    const bool at_zero = start == 0;
    if (milliseconds < 0 && at_zero && zero_taken) {
      dropped.push_back(std::move(chapter));
      continue;
    }
    zero_taken = zero_taken || at_zero;
    chapter.start = start;
    kept.push_back(std::move(chapter));
    if (kept_from != nullptr) kept_from->push_back(index);
  }
  title.chapters = std::move(kept);
  if (title.length) title.length = Shifted(*title.length, milliseconds);
  return dropped;
}

std::vector<Chapter> DropShortChapters(TitleChapters& title, double min_seconds,
                                       std::vector<std::size_t>* kept_from) {
  if (kept_from != nullptr) kept_from->clear();
  if (!(min_seconds > 0)) {
    for (std::size_t index = 0; kept_from != nullptr && index < title.chapters.size(); ++index) {
      kept_from->push_back(index);
    }
    return {};
  }
  const double shortest = min_seconds * 1000;
  std::vector<Chapter> kept;
  std::vector<Chapter> dropped;
  for (std::size_t index = 0; index < title.chapters.size(); ++index) {
    Chapter& chapter = title.chapters[index];
    const bool too_close =
        !kept.empty() && static_cast<double>(chapter.start - kept.back().start) < shortest;
    (too_close ? dropped : kept).push_back(std::move(chapter));
    if (!too_close && kept_from != nullptr) kept_from->push_back(index);
  }
  // Once the chapters are at least min_seconds apart, only the last can be a stub.
  if (kept.size() > 1 && title.length &&
      static_cast<double>(*title.length - kept.back().start) < shortest) {
    dropped.push_back(std::move(kept.back()));
    kept.pop_back();
    if (kept_from != nullptr) kept_from->pop_back();
  }
  title.chapters = std::move(kept);
  return dropped;
}

EditedChapters StartEditing(const TitleChapters& source, double input_rate, double output_rate) {
  EditedChapters chapters{RetimeChapters(source, input_rate, output_rate), {}};
  chapters.ids.resize(source.chapters.size());
  std::iota(chapters.ids.begin(), chapters.ids.end(), ChapterId{0});
  return chapters;
}

std::vector<Chapter> ApplyListEdit(const ListEdit& edit, EditedChapters& chapters,
                                   double input_rate, double output_rate) {
  std::vector<Chapter>& list = chapters.title.chapters;
  return std::visit(
      [&](const auto& change) -> std::vector<Chapter> {
        using Edit = std::decay_t<decltype(change)>;
        if constexpr (std::is_same_v<Edit, ChapterEditRequest>) {
          return ApplyRequest(change, chapters, output_rate);
        } else if constexpr (std::is_same_v<Edit, RenameChapters>) {
          const std::vector<std::size_t> rows = RowsOf(chapters, change.ids);
          for (std::size_t i = 0; i < rows.size() && i < change.names.size(); ++i) {
            if (rows[i] != kNoRow) list[rows[i]].name = change.names[i];
          }
        } else if constexpr (std::is_same_v<Edit, SetChapterLanguage>) {
          for (const std::size_t row : RowsOf(chapters, change.ids)) {
            if (row != kNoRow) list[row].language = change.language;
          }
        } else if constexpr (std::is_same_v<Edit, DeleteChapters>) {
          std::vector<bool> gone(list.size());
          for (const std::size_t row : RowsOf(chapters, change.ids)) {
            if (row != kNoRow) gone[row] = true;
          }
          std::size_t kept = 0;
          for (std::size_t row = 0; row < list.size(); ++row) {
            if (gone[row]) continue;
            list[kept] = std::move(list[row]);
            chapters.ids[kept++] = chapters.ids[row];
          }
          list.resize(kept);
          chapters.ids.resize(kept);
        } else if constexpr (std::is_same_v<Edit, MoveChapter>) {
          const std::size_t row = RowsOf(chapters, {change.id}).front();
          if (row == kNoRow) return {};
          const std::int64_t start =
              RetimeMilliseconds(change.source_start, input_rate, output_rate);
          Chapter chapter = std::move(list[row]);
          list.erase(list.begin() + static_cast<std::ptrdiff_t>(row));
          chapters.ids.erase(chapters.ids.begin() + static_cast<std::ptrdiff_t>(row));
          chapter.start = start;
          InsertAt(chapters, RowAfter(list, start), std::move(chapter), change.id);
        } else {
          const std::int64_t start =
              RetimeMilliseconds(change.source_start, input_rate, output_rate);
          InsertAt(chapters, RowAfter(list, start), {start, change.name, change.language},
                   change.id);
        }
        return {};
      },
      edit);
}

std::int64_t SourceTimeAt(std::int64_t milliseconds, double input_rate, double output_rate) {
  // Re-timing scales by input / output and rounds, so the time scaled back lies within a
  // millisecond or two of a source time that maps on it exactly, when there is one.
  const double guess = std::round(static_cast<double>(milliseconds) * output_rate / input_rate);
  std::int64_t nearest = -1;
  std::int64_t nearest_distance = 0;
  for (double candidate = guess - 2; candidate <= guess + 2; ++candidate) {
    if (!(candidate >= 0 && candidate < kLargestMilliseconds)) continue;
    const auto source = static_cast<std::int64_t>(candidate);
    std::int64_t distance = 0;
    try {
      distance = std::abs(RetimeMilliseconds(source, input_rate, output_rate) - milliseconds);
    } catch (const Error&) {
      continue;  // re-timed out of range
    }
    if (nearest < 0 || distance < nearest_distance) {
      nearest = source;
      nearest_distance = distance;
    }
  }
  if (nearest < 0) {
    throw Error("the time " + FormatTimestamp(milliseconds) +
                " stands for no time of the source at these rates");
  }
  return nearest;
}

std::int64_t ParseChapterTime(std::string_view text, double output_rate) {
  std::optional<double> milliseconds;
  const std::string_view digits = text.ends_with('f') ? text.substr(0, text.size() - 1) : text;
  if (const auto frame = ParseDigits(digits); frame && output_rate > 0) {
    milliseconds = RoundHalfEven(static_cast<double>(*frame) * 1000 / output_rate);
  } else if (const auto clock = ClockMilliseconds(text)) {
    milliseconds = RoundHalfEvenAt15Digits(*clock);
  }
  if (!milliseconds || !(*milliseconds < kLargestMilliseconds)) {
    throw Refusal("cannot put a chapter at " + QuotedText(text) +
                  ": give a time (0:01:30, 00:01:30.250) or a frame number at the output rate "
                  "(2158)");
  }
  return static_cast<std::int64_t>(*milliseconds);
}

std::vector<std::string> NamesFromLines(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<std::string> names;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    names.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return names;
}

std::string NameFromTemplate(std::string_view name_template, std::size_t number) {
  const std::string digits = std::to_string(number);
  std::string name;
  while (!name_template.empty()) {
    const std::size_t tag = name_template.find("<NUM");
    name += name_template.substr(0, tag);
    if (tag == std::string_view::npos) break;
    name_template.remove_prefix(tag + 4);
    std::size_t width = 0;
    std::size_t used = 0;
    if (name_template.starts_with(':') && name_template.size() > 2 && name_template[1] >= '1' &&
        name_template[1] <= '9' && name_template[2] == '>') {
      width = static_cast<std::size_t>(name_template[1] - '0');
      used = 3;
    } else if (name_template.starts_with('>')) {
      used = 1;
    } else {
      name += "<NUM";  // not a tag: kept as written
      continue;
    }
    if (digits.size() < width) name.append(width - digits.size(), '0');
    name += digits;
    name_template.remove_prefix(used);
  }
  return name;
}

}  // namespace markwright
