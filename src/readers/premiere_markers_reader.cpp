#include "readers/premiere_markers_reader.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/decimal.h"
#include "core/error.h"
#include "core/timestamp.h"
#include "readers/chapter_limit.h"
#include "readers/source_file.h"
#include "readers/text_encoding.h"
#include "readers/timecode_source.h"

namespace markwright {
namespace {

constexpr std::string_view kHeaderStart = "Marker Name\t";

// The tab-separated fields of a line, at most limit of them (the last holds the rest).
std::vector<std::string_view> Fields(std::string_view line, std::size_t limit = SIZE_MAX) {
  std::vector<std::string_view> fields;
  for (;;) {
    if (fields.size() + 1 == limit) {
      fields.push_back(line);
      return fields;
    }
    const auto tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

std::optional<std::size_t> ColumnOf(const std::vector<std::string_view>& header,
                                    std::string_view name) {
  for (std::size_t index = 0; index < header.size(); ++index) {
    if (TrimBlanks(header[index]) == name) return index;
  }
  return std::nullopt;
}

}  // namespace

bool IsPremiereMarkerTable(std::string_view text) {
  return text.starts_with(kHeaderStart);
}

TitleChapters ParsePremiereMarkers(std::string_view bytes, std::string_view source_name,
                                   double input_rate) {
  const TimecodeBase base = InputTimecodeBase(input_rate, source_name);
  const std::optional<std::string> decoded = XmlTextInUtf8(bytes);
  const std::string_view text = decoded ? std::string_view(*decoded) : bytes;
  TitleChapters title;
  std::optional<std::size_t> name_column;
  std::optional<std::size_t> in_column;
  std::size_t line_number = 0;
  LineWalker lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    ++line_number;
    if (TrimBlanks(line).empty()) continue;
    // A marker's line is cut only as far as the columns read from it.
    const std::vector<std::string_view> fields =
        in_column ? Fields(line, std::max(*name_column, *in_column) + 2) : Fields(line);
    if (!in_column) {
      name_column = ColumnOf(fields, "Marker Name");
      in_column = ColumnOf(fields, "In");
      if (!name_column || !in_column) {
        throw ReadError(source_name, AtLine(line_number),
                        "expected the header of a marker list (Marker Name, Description, In, "
                        "Out, Duration, Marker Type), found " +
                            QuotedExcerpt(line));
      }
      continue;
    }
    if (fields.size() <= *in_column) {
      throw ReadError(source_name, AtLine(line_number),
                      "expected an In timecode in field " + std::to_string(*in_column + 1) +
                          ", found " + std::to_string(fields.size()) + " fields");
    }
    const std::int64_t frame =
        SourceTimecodeFrame(TrimBlanks(fields[*in_column]), base, false, source_name, line_number);
    CheckRoomForChapter(title.chapters.size(), source_name);
    const std::string_view name =
        *name_column < fields.size() ? TrimBlanks(fields[*name_column]) : std::string_view();
    title.chapters.push_back(
        {static_cast<std::int64_t>(FrameStartMilliseconds(static_cast<double>(frame), input_rate)),
         std::string(name),
         {}});
  }
  if (!in_column) throw ReadError(source_name, "", "no marker list found");
  if (title.chapters.empty()) throw ReadError(source_name, "", "no markers found");
  return title;
}

}  // namespace markwright
