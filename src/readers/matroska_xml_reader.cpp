#include "readers/matroska_xml_reader.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <utility>
#include <vector>

#include "core/ascii_case.h"
#include "core/chapter_list.h"
#include "core/decimal.h"
#include "core/error.h"
#include "core/timestamp.h"
#include "readers/chapter_limit.h"
#include "readers/text_encoding.h"

namespace markwright {
namespace {

// --nested=flatten reads this many levels below the top at most.
constexpr int kDeepestNesting = 64;

// Beyond this a nanosecond count is no longer exact in a double.
constexpr std::int64_t kLargestNanoseconds = 9007199254740992;  // 2^53

// pugixml never expands entities other than the five predefined ones and character references,
// and without parse_doctype a document type declaration is skipped, not interpreted.
constexpr unsigned kParseOptions = pugi::parse_default;

bool Load(pugi::xml_document& document, std::string_view text, pugi::xml_parse_result& result) {
  result = document.load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8);
  return static_cast<bool>(result);
}

std::string Line(std::string_view text, std::ptrdiff_t offset) {
  const auto end = static_cast<std::size_t>(std::max<std::ptrdiff_t>(offset, 0));
  const auto prefix = text.substr(0, end);
  return AtLine(1 + static_cast<std::size_t>(std::count(prefix.begin(), prefix.end(), '\n')));
}

std::string_view Trimmed(const pugi::xml_node& node) {
  std::string_view value = node.child_value();
  const auto first = value.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return value.substr(first, value.find_last_not_of(" \t\r\n") - first + 1);
}

// "1500000000", "00:00:01.500000000" or "00:01.5" as nanoseconds.
std::optional<std::int64_t> Nanoseconds(std::string_view text) {
  if (const auto count = ParseDigits(text)) return count;
  const auto dot = text.find('.');
  std::string fraction(dot == std::string_view::npos ? "" : text.substr(dot + 1));
  if (fraction.size() > 9 || (dot != std::string_view::npos && !ParseDigits(fraction))) {
    return std::nullopt;
  }
  fraction.resize(9, '0');
  constexpr std::int64_t kLargestSeconds = kLargestNanoseconds / 1000000000;
  std::int64_t seconds = 0;
  int fields = 0;
  for (std::string_view rest = text.substr(0, dot);;) {
    const auto colon = rest.find(':');
    const auto field = ParseDigits(rest.substr(0, colon));
    if (!field || ++fields > 3 || *field > kLargestSeconds) return std::nullopt;
    seconds = seconds * 60 + *field;
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  if (fields < 2 || seconds > kLargestSeconds) return std::nullopt;  // [HH:]MM:SS
  return seconds * 1000000000 + *ParseDigits(fraction);
}

std::int64_t TimeOf(const pugi::xml_node& node, std::string_view text, std::string_view path) {
  const auto nanoseconds = Nanoseconds(Trimmed(node));
  if (!nanoseconds || *nanoseconds >= kLargestNanoseconds) {
    throw ReadError(path, Line(text, node.offset_debug()),
                    std::string("malformed ") + node.name() + " " + QuotedText(node.child_value()));
  }
  return static_cast<std::int64_t>(RoundHalfEven(static_cast<double>(*nanoseconds) / 1e6));
}

pugi::xml_node ChosenEdition(const pugi::xml_node& root) {
  for (const auto& edition : root.children("EditionEntry")) {
    if (Trimmed(edition.child("EditionFlagDefault")) == "1") return edition;
  }
  return root.child("EditionEntry");
}

}  // namespace

std::optional<std::string> XmlRootName(std::string_view head_or_text) {
  // A head cut anywhere fails to parse, but what came before the cut is kept.
  pugi::xml_document document;
  pugi::xml_parse_result result;
  Load(document, head_or_text, result);
  const pugi::xml_node root = document.document_element();
  const std::string_view name = root.name();
  // The name is whole only when something follows it within the head.
  if (root && static_cast<std::size_t>(root.offset_debug()) + name.size() < head_or_text.size()) {
    return std::string(name);
  }
  // Parsing that stopped at the end of the head was cut short; an earlier stop is a fault.
  if (!result && static_cast<std::size_t>(result.offset) + 1 >= head_or_text.size()) {
    return std::nullopt;
  }
  return std::string();
}

bool IsMatroskaChaptersXml(std::string_view head_or_text) {
  return XmlRootName(head_or_text) == "Chapters";
}

namespace {

// The display whose name a chapter takes: the first in the language asked for, else the first.
pugi::xml_node ChosenDisplay(const pugi::xml_node& atom, std::string_view language) {
  if (!language.empty()) {
    for (const auto& display : atom.children("ChapterDisplay")) {
      if (EqualIgnoringCase(Trimmed(display.child("ChapLanguageIETF")), language)) return display;
      for (const auto& tag : display.children("ChapterLanguage")) {
        if (EqualIgnoringCase(Trimmed(tag), language)) return display;
      }
    }
  }
  return atom.child("ChapterDisplay");
}

// The whole document, or ReadError for malformed XML or another root element.
class ChaptersDocument {
 public:
  ChaptersDocument(std::string_view bytes, std::string_view path)
      : decoded_(XmlTextInUtf8(bytes)), text_(decoded_ ? *decoded_ : bytes) {
    pugi::xml_parse_result result;
    if (!Load(document_, text_, result)) {
      throw ReadError(path, Line(text_, result.offset),
                      std::string("malformed XML: ") + result.description());
    }
    const pugi::xml_node root = document_.document_element();
    if (std::string_view(root.name()) != "Chapters") {
      throw ReadError(path, Line(text_, root.offset_debug()),
                      "the root element is not Chapters but " + std::string(root.name()));
    }
  }
  std::string_view Text() const { return text_; }
  pugi::xml_node Root() const { return document_.document_element(); }

