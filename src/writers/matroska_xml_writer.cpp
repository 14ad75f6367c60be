#include "writers/matroska_xml_writer.h"

#include <cstdint>
#include <string_view>

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
  std::string Uid() const { return std::to_string(hash_ == 0 ? 1 : hash_); }

 private:
  std::uint64_t hash_ = 0xcbf29ce484222325u;
};

// HH:MM:SS.nnnnnnnnn, the form mkvextract writes and mkvmerge reads (it refuses a bare count).
std::string NanosecondTime(std::int64_t milliseconds) {
  return FormatTimestamp(milliseconds) + "000000";
}

// XML 1.0 cannot carry other control characters; a CR is kept as a reference, since a parser
// turns a literal one into LF.
std::string Escaped(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    if (AppendMarkupEntity(escaped, c)) continue;
    if (c == '\r') {
      escaped += "&#13;";
    } else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') {
      escaped += c;
    }
  }
  return escaped;
}

bool IsIso639_2(std::string_view language) {
  if (language.size() != 3) return false;
  for (const char c : language) {
    if (c < 'a' || c > 'z') return false;
  }
  return true;
}

void AppendElement(std::string& xml, int depth, std::string_view name, std::string_view value) {
  xml.append(static_cast<std::size_t>(2) * static_cast<std::size_t>(depth), ' ');
  xml += '<';
  xml += name;
  xml += '>';
  xml += value;
  xml += "</";
  xml += name;
  xml += ">\n";
}

}  // namespace

std::string WriteMatroskaChapters(const TitleChapters& title) {
  std::string atoms;
  Fingerprint edition_fingerprint;
  for (std::size_t index = 0; index < title.chapters.size(); ++index) {
    const Chapter& chapter = title.chapters[index];
    const std::string uid = Fingerprint()
                                .Add(std::to_string(index))
                                .Add(FormatTimestamp(chapter.start))
                                .Add(chapter.name)
                                .Add(chapter.language.view())
                                .Uid();
    edition_fingerprint.Add(uid);
    const std::int64_t start = chapter.start;
    atoms += "    <ChapterAtom>\n";
    AppendElement(atoms, 3, "ChapterUID", uid);
    AppendElement(atoms, 3, "ChapterTimeStart", NanosecondTime(start));
    if (index + 1 == title.chapters.size() && title.length && *title.length >= start) {
      AppendElement(atoms, 3, "ChapterTimeEnd", NanosecondTime(*title.length));
    }
    AppendElement(atoms, 3, "ChapterFlagHidden", "0");
    AppendElement(atoms, 3, "ChapterFlagEnabled", "1");
    if (!chapter.name.empty() || !chapter.language.empty()) {
      atoms += "      <ChapterDisplay>\n";
      AppendElement(atoms, 4, "ChapterString", Escaped(chapter.name));
      const std::string_view language = chapter.language.view();
      if (language.empty() || IsIso639_2(language)) {
        AppendElement(atoms, 4, "ChapterLanguage", language.empty() ? "und" : language);
      } else {
        AppendElement(atoms, 4, "ChapLanguageIETF", Escaped(language));
      }
      atoms += "      </ChapterDisplay>\n";
    }
    atoms += "    </ChapterAtom>\n";
  }
  std::string xml =
      "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n"
      "<!-- <!DOCTYPE Chapters SYSTEM \"matroskachapters.dtd\"> -->\n"
      "<Chapters>\n"
      "  <EditionEntry>\n";
  AppendElement(xml, 2, "EditionFlagHidden", "0");
  AppendElement(xml, 2, "EditionFlagDefault", "1");
  AppendElement(xml, 2, "EditionFlagOrdered", "0");
  AppendElement(xml, 2, "EditionUID", edition_fingerprint.Uid());
  return xml + atoms + "  </EditionEntry>\n</Chapters>\n";
}

}  // namespace markwright
