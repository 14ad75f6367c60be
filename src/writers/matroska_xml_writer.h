#pragma once

#include <string>

#include "core/chapter.h"

namespace markwright {

// A Matroska chapter XML document laid out as mkvextract writes it (UTF-8 with a byte-order
// mark, LF line ends): one default edition, one ChapterAtom per chapter with a start of the form
// HH:MM:SS.nnnnnnnnn and a ChapterUID derived from the chapter, so the same chapters always give
// the same bytes. The last chapter ends at the title's length when that is known and not before
// its start. A name goes in a ChapterDisplay with its language: an ISO 639-2 code as
// ChapterLanguage, any other tag as ChapLanguageIETF, "und" when unknown. A chapter with neither
// name nor language gets no ChapterDisplay, which mkvmerge keeps as a nameless chapter.
std::string WriteMatroskaChapters(const TitleChapters& title);

}  // namespace markwright
