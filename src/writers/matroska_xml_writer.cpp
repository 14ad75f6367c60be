#include "writers/matroska_xml_writer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/timestamp.h"
#include "writers/chapter_label.h"

namespace markwright {
namespace {

// FNV-1a over the texts: a chapter's UID depends on nothing but the chapters.
class Fingerprint {
 public:
  Fingerprint& Add(std::string_view text) {
    for (const unsigned char c : text) hash_ = (hash_ ^ c) * 0x100000001b3u;
    hash_ = (hash_ ^ 0xffu) * 0x100000001b3u;  // ends the text, so "ab"+"c" differs from "a"+"bc"
    return *this;
  }
  // Matroska reserves 0 for "no UID".
  std::uint64_t Uid() const { return hash_ == 0 ? 1 : hash_; }

 private:
  std::uint64_t hash_ = 0xcbf29ce484222325u;
};

// XML 1.0 cannot carry other control characters; a CR is kept as a reference, since a parser
// turns a literal one into LF.
void AppendEscaped(std::string& escaped, std::string_view text) {
  // Most names need nothing escaped: appended whole.
  if (std::ranges::none_of(text, [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == '<' || c == '>' || c == '&';
      })) {
    escaped += text;
    return;
  }
  for (const char c : text) {
    if (AppendMarkupEntity(escaped, c)) continue;
    if (c == '\r') {
      escaped += "&#13;";
    } else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') {
      escaped += c;
    }
  }
}

bool IsIso639_2(std::string_view language) {
  if (language.size() != 3) return false;
  for (const char c : language) {
    if (c < 'a' || c > 'z') return false;
  }
  return true;
}

void OpenElement(std::string& xml, int depth, std::string_view name) {
  xml.append(static_cast<std::size_t>(2) * static_cast<std::size_t>(depth), ' ');
  xml += '<';
  xml += name;
  xml += '>';
}

void CloseElement(std::string& xml, std::string_view name) {
  xml += "</";
  xml += name;
  xml += ">\n";
}

void AppendElement(std::string& xml, int depth, std::string_view name, std::string_view value) {
  OpenElement(xml, depth, name);
  xml += value;
  CloseElement(xml, name);
}

// HH:MM:SS.nnnnnnnnn, the form mkvextract writes and mkvmerge reads (it refuses a bare count).
void AppendTimeElement(std::string& xml, std::string_view name, std::int64_t milliseconds) {
  OpenElement(xml, 3, name);
  AppendTimestamp(xml, milliseconds);
  xml += "000000";
  CloseElement(xml, name);
}

// The number's decimal digits, in the buffer.
std::string_view Digits(std::uint64_t number, std::array<char, 24>& buffer) {
  const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), number).ptr;
  return {buffer.data(), static_cast<std::size_t>(end - buffer.data())};
}

// What one chapter takes in the text besides its name and language, at most: reserved ahead, so
// that a million chapters (some 400 MB) are written without copying the text on the way.
constexpr std::size_t kAtomBytes = 400;

}  // namespace

std::string WriteMatroskaChapters(const TitleChapters& title) {
  // The edition's UID, which comes first, is made from every chapter's.
  std::vector<std::uint64_t> uids;
  uids.reserve(title.chapters.size());
  Fingerprint edition_fingerprint;
  std::string start_text;
  std::array<char, 24> digits{};
  std::size_t size = 512;
  for (std::size_t index = 0; index < title.chapters.size(); ++index) {
    const Chapter& chapter = title.chapters[index];
    size += kAtomBytes + chapter.name.size() + chapter.language.view().size();
    start_text.clear();
    AppendTimestamp(start_text, chapter.start);
    uids.push_back(Fingerprint()
                       .Add(Digits(index, digits))
                       .Add(start_text)
                       .Add(chapter.name)
                       .Add(chapter.language.view())
                       .Uid());
    edition_fingerprint.Add(Digits(uids.back(), digits));
  }
  std::string xml;
  xml.reserve(size);
  xml +=
      "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n"
      "<!-- <!DOCTYPE Chapters SYSTEM \"matroskachapters.dtd\"> -->\n"
      "<Chapters>\n"
      "  <EditionEntry>\n";
  AppendElement(xml, 2, "EditionFlagHidden", "0");
  AppendElement(xml, 2, "EditionFlagDefault", "1");
  AppendElement(xml, 2, "EditionFlagOrdered", "0");
  AppendElement(xml, 2, "EditionUID", Digits(edition_fingerprint.Uid(), digits));
  for (std::size_t index = 0; index < title.chapters.size(); ++index) {
    const Chapter& chapter = title.chapters[index];
    const std::int64_t start = chapter.start;
    xml += "    <ChapterAtom>\n";
    AppendElement(xml, 3, "ChapterUID", Digits(uids[index], digits));
    AppendTimeElement(xml, "ChapterTimeStart", start);
    if (index + 1 == title.chapters.size() && title.length && *title.length >= start) {
      AppendTimeElement(xml, "ChapterTimeEnd", *title.length);
    }
    xml +=
        "      <ChapterFlagHidden>0</ChapterFlagHidden>\n"
        "      <ChapterFlagEnabled>1</ChapterFlagEnabled>\n";
    if (!chapter.name.empty() || !chapter.language.empty()) {
      xml += "      <ChapterDisplay>\n";
      OpenElement(xml, 4, "ChapterString");
      AppendEscaped(xml, chapter.name);
      CloseElement(xml, "ChapterString");
      const std::string_view language = chapter.language.view();
      if (language.empty() || IsIso639_2(language)) {
        AppendElement(xml, 4, "ChapterLanguage", language.empty() ? "und" : language);
      } else {
        OpenElement(xml, 4, "ChapLanguageIETF");
        AppendEscaped(xml, language);
        CloseElement(xml, "ChapLanguageIETF");
      }
      xml += "      </ChapterDisplay>\n";
    }
    xml += "    </ChapterAtom>\n";
  }
  xml += "  </EditionEntry>\n</Chapters>\n";
  return xml;
}

}  // namespace markwright
