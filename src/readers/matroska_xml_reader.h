#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chapter.h"

namespace markwright {

// The name of the root element of an XML text (UTF-8), or of the first bytes of one; empty when
// the text is not XML with a root element, nullopt when the bytes end before the root element's
// name does (inside a long comment or document type declaration, say).
std::optional<std::string> XmlRootName(std::string_view head_or_text);

// Whether the text (a whole file or only its first bytes) is XML whose root element is
// Chapters, as Matroska chapter files are; any other XML is not.
bool IsMatroskaChaptersXml(std::string_view head_or_text);

// The chapters of a Matroska chapter XML file (what mkvextract writes and mkvmerge --chapters
// takes). Of the edition marked default, else the first one, its top-level ChapterAtoms in file
// order: disabled ones are left out, hidden ones kept, nested ones not read. A start is given in
// nanoseconds, either as a number or as [HH:]MM:SS.nnnnnnnnn, rounded half to even to the
// millisecond. The text is decoded as XmlTextInUtf8 decodes it. The name and language come from the
// first ChapterDisplay (ChapLanguageIETF before ChapterLanguage; "und" counts as unknown). The
// length is the last chapter's ChapterTimeEnd when it has one. Document type declarations are
// skipped unread, so no entity is ever expanded. Throws ReadError naming path and the line for
// malformed XML, another root element, a missing or malformed start, or an edition without
// chapters.
TitleChapters ParseMatroskaChapters(std::string_view bytes, std::string_view path);

// How a Matroska chapter XML file is read beyond the plain way above.
struct MatroskaXmlChoice {
  // The edition by its place among the EditionEntry elements (from 0); nullopt for the default.
  std::optional<std::size_t> edition;
  // Nested ChapterAtoms are read too, each parent's enabled children in time order after it.
  bool flatten_nested = false;
  // The name comes from the first ChapterDisplay in this language (ChapLanguageIETF or any
  // ChapterLanguage, letter case ignored), else from the first display; empty for the first.
  std::string language;
  // An edition without enabled chapters gives an empty list instead of the error, as a listing
  // shows it.
  bool allow_empty = false;
};
TitleChapters ParseMatroskaChapters(std::string_view bytes, std::string_view path,
                                    const MatroskaXmlChoice& choice);

// The flags of one EditionEntry.
struct MatroskaXmlEdition {
  bool is_default = false;  // EditionFlagDefault
  bool ordered = false;     // EditionFlagOrdered
  bool hidden = false;      // EditionFlagHidden
};

// The file's editions in file order, and the place of the one a plain conversion reads. Throws
// ReadError as ParseMatroskaChapters does for malformed XML or another root element.
struct MatroskaXmlEditions {
  std::vector<MatroskaXmlEdition> editions;
  std::size_t default_edition = 0;
};
MatroskaXmlEditions ListMatroskaXmlEditions(std::string_view bytes, std::string_view path);

}  // namespace markwright
