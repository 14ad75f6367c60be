#include "readers/media_file_reader.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <pugixml.hpp>

#include "core/decimal.h"
#include "core/error.h"
#include "core/timestamp.h"
#include "readers/chapter_limit.h"
#include "readers/mediainfo_child.h"
#include "readers/mediainfo_library.h"

namespace markwright {
namespace {

// What the child sends before the chapters: the format's name, the duration and the number of
// field texts that follow (two a field); after the fields come the Matroska chapters' own texts,
// three each (kAtomTexts).
constexpr std::size_t kFileTexts = 3;
constexpr std::size_t kAtomTexts = 3;

// libmediainfo reads the headers only: with its default parse speed it reads into the streams
// too (seconds on a large file), and looks for numbered siblings of the file.
const MediaInfoFile::Options kHeaderOptions = {{"ParseSpeed", "0"},
                                               {"File_TestContinuousFileNames", "0"}};

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

// Where the chapters are: the first menu stream that has chapter fields, and the fields from
// its first to its last.
struct ChapterFieldRange {
  std::size_t menu = 0;
  std::size_t begin = 0;
  std::size_t end = 0;
};

std::optional<ChapterFieldRange> ChapterFields(const MediaInfoFile& file,
                                               std::string_view source_name) {
  const std::size_t menus = file.MenuCount();
  for (std::size_t menu = 0; menu < menus; ++menu) {
    const auto begin = ParseDigits(file.MenuParameter("Chapters_Pos_Begin", menu));
    const auto end = ParseDigits(file.MenuParameter("Chapters_Pos_End", menu));
    if (!begin || !end || *end <= *begin) continue;
    // In an MP4's chapter track the library adds a field ("Menu For") after noting the
    // chapters' positions, which shifts them by one: the fields up to the menu's last are
    // taken, and the reader keeps those named by a time.
    const auto count = ParseDigits(file.MenuParameter("Count", menu));
    const std::int64_t last = std::max(*end, count.value_or(0));
    if (static_cast<std::uint64_t>(last - *begin) > kMaxChapters + 1) {
      CheckRoomForChapter(kMaxChapters, source_name);
    }
    return ChapterFieldRange{menu, static_cast<std::size_t>(*begin),
                             static_cast<std::size_t>(last)};
  }
  return std::nullopt;
}

// The text of a traced element: its data.
std::string TracedData(const pugi::xml_node& element) {
  return element.find_child_by_attribute("data", "name", "Data").child_value();
}

// A Matroska menu value is "lang:Name" when the chapter states a language, and the bare name
// when it does not (or states "und"), so "ab:cd" alone cannot tell. libmediainfo's trace of the
// file (its headers only) holds each chapter as stored: appended for every chapter atom are its
// start in nanoseconds, its first name, and whether that name states a language.
void AppendMatroskaAtoms(const MediaInfoLibrary& library, const std::filesystem::path& path,
                         std::vector<std::string>& texts) {
  MediaInfoFile::Options options = kHeaderOptions;
  options.emplace_back("Trace_Level", "1");
  options.emplace_back("Trace_Format", "XML");
  const std::string report = MediaInfoFile(library, path, options).Report();
  pugi::xml_document trace;
  if (!trace.load_buffer(report.data(), report.size(), pugi::parse_default, pugi::encoding_utf8)) {
    return;
  }
  for (const pugi::xpath_node& found : trace.select_nodes("//block[@name='ChapterAtom']")) {
    const pugi::xml_node atom = found.node();
    const pugi::xml_node start = atom.find_child_by_attribute("block", "name", "ChapterTimeStart");
    const pugi::xml_node display = atom.find_child_by_attribute("block", "name", "ChapterDisplay");
    std::string language =
        TracedData(display.find_child_by_attribute("block", "name", "ChapLanguageIETF"));
    if (language.empty()) {
      language = TracedData(display.find_child_by_attribute("block", "name", "ChapLanguage"));
    }
    texts.push_back(TracedData(start));
    texts.push_back(TracedData(display.find_child_by_attribute("block", "name", "ChapString")));
    texts.push_back(language.empty() || language == "und" ? "0" : "1");
  }
}

// What the file holds about each chapter atom, by its start: its first name and whether that
// states a language; the first atom at a time counts.
struct StoredName {
  std::string name;
  bool stated = false;
};
using StoredNames = std::map<std::string, StoredName>;

StoredNames StoredNamesOf(const std::vector<std::string>& texts, std::size_t first,
                          std::string_view source_name) {
  StoredNames names;
  if ((texts.size() - first) % kAtomTexts != 0) {
    throw ReadError(source_name, "", "libmediainfo failed on the file (is it damaged?)");
  }
  for (std::size_t i = first; i < texts.size(); i += kAtomTexts) {
    const auto nanoseconds = ParseDigits(texts[i]);
    if (!nanoseconds || *nanoseconds / 1'000'000 >= 1'000'000'000'000) continue;
    names.try_emplace(FormatTimestamp(*nanoseconds / 1'000'000),
                      StoredName{texts[i + 1], texts[i + 2] == "1"});
  }
  return names;
}

// The chapter a Matroska value gives, where the file says what its first name is: the language
// is the value's prefix only when the name states one.
Chapter StoredChapter(const std::string& time, std::string_view value, const StoredName& stored) {
  const std::size_t colon = value.find(':');
  const bool prefixed = stored.stated && colon != std::string_view::npos &&
                        value.substr(colon + 1).starts_with(stored.name);
  return Chapter{time, stored.name, prefixed ? std::string(value.substr(0, colon)) : ""};
}

}  // namespace

std::vector<std::string> AnswerMediaFileRequest(const std::filesystem::path& path) {
  const MediaInfoLibrary* library = nullptr;
  try {
    library = &MediaInfoLibrary::Shared();
  } catch (const Error& failure) {
    throw ReadError(path.string(), "", failure.what());
  }
  const MediaInfoFile file(*library, path, kHeaderOptions);
  std::vector<std::string> texts = {file.GeneralParameter("Format"),
                                    file.GeneralParameter("Duration"), "0"};
  const auto fields = ChapterFields(file, path.string());
  if (!fields) return texts;
  bool ambiguous = false;
  for (std::size_t i = fields->begin; i < fields->end; ++i) {
    texts.push_back(file.MenuFieldName(i, fields->menu));
    texts.push_back(file.MenuFieldValue(i, fields->menu));
    ambiguous = ambiguous || texts.back().find(':') != std::string::npos;
  }
  texts[2] = std::to_string(texts.size() - kFileTexts);
  if (ambiguous && (texts[0] == "Matroska" || texts[0] == "WebM")) {
    AppendMatroskaAtoms(*library, path, texts);
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
  const auto field_texts = texts.size() >= kFileTexts ? ParseDigits(texts[2]) : std::nullopt;
  if (!field_texts || *field_texts % 2 != 0 ||
      static_cast<std::uint64_t>(*field_texts) > texts.size() - kFileTexts) {
    throw ReadError(source_name, "", "libmediainfo failed on the file (is it damaged?)");
  }
  const std::size_t fields_end = kFileTexts + static_cast<std::size_t>(*field_texts);
  // Only Matroska values carry a language; an MP4 chapter's name is the whole value.
  const bool with_language = texts[0] == "Matroska" || texts[0] == "WebM";
  const StoredNames stored = StoredNamesOf(texts, fields_end, source_name);
  TitleChapters title{{}, Length(texts[1])};
  for (std::size_t i = kFileTexts; i < fields_end; i += 2) {
    const std::optional<std::string> time = ChapterTime(texts[i]);
    if (!time) continue;
    // A chapter without a name shows its time in its place.
    const std::string_view value = texts[i + 1] == texts[i] ? "" : std::string_view(texts[i + 1]);
    CheckRoomForChapter(title.chapters.size(), source_name);
    const auto found = stored.find(*time);
    title.chapters.push_back(!with_language          ? Chapter{*time, std::string(value), ""}
                             : found != stored.end() ? StoredChapter(*time, value, found->second)
                                                     : MatroskaChapter(*time, value));
  }
  if (title.chapters.empty()) throw ReadError(source_name, "", "no chapters in the file");
  return title;
}

}  // namespace markwright
