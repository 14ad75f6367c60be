#include "core/chapter_edit.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

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

}  // namespace markwright
