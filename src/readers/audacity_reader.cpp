#include "readers/audacity_reader.h"

#include <algorithm>
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

struct Label {
  std::int64_t start = 0;
  std::int64_t end = 0;
  std::string_view text;
};

std::optional<Label> ReadLabel(std::string_view line) {
  const std::size_t first_tab = line.find('\t');
  if (first_tab == std::string_view::npos) return std::nullopt;
  const std::size_t second_tab = line.find('\t', first_tab + 1);
  const auto start = DecimalSecondsMilliseconds(line.substr(0, first_tab));
  const auto end =
      DecimalSecondsMilliseconds(line.substr(first_tab + 1, second_tab - first_tab - 1));
  if (!start || !end) return std::nullopt;
  return Label{*start, *end,
               second_tab == std::string_view::npos ? "" : line.substr(second_tab + 1)};
}

}  // namespace

bool IsAudacityLabelLine(std::string_view line) {
  return ReadLabel(line).has_value();
}

TitleChapters ParseAudacityLabels(std::string_view text, std::string_view path) {
  const bool windows_1252 = !IsValidUtf8(text);
  TitleChapters title;
  std::int64_t latest_start = 0;
  std::int64_t latest_end = 0;
  LineWalker lines(text);
  std::string_view line;
  for (std::size_t number = 1; lines.Next(line); ++number) {
    if (TrimBlanks(line).empty() || line.starts_with('\\')) continue;
    const auto label = ReadLabel(line);
    if (!label) {
      throw ReadError(path, AtLine(number),
                      "expected a label: start and end in seconds and its text, separated by "
                      "tabs; found " +
                          QuotedExcerpt(line));
    }
    CheckRoomForChapter(title.chapters.size(), path);
    title.chapters.push_back(
        {label->start, windows_1252 ? Windows1252ToUtf8(label->text) : std::string(label->text),
         ""});
    latest_start = std::max(latest_start, label->start);
    latest_end = std::max(latest_end, label->end);
  }
  if (title.chapters.empty()) throw ReadError(path, "", "there is no label");
  if (latest_end > latest_start) title.length = latest_end;
  return title;
}

}  // namespace markwright