 private:
  // Names reach the chapters in UTF-8 whatever the file's encoding.
  std::optional<std::string> decoded_;
  std::string_view text_;
  pugi::xml_document document_;
};

class AtomReader {
 public:
  AtomReader(std::string_view text, std::string_view path, const MatroskaXmlChoice& choice,
             TitleChapters& title)
      : text_(text), path_(path), choice_(choice), title_(title) {}

  // The enabled atoms among the children of parent; nested ones after their parent when asked.
  void Read(const pugi::xml_node& parent, bool sort, int depth = 0) {
    std::vector<std::pair<std::int64_t, pugi::xml_node>> atoms;
    for (const auto& atom : parent.children("ChapterAtom")) {
      if (Trimmed(atom.child("ChapterFlagEnabled")) == "0") continue;
      const pugi::xml_node start = atom.child("ChapterTimeStart");
      if (!start) {
        throw ReadError(path_, Line(text_, atom.offset_debug()),
                        "a ChapterAtom has no ChapterTimeStart");
      }
      atoms.emplace_back(TimeOf(start, text_, path_), atom);
    }
    if (sort) {
      std::ranges::stable_sort(atoms, {}, [](const auto& entry) { return entry.first; });
    }
    for (const auto& [time, atom] : atoms) {
      const pugi::xml_node display = ChosenDisplay(atom, choice_.language);
      std::string_view language = Trimmed(display.child("ChapLanguageIETF"));
      if (language.empty()) language = Trimmed(display.child("ChapterLanguage"));
      if (language == "und") language = {};
      CheckRoomForChapter(title_.chapters.size(), path_);
      // The end an atom states, which the chapters give back only where it is the next start
      // or the title's length; a malformed one is no end to keep.
      const auto end = Nanoseconds(Trimmed(atom.child("ChapterTimeEnd")));
      ends_.push_back(end && *end < kLargestNanoseconds
                          ? std::optional<std::int64_t>(static_cast<std::int64_t>(
                                RoundHalfEven(static_cast<double>(*end) / 1e6)))
                          : std::nullopt);
      // The text is UTF-8 by now, but a character reference may still name no character.
      title_.chapters.push_back({time, ReplaceInvalidUtf8(display.child_value("ChapterString")),
                                 ReplaceInvalidUtf8(language)});
      const auto displays = std::ranges::distance(atom.children("ChapterDisplay"));
      if (displays > 1) ++title_.left_out.other_names;
      if (!sort) last_atom_ = atom;
      if (choice_.flatten_nested) {
        // Each level is a call: a hostile file must not nest its way past the stack.
        if (depth == kDeepestNesting && !atom.child("ChapterAtom").empty()) {
          throw ReadError(
              path_, Line(text_, atom.offset_debug()),
              "chapters nested more than " + std::to_string(kDeepestNesting) + " levels deep");
        }
        Read(atom, true, depth + 1);
      } else {
        title_.left_out.nested_chapters += EnabledAtomsWithin(atom);
      }
    }
  }
  // The end each chapter read states, in chapter order.
  const std::vector<std::optional<std::int64_t>>& Ends() const { return ends_; }
  const pugi::xml_node& LastTopLevelAtom() const { return last_atom_; }

