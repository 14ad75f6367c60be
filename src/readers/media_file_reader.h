#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/chapter.h"
#include "readers/mediainfo_request.h"

namespace markwright {

// How long libmediainfo may take over one media file; as for DVDs, a damaged file can make it
// loop without end.
inline constexpr std::chrono::milliseconds kMediaFileReadDeadline{10'000};

// The chapters stored in a Matroska, WebM or ISO base media file (MP4, M4V, M4A, MOV), read
// through libmediainfo in the reading child (see mediainfo_child.h): the fields of the file's
// first menu that has chapters, named by their start times, and the file's duration as the
// title's length. Matroska values carry the name's language ("en:Name"); a chapter with several
// names keeps the first. libmediainfo reads the headers only. Throws ReadError "no chapters in the
// file" when the file has none (or is no media file libmediainfo knows), and ReadError as the DVD
// reader does when the library cannot be loaded, fails or does not finish within the deadline.
TitleChapters ReadMediaFileChapters(const std::filesystem::path& path);
TitleChapters ReadMediaFileChapters(const std::filesystem::path& path,
                                    std::chrono::milliseconds deadline);

// The chapters in the reading child's answer about the file named source_name: the parent's
// side of ReadMediaFileChapters. Fields not named by a time are passed over; a Matroska value's
// "lang:" prefix is the chapter's language where the file states one for it (answer.stored),
// else only where it has the form of one. Fails as ReadMediaFileChapters does.
TitleChapters MediaFileTitle(const MediaInfoAnswer& answer, std::string_view source_name);

}  // namespace markwright
