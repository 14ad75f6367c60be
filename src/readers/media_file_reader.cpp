#include "readers/media_file_reader.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/decimal.h"
#include "core/error.h"
#include "core/timestamp.h"
#include "readers/chapter_limit.h"
#include "readers/mediainfo_child.h"

namespace markwright {
namespace {

// The child refuses chapter starts from 2^53 ns; a larger one is a garbled answer.
constexpr std::int64_t kLargestStoredStart = std::int64_t{1} << 53;

// What the reader asks: the file's format and duration, and the names and values of the chapter
// fields of its first menu that has chapters. libmediainfo reads the headers only: with its
// default parse speed it reads into the streams too (seconds on a large file), and it looks for
// numbered siblings of the file. Matroska and WebM files are read with libmatroska instead:
// libmediainfo takes time quadratic in their chapter count, and gives a chapter's language and
// name as one text ("en:Name") that a name of the form "ab:cd" makes ambiguous.
const MediaInfoRequest kMediaFileRequest = {
    .options = {{"ParseSpeed", "0"}, {"File_TestContinuousFileNames", "0"}},
    .general = {"Format", "Duration"},
    .video = {},
    .menu = MediaInfoRequest::Menu::kEach,
    .fields = MediaInfoRequest::Fields::kNamesAndValues,
    .matroska_chapters = true};

// The file's duration in milliseconds as the child gives it ("4000", at times with a fraction),
// rounded; nullopt when it gives none.
std::optional<std::int64_t> Length(std::string_view duration) {
  const auto milliseconds = ParseDecimal(duration);
  if (!milliseconds || !(*milliseconds >= 0 && *milliseconds < 1e15)) return std::nullopt;
  return static_cast<std::int64_t>(RoundHalfEven(*milliseconds));
}

// A chapter field's name, HH:MM:SS.mmm, in milliseconds; nothing for the menu's other fields.
std::optional<std::int64_t> ChapterTime(std::string_view field) {
  const bool shaped = field.size() == 12 && field[2] == ':' && field[5] == ':' && field[8] == '.';
  try {
    if (shaped) return ParseTimestamp(field);
  } catch (const Error&) {
  }
  return std::nullopt;
}

// The one place a media file's chapter is made, whichever library read it.
void AddChapter(TitleChapters& title, std::int64_t milliseconds, std::string name,
                const std::string& language, std::string_view source_name) {
  CheckRoomForChapter(title.chapters.size(), source_name);
  title.chapters.push_back(Chapter{milliseconds, std::move(name), language});
}

// The rows of each edition in an answer's stored chapters: its flags and [first, end). Rows
// before the first edition's own row count as one edition.
struct StoredRows {
  std::string flags;
  std::string left_out;  // "N,M", see StoredChapter
  std::size_t first = 0;
  std::size_t end = 0;
};
std::vector<StoredRows> EditionRows(const std::vector<StoredChapter>& stored) {
  std::vector<StoredRows> editions;
  for (std::size_t i = 0; i < stored.size(); ++i) {
    if (stored[i].start.empty()) {
      editions.push_back({stored[i].name, stored[i].language, i + 1, i + 1});
    } else {
      if (editions.empty()) editions.push_back({"", "", i, i});
      editions.back().end = i + 1;
    }
  }
  return editions;
}

// The chapter fields [first, end) of each menu libmediainfo gave; one range over all fields for
// an answer without menu rows.
std::vector<std::pair<std::size_t, std::size_t>> MenuFields(const MediaInfoAnswer& answer) {
  std::vector<std::pair<std::size_t, std::size_t>> menus;
  if (answer.matroska) return menus;
  std::size_t first = 0;
  for (const StoredChapter& row : answer.stored) {
    const auto count = ParseDigits(row.language);
    const std::size_t end = first + static_cast<std::size_t>(count.value_or(0));
    menus.emplace_back(first, std::min(end, answer.field_names.size()));
    first = menus.back().second;
  }
  if (answer.stored.empty() && !answer.field_names.empty()) {
    menus.emplace_back(0, answer.field_names.size());
  }
  return menus;
}

bool HasChapterField(const MediaInfoAnswer& answer, std::pair<std::size_t, std::size_t> fields) {
  for (std::size_t i = fields.first; i < fields.second; ++i) {
    if (ChapterTime(answer.field_names[i])) return true;
  }
  return false;
}

// What the child did not read of the edition: its nested chapters and further names.
void NoteLeftOut(const StoredRows& rows, LeftOutOnReading& left_out) {
  const auto comma = rows.left_out.find(',');
  if (comma == std::string::npos) return;
  const auto nested = ParseDigits(std::string_view(rows.left_out).substr(0, comma));
  const auto names = ParseDigits(std::string_view(rows.left_out).substr(comma + 1));
  left_out.nested_chapters = static_cast<std::size_t>(nested.value_or(0));
  left_out.other_names = static_cast<std::size_t>(names.value_or(0));
}

}  // namespace

std::size_t MediaFileMenuCount(const MediaInfoAnswer& answer) {
  return answer.matroska ? 0 : answer.stored.size();
}

std::size_t DefaultMediaFileMenu(const MediaInfoAnswer& answer) {
  const auto menus = MenuFields(answer);
  for (std::size_t menu = 0; menu < menus.size(); ++menu) {
    if (HasChapterField(answer, menus[menu])) return menu;
  }
  return 0;
}

std::vector<MatroskaXmlEdition> MediaFileEditions(const MediaInfoAnswer& answer) {
  std::vector<MatroskaXmlEdition> editions;
  if (!answer.matroska) return editions;
  for (const StoredRows& rows : EditionRows(answer.stored)) {
    const auto has = [&rows](char flag) { return rows.flags.find(flag) != std::string::npos; };
    editions.push_back({has('d'), has('o'), has('h')});
  }
  return editions;
}

MediaInfoAnswer AskAboutMediaFile(const std::filesystem::path& path,
                                  const MatroskaXmlChoice& reading) {
  MediaInfoRequest request = kMediaFileRequest;
  request.matroska_flatten_nested = reading.flatten_nested;
  request.matroska_language = reading.language;
  return AskMediaInfoChild(request, path, kMediaFileReadDeadline, "the file");
}

TitleChapters ReadMediaFileChapters(const std::filesystem::path& path) {
  return ReadMediaFileChapters(path, kMediaFileReadDeadline);
}

TitleChapters ReadMediaFileChapters(const std::filesystem::path& path,
                                    std::chrono::milliseconds deadline) {
  return MediaFileTitle(AskMediaInfoChild(kMediaFileRequest, path, deadline, "the file"),
                        path.string());
}

TitleChapters MediaFileTitle(const MediaInfoAnswer& answer, std::string_view source_name) {
  return MediaFileTitle(answer, source_name, std::nullopt, false);
}

TitleChapters MediaFileTitle(const MediaInfoAnswer& answer, std::string_view source_name,
                             std::optional<std::size_t> edition, bool allow_empty) {
  const std::vector<StoredRows> editions =
      answer.matroska ? EditionRows(answer.stored) : std::vector<StoredRows>{};
  const auto menus = MenuFields(answer);
  // Of a file's menus, the one asked for, else the first that holds chapters.
  const std::size_t menu = answer.matroska ? 0 : edition.value_or(DefaultMediaFileMenu(answer));
  if (!edition) {
    const auto chosen = std::ranges::find_if(
        editions, [](const StoredRows& rows) { return rows.flags.find('d') != std::string::npos; });
    edition = chosen == editions.end() ? 0 : static_cast<std::size_t>(chosen - editions.begin());
  }
  const StoredRows rows = *edition < editions.size() ? editions[*edition] : StoredRows{};
  const std::vector<std::string>& names = answer.field_names;
  const std::vector<std::string>& values = answer.field_values;
  if (answer.general.size() != 2 || values.size() != names.size()) {
    throw ReadError(source_name, "", "libmediainfo failed on the file (is it damaged?)");
  }
  TitleChapters title{{}, Length(answer.general[1])};
  if (editions.size() > 1) title.left_out.other_editions = editions.size() - 1;
  NoteLeftOut(rows, title.left_out);
  for (std::size_t row = rows.first; row < rows.end; ++row) {
    const StoredChapter& chapter = answer.stored[row];
    // libmediainfo cut the nanoseconds to whole milliseconds; so does the reader.
    const auto nanoseconds = ParseDigits(chapter.start);
    if (!nanoseconds || *nanoseconds >= kLargestStoredStart) {
      throw ReadError(source_name, "", "libmatroska failed on the file (is it damaged?)");
    }
    AddChapter(title, *nanoseconds / 1'000'000, chapter.name, chapter.language, source_name);
  }
  const auto fields = menu < menus.size() ? menus[menu] : std::pair<std::size_t, std::size_t>{};
  // An MP4 chapter's name is the whole value.
  for (std::size_t i = fields.first; i < fields.second; ++i) {
    // Fields not named by a time are the menu's others.
    const std::optional<std::int64_t> time = ChapterTime(names[i]);
    if (!time) continue;
    // A chapter without a name shows its time in its place.
    AddChapter(title, *time, values[i] == names[i] ? "" : values[i], "", source_name);
  }
  const bool exists = answer.matroska ? *edition < editions.size() : menu < menus.size();
  if (title.chapters.empty() && !(allow_empty && exists)) {
    throw ReadError(source_name, "", "no chapters in the file");
  }
  return title;
}

}  // namespace markwright