 private:
  std::string_view text_;
  std::string_view path_;
  const MatroskaXmlChoice& choice_;
  TitleChapters& title_;
  pugi::xml_node last_atom_;
  std::vector<std::optional<std::int64_t>> ends_;

  // Without recursion: a hostile file may nest atoms a million deep.
  static std::size_t EnabledAtomsWithin(const pugi::xml_node& parent) {
    std::size_t count = 0;
    std::vector<pugi::xml_node> pending{parent};
    while (!pending.empty()) {
      const pugi::xml_node holder = pending.back();
      pending.pop_back();
      for (const auto& atom : holder.children("ChapterAtom")) {
        if (Trimmed(atom.child("ChapterFlagEnabled")) == "0") continue;
        ++count;
        pending.push_back(atom);
      }
    }
    return count;
  }
};

bool Flag(const pugi::xml_node& edition, const char* name) {
  return Trimmed(edition.child(name)) == "1";
}

}  // namespace

TitleChapters ParseMatroskaChapters(std::string_view bytes, std::string_view path) {
  return ParseMatroskaChapters(bytes, path, MatroskaXmlChoice{});
}

TitleChapters ParseMatroskaChapters(std::string_view bytes, std::string_view path,
                                    const MatroskaXmlChoice& choice) {
  const ChaptersDocument document(bytes, path);
  const std::string_view text = document.Text();
  const pugi::xml_node root = document.Root();
  pugi::xml_node edition = ChosenEdition(root);
  if (choice.edition) {
    edition = {};
    std::size_t place = 0;
    for (const auto& entry : root.children("EditionEntry")) {
      if (place++ == *choice.edition) edition = entry;
    }
  }
  TitleChapters title;
  AtomReader reader(text, path, choice, title);
  reader.Read(edition, false);
  if (title.chapters.empty()) {
    if (choice.allow_empty && edition) return title;
    throw ReadError(path, Line(text, (edition ? edition : root).offset_debug()),
                    edition ? "the edition has no enabled chapter" : "there is no EditionEntry");
  }
  if (const auto end = reader.LastTopLevelAtom().child("ChapterTimeEnd")) {
    title.length = TimeOf(end, text, path);
  }
  title.left_out.end_times = EndsNotKept(title, reader.Ends());
  const auto editions =
      static_cast<std::size_t>(std::ranges::distance(root.children("EditionEntry")));
  title.left_out.other_editions = editions - 1;
  return title;
}

MatroskaXmlEditions ListMatroskaXmlEditions(std::string_view bytes, std::string_view path) {
  const ChaptersDocument document(bytes, path);
  const pugi::xml_node chosen = ChosenEdition(document.Root());
  MatroskaXmlEditions list;
  for (const auto& edition : document.Root().children("EditionEntry")) {
    if (edition == chosen) list.default_edition = list.editions.size();
    list.editions.push_back({Flag(edition, "EditionFlagDefault"),
                             Flag(edition, "EditionFlagOrdered"),
                             Flag(edition, "EditionFlagHidden")});
  }
  return list;
}

}  // namespace markwright
