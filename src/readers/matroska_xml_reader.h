#pragma once

#include <optional>
#include <string>
#include <string_view>

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

}  // namespace markwright
