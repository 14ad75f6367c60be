#include "readers/media_file_reader.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "core/decimal.h"
#include "core/error.h"
#include "core/timestamp.h"
#include "readers/chapter_limit.h"
#include "readers/mediainfo_child.h"

namespace markwright {
namespace {

// What the reader asks: the file's format and duration, and the names and values of the chapter
// fields of its first menu that has chapters. libmediainfo reads the headers only: with its
// default parse speed it reads into the streams too (seconds on a large file), and it looks for
// numbered siblings of the file.
const MediaInfoRequest kMediaFileRequest = {
    .options = {{"ParseSpeed", "0"}, {"File_TestContinuousFileNames", "0"}},
    .general = {"Format", "Duration"},
    .video = {},
    .menu = MediaInfoRequest::Menu::kFirstWithChapters,
    .fields = MediaInfoRequest::Fields::kNamesAndValues,
    .stored_chapters = true};

bool IsLetter(char c) {
  return c >= 'a' && c <= 'z';
}
bool IsAlphanumeric(char c) {
  return IsLetter(c) || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The length of the language tag the text starts with when a ':' follows it, else 0: two or
// three lower-case letters (libmediainfo's form of ISO 639 codes), then BCP 47 subtags ("pt-BR").
// A name with a ':' of its own ("Intro: the start") has no such tag before it.
std::size_t LanguagePrefix(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size() && end < 3 && IsLetter(text[end])) ++end;
  if (end < 2) return 0;
  while (end + 1 < text.size() && text[end] == '-' && IsAlphanumeric(text[end + 1])) {
    std::size_t subtag = end + 1;
    while (subtag < text.size() && subtag - end <= 8 && IsAlphanumeric(text[subtag])) ++subtag;
    end = subtag;
  }
  return end < text.size() && text[end] == ':' ? end : 0;
}

// A Matroska chapter field's value: "lang:Name", or the name alone when its language is
// undetermined; a chapter with several names gives "en:One - de:Zwei".
Chapter MatroskaChapter(const std::string& time, std::string_view value) {
  const std::size_t tag = LanguagePrefix(value);
  Chapter chapter{time, "", std::string(value.substr(0, tag))};
  std::string_view name = value.substr(tag == 0 ? 0 : tag + 1);
  for (std::size_t dash = name.find(" - "); dash != std::string_view::npos;
       dash = name.find(" - ", dash + 1)) {
    if (LanguagePrefix(name.substr(dash + 3)) != 0) {
      name = name.substr(0, dash);
      break;
    }
  }
  chapter.name = name;
  return chapter;
}

// The library's whole milliseconds ("4000", at times with a fraction) as timestamp text; empty
// when it gives none.
std::string Length(std::string_view duration) {
  const auto milliseconds = ParseDecimal(duration);
  if (!milliseconds || !(*milliseconds >= 0 && *milliseconds < 1e15)) return "";
  return FormatTimestamp(static_cast<std::int64_t>(RoundHalfEven(*milliseconds)));
}

// A chapter field's name, HH:MM:SS.mmm, as canonical timestamp text; nothing for the menu's
// other fields.
std::optional<std::string> ChapterTime(std::string_view field) {
  const bool shaped = field.size() == 12 && field[2] == ':' && field[5] == ':' && field[8] == '.';
  try {
    if (shaped) return FormatTimestamp(WholeMilliseconds(field));
  } catch (const Error&) {
  }
  return std::nullopt;
}

// What the file holds about each chapter atom, by its start: its first name and whether that
// states a language; the first atom at a time counts.
struct StoredName {
  std::string name;
  bool stated = false;
};
using StoredNames = std::map<std::string, StoredName>;

StoredNames StoredNamesOf(const std::vector<StoredChapter>& chapters) {
  StoredNames names;
  for (const StoredChapter& chapter : chapters) {
    const auto nanoseconds = ParseDigits(chapter.start);
    if (!nanoseconds || *nanoseconds / 1'000'000 >= 1'000'000'000'000) continue;
    // The library's milliseconds, whether it cuts or rounds the nanoseconds.
    for (const std::int64_t milliseconds :
         {*nanoseconds / 1'000'000, (*nanoseconds + 500'000) / 1'000'000}) {
      names.try_emplace(FormatTimestamp(milliseconds),
                        StoredName{chapter.name, chapter.language_stated});
    }
  }
  return names;
}

// The chapter a Matroska value gives, where the file says what its first name is: the language
// is the value's prefix only when the name states one.
Chapter ChapterWithStoredName(const std::string& time, std::string_view value,
                              const StoredName& stored) {
  const std::size_t colon = value.find(':');
  const bool prefixed = stored.stated && colon != std::string_view::npos &&
                        value.substr(colon + 1).starts_with(stored.name);
  return Chapter{time, stored.name, prefixed ? std::string(value.substr(0, colon)) : ""};
}

}  // namespace

TitleChapters ReadMediaFileChapters(const std::filesystem::path& path) {
  return ReadMediaFileChapters(path, kMediaFileReadDeadline);
}

TitleChapters ReadMediaFileChapters(const std::filesystem::path& path,
                                    std::chrono::milliseconds deadline) {
  return MediaFileTitle(AskMediaInfoChild(kMediaFileRequest, path, deadline, "the file"),
                        path.string());
}

TitleChapters MediaFileTitle(const MediaInfoAnswer& answer, std::string_view source_name) {
  const std::vector<std::string>& names = answer.field_names;
  const std::vector<std::string>& values = answer.field_values;
  if (answer.general.size() != 2 || values.size() != names.size()) {
    throw ReadError(source_name, "", "libmediainfo failed on the file (is it damaged?)");
  }
  // Only Matroska values carry a language; an MP4 chapter's name is the whole value.
  const std::string& format = answer.general[0];
  const bool with_language = format == "Matroska" || format == "WebM";
  const StoredNames stored = StoredNamesOf(answer.stored);
  TitleChapters title{{}, Length(answer.general[1])};
  for (std::size_t i = 0; i < names.size(); ++i) {
    // Fields not named by a time are the menu's others.
    const std::optional<std::string> time = ChapterTime(names[i]);
    if (!time) continue;
    // A chapter without a name shows its time in its place.
    const std::string_view value = values[i] == names[i] ? "" : std::string_view(values[i]);
    CheckRoomForChapter(title.chapters.size(), source_name);
    const auto found = stored.find(*time);
    title.chapters.push_back(!with_language ? Chapter{*time, std::string(value), ""}
                             : found != stored.end()
                                 ? ChapterWithStoredName(*time, value, found->second)
                                 : MatroskaChapter(*time, value));
  }
  if (title.chapters.empty()) throw ReadError(source_name, "", "no chapters in the file");
  return title;
}

}  // namespace markwright
