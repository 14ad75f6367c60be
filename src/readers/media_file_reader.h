#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/chapter.h"

namespace markwright {

// How long libmediainfo may take over one media file; as for DVDs, a damaged file can make it
// loop without end.
inline constexpr std::chrono::milliseconds kMediaFileReadDeadline{10'000};

// The chapters stored in a Matroska, WebM or ISO base media file (MP4, M4V, M4A, MOV), read
// through libmediainfo in the reading child (see mediainfo_child.h): the fields of the file's
// first menu, named by their start times, and the file's duration as the title's length.
// Matroska values carry the name's language ("en:Name"); a chapter with several names keeps the
// first. Throws ReadError "no chapters in the file" when the file has none (or is no media file
// libmediainfo knows), and ReadError as the DVD reader does when the library cannot be loaded,
// fails or does not finish within the deadline.
TitleChapters ReadMediaFileChapters(const std::filesystem::path& path);
TitleChapters ReadMediaFileChapters(const std::filesystem::path& path,
                                    std::chrono::milliseconds deadline);

// The chapters in the child's answer (texts) the file named source_name: the parent's side of
// ReadMediaFileChapters. Fields not named by a time are passed over; fails as it does.
TitleChapters MediaFileTitle(const std::vector<std::string>& texts, std::string_view source_name);

// The reading child's side: the file's format and duration, then each chapter's field name and
// value, as the library gives them.
inline constexpr std::string_view kMediaFileRequest = "media";
std::vector<std::string> AnswerMediaFileRequest(const std::filesystem::path& path);

}  // namespace markwright
