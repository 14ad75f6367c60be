#include "writers/format_holds.h"

#include <algorithm>

#include "core/timestamp.h"

namespace markwright {
namespace {

// "1 name", "3 names".
std::string Counted(std::size_t count, std::string_view one, std::string_view several) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : several);
}

bool BreaksLine(unsigned char c) {
  return c == '\n' || c == '\r';
}

bool OutsideXmlText(unsigned char c) {
  return c < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

template <typename Test>
std::size_t NamesWith(const TitleChapters& title, Test test) {
  return static_cast<std::size_t>(
      std::ranges::count_if(title.chapters, [&](const Chapter& chapter) {
        return std::ranges::any_of(chapter.name,
                                   [&](char c) { return test(static_cast<unsigned char>(c)); });
      }));
}

}  // namespace

std::vector<std::string> LossNotes(const FormatHolds& holds, std::string_view key,
                                   const TitleChapters& title) {
  std::vector<std::string> notes;
  const std::string format(key);
  const auto& chapters = title.chapters;
  const auto named = static_cast<std::size_t>(std::ranges::count_if(
      chapters, [](const Chapter& chapter) { return !chapter.name.empty(); }));
  const auto with_language = static_cast<std::size_t>(std::ranges::count_if(
      chapters, [](const Chapter& chapter) { return !chapter.language.empty(); }));
  if (!holds.names && named > 0) {
    notes.push_back(format + " holds no chapter names: " + Counted(named, "name", "names") +
                    " left out");
  }
  if (!holds.languages && with_language > 0) {
    notes.push_back(format + " holds no chapter languages: " +
                    Counted(with_language, "language", "languages") + " left out");
  }
  if (!holds.length && title.length) {
    notes.push_back(format + " holds no title length: " + FormatTimestamp(*title.length) +
                    " left out");
  }
  if (holds.most_chapters > 0 && chapters.size() > holds.most_chapters) {
    notes.push_back(format + " takes at most " + std::to_string(holds.most_chapters) +
                    " chapters: the last " +
                    Counted(chapters.size() - holds.most_chapters, "is", "are") + " beyond it");
  }
  if (holds.names && holds.characters == FormatHolds::Characters::kOneLine) {
    if (const std::size_t count = NamesWith(title, BreaksLine)) {
      notes.push_back(format + " holds no line breaks in names: " +
                      Counted(count, "name is", "names are") + " written on one line");
    }
  }
  if (holds.names && holds.characters == FormatHolds::Characters::kXmlTextOnly) {
    if (const std::size_t count = NamesWith(title, OutsideXmlText)) {
      notes.push_back(format + " holds no control characters in names: " +
                      Counted(count, "name is", "names are") + " written without them");
    }
  }
  const LeftOutOnReading& left_out = title.left_out;
  if (left_out.other_editions > 0) {
    notes.push_back(Counted(left_out.other_editions, "other edition", "other editions") +
                    " of the source left out: one edition is converted");
  }
  if (left_out.nested_chapters > 0) {
    notes.push_back(Counted(left_out.nested_chapters, "nested chapter", "nested chapters") +
                    " of the source left out");
  }
  if (left_out.other_names > 0) {
    notes.push_back(Counted(left_out.other_names, "chapter is", "chapters are") +
                    " also named in other languages: one name each is converted");
  }
  if (left_out.end_times > 0) {
    notes.push_back(Counted(left_out.end_times, "chapter end", "chapter ends") +
                    " of the source left out: only starts and the title's end are converted");
  }
  return notes;
}

}  // namespace markwright
