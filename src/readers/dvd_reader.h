#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/chapter_list.h"
#include "readers/mediainfo_request.h"

namespace markwright {

// What the DVD reader asks about a title set's chapter menu: libmediainfo answers in the
// program; tests answer with a stand-in.
class ChapterMenu {
 public:
  virtual ~ChapterMenu() = default;
  // The text of a parameter of the menu: "Chapters_Pos_Begin" (the position of the first chapter
  // field) or "Chapters_Pos_End" (one past the last).
  virtual std::string Parameter(std::string_view name) = 0;
  // The name of the field at the position: a chapter's start time, HH:MM:SS.mmm.
  virtual std::string FieldName(std::size_t position) = 0;
};

// The number of chapters the menu reports: |begin - end - 1| - 1 of its two positions (end -
// begin when end >= begin), each read as the number its text starts with (0 for none). Throws
// ReadError naming source_name, "no chapters found in the title set's chapter menu", when that is
// below 1 (a file that is not a title set, or a missing file, has no menu), and for a count no
// DVD can hold.
std::int32_t CountMenuChapters(ChapterMenu& menu, std::string_view source_name);

// The names of the fields from begin to end - 1, in that order, as the menu gives them; empty
// names are skipped. Fails where CountMenuChapters fails.
std::vector<std::string> ReadMenuChapters(ChapterMenu& menu, std::string_view source_name);

// How long libmediainfo may take over one title set. It takes milliseconds over a sound one, but
// can loop without end over a damaged one.
inline constexpr std::chrono::milliseconds kDvdReadDeadline{10'000};

// The chapters of a DVD title set (VTS_xx_0.IFO; the VOB files need not be there), read through
// libmediainfo in a child process that is stopped after the deadline (see mediainfo_child.h).
// NTSC chapter times are turned into real time (NtscChapterTime). Throws ReadError
// "libmediainfo could not be loaded" when it cannot be, when the library does not finish in time
// or fails, and for a chapter time it gives that is no timestamp.
std::int32_t CountDvdChapters(const std::filesystem::path& path);
TitleChapters ReadDvdTitleSet(const std::filesystem::path& path);
std::int32_t CountDvdChapters(const std::filesystem::path& path,
                              std::chrono::milliseconds deadline);
TitleChapters ReadDvdTitleSet(const std::filesystem::path& path,
                              std::chrono::milliseconds deadline);

// An NTSC title set counts its times in frames at a nominal 30 a second, and libmediainfo gives
// that count as if it were seconds (HH:MM:SS and the frames / 30 as milliseconds, cut). The
// real time of such a chapter: the count taken back, ((H x 60 + M) x 60 + S) x 30 + mmm x 30 /
// 1000 rounded, times 1001 / 30 ms, rounded half to even. A text that is no timestamp is kept.
std::string NtscChapterTime(std::string_view library_time);

// The chapters of the title set named source_name in the reading child's answer: the parent's
// side of ReadDvdTitleSet. Fails as ReadMenuChapters does, and with ReadError "chapter N:
// libmediainfo gave no time but "..."" for a name that is no timestamp (a bad answer is blamed
// on the file where it is read, not at re-timing).
TitleChapters DvdTitle(const MediaInfoAnswer& answer, std::string_view source_name);

}  // namespace markwright
