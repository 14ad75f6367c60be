#pragma once

#include <string_view>

#include "core/chapter.h"

namespace markwright {

// Whether an XML root element's name is that of Podlove Simple Chapters: chapters, with any
// namespace prefix (psc:chapters). Matroska's root is Chapters, an HD DVD playlist's Playlist.
bool IsPodloveRootName(std::string_view name);

// The chapters of a Podlove Simple Chapters file: each chapter element (any prefix) under the
// root chapters element, in file order; its start attribute in normal play time (SS, MM:SS or
// HH:MM:SS, each with an optional fraction, rounded half away from zero to the millisecond), its
// title as the name, its href and image kept as the chapter's link and image. Other elements and
// attributes are passed over. The text is decoded as XmlTextInUtf8 decodes it; document type
// declarations are skipped unread, so no entity is ever expanded. Throws ReadError naming path
// and the line for malformed XML, another root element, a missing or malformed start, or no
// chapter.
TitleChapters ParsePodloveChapters(std::string_view bytes, std::string_view path);

}  // namespace markwright
