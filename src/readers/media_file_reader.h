#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chapter.h"
#include "readers/matroska_xml_reader.h"
#include "readers/mediainfo_request.h"

namespace markwright {

// How long the reading child may take over one media file; as for DVDs, a damaged file can make
// libmediainfo loop without end.
inline constexpr std::chrono::milliseconds kMediaFileReadDeadline{10'000};

// The chapters stored in a Matroska, WebM or ISO base media file (MP4, M4V, M4A, MOV), read in
// the reading child (see mediainfo_child.h), and the title's length. Matroska and WebM files are
// read with libmatroska (matroska_file.h): the default edition's top-level chapters, each named
// and with the language its first display gives, the start cut to whole milliseconds; the
// Segment's Duration. Other files through libmediainfo, which reads the headers only: the fields
// of the file's first menu that has chapters, named by their start times, and the file's
// duration. Throws ReadError "no chapters in the file" when the file has none (or is no media
// file either library knows), as ReadMatroskaFile does for a damaged Matroska file, and as the
// DVD reader does when libmediainfo cannot be loaded, fails or does not finish within the
// deadline.
TitleChapters ReadMediaFileChapters(const std::filesystem::path& path);
TitleChapters ReadMediaFileChapters(const std::filesystem::path& path,
                                    std::chrono::milliseconds deadline);

// The chapters in the reading child's answer about the file named source_name: the parent's
// side of ReadMediaFileChapters. Fields not named by a time are passed over. Fails as
// ReadMediaFileChapters does.
TitleChapters MediaFileTitle(const MediaInfoAnswer& answer, std::string_view source_name);

// The same for one edition of a Matroska file, or one menu of another file, by its place (from 0;
// nullopt for the one a plain conversion reads); with allow_empty an edition or menu without
// chapters gives an empty list.
TitleChapters MediaFileTitle(const MediaInfoAnswer& answer, std::string_view source_name,
                             std::optional<std::size_t> edition, bool allow_empty);

// How many chapter menus libmediainfo found in a file it read (each a stream of the file, chosen
// by its place where MediaFileTitle takes an edition), and the one a plain conversion reads: the
// first that holds chapters. No menus for a Matroska file.
std::size_t MediaFileMenuCount(const MediaInfoAnswer& answer);
std::size_t DefaultMediaFileMenu(const MediaInfoAnswer& answer);

// The flags of each edition libmatroska read, in file order; none for other files.
std::vector<MatroskaXmlEdition> MediaFileEditions(const MediaInfoAnswer& answer);

// The reading child's answer about the file, as ReadMediaFileChapters asks for it; a Matroska
// file's chapters read with the nesting and language of reading (its edition field aside).
MediaInfoAnswer AskAboutMediaFile(const std::filesystem::path& path,
                                  const MatroskaXmlChoice& reading = {});

}  // namespace markwright
