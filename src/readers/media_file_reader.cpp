#include "readers/media_file_reader.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/decimal.h"
#include "core/error.h"
#include "core/timestamp.h"
#include "readers/chapter_limit.h"
#include "readers/mediainfo_child.h"
#include "readers/mediainfo_library.h"

namespace markwright {
namespace {

// What the child sends before the chapters: the format's name and the duration.
constexpr std::size_t kFileTexts = 2;
// Far above any real file's chapter count; more fields would only stall the child.
constexpr std::int64_t kMostChapters = 100'000;

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
Chapter MatroskaChapter(std::int64_t time, std::string_view value) {
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

// The library's whole milliseconds ("4000", at times with a fraction), rounded; nullopt when it
// gives none.
std::optional<std::int64_t> Length(std::string_view duration) {
  const auto milliseconds = ParseDecimal(duration);
  if (!milliseconds || !(*milliseconds >= 0 && *milliseconds < 1e15)) return std::nullopt;
  return static_cast<std::int64_t>(RoundHalfEven(*milliseconds));
}

// The milliseconds of a chapter field's name, HH:MM:SS.mmm; nothing for the menu's other fields.
std::optional<std::int64_t> ChapterTime(std::string_view field) {
  const bool shaped = field.size() == 12 && field[2] == ':' && field[5] == ':' && field[8] == '.';
  try {
    if (shaped) return ParseTimestamp(field);
  } catch (const Error&) {
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::string> AnswerMediaFileRequest(const std::filesystem::path& path) {
  const MediaInfoLibrary* library = nullptr;
  try {
    library = &MediaInfoLibrary::Shared();
  } catch (const Error& failure) {
    throw ReadError(path.string(), "", failure.what());
  }
  const MediaInfoFile file(*library, path);
  std::vector<std::string> texts = {file.GeneralParameter("Format"),
                                    file.GeneralParameter("Duration")};
  // In an MP4's chapter track the library adds a field ("Menu For") after noting the chapters'
  // positions, which shifts them by one: the fields from the first position to the menu's last
  // are taken, and the reader keeps those named by a time.
  const auto begin = ParseDigits(file.MenuParameter("Chapters_Pos_Begin"));
  const auto end = ParseDigits(file.MenuParameter("Chapters_Pos_End"));
  const auto count = ParseDigits(file.MenuParameter("Count"));
  if (!begin || !end || *end <= *begin) return texts;
  const std::int64_t last = std::max(*end, count.value_or(0));
  if (last - *begin > kMostChapters) return texts;
  for (std::int64_t i = *begin; i < last; ++i) {
    texts.push_back(file.MenuFieldName(static_cast<std::size_t>(i)));
    texts.push_back(file.MenuFieldValue(static_cast<std::size_t>(i)));
  }
  return texts;
}

TitleChapters ReadMediaFileChapters(const std::filesystem::path& path) {
  return ReadMediaFileChapters(path, kMediaFileReadDeadline);
}

TitleChapters ReadMediaFileChapters(const std::filesystem::path& path,
                                    std::chrono::milliseconds deadline) {
  return MediaFileTitle(AskMediaInfoChild(kMediaFileRequest, path, deadline, "the file"),
                        path.string());
}

TitleChapters MediaFileTitle(const std::vector<std::string>& texts, std::string_view source_name) {
  if (texts.size() < kFileTexts || (texts.size() - kFileTexts) % 2 != 0) {
    throw ReadError(source_name, "", "libmediainfo failed on the file (is it damaged?)");
  }
  // Only Matroska values carry a language; an MP4 chapter's name is the whole value.
  const bool with_language = texts[0] == "Matroska" || texts[0] == "WebM";
  TitleChapters title{{}, Length(texts[1])};
  for (std::size_t i = kFileTexts; i < texts.size(); i += 2) {
    const std::optional<std::int64_t> time = ChapterTime(texts[i]);
    if (!time) continue;
    // A chapter without a name shows its time in its place.
    const std::string_view value = texts[i + 1] == texts[i] ? "" : std::string_view(texts[i + 1]);
    CheckRoomForChapter(title.chapters.size(), source_name);
    title.chapters.push_back(with_language ? MatroskaChapter(*time, value)
                                           : Chapter{*time, std::string(value), ""});
  }
  if (title.chapters.empty()) throw ReadError(source_name, "", "no chapters in the file");
  return title;
}

}  // namespace markwright
