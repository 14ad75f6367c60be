#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/chapter_list.h"

namespace markwright {

// What the reader takes from a Blu-ray movie playlist (.mpls): the IN and OUT times of its play
// items and its marks, in 45 kHz ticks.
struct BluRayPlayItem {
  std::int32_t in_time = 0;
  std::int32_t out_time = 0;
  std::size_t offset = 0;  // where the play item sits in the file, for messages
};

struct BluRayMark {
  std::uint8_t type = 0;       // 1: entry mark, a chapter start
  std::int32_t play_item = 0;  // 0-based index of the play item whose clock the stamp is on
  std::int32_t stamp = 0;      // ticks
  std::size_t offset = 0;      // where the mark sits in the file, for messages
};

struct BluRayPlaylist {
  std::vector<BluRayPlayItem> items;
  std::vector<BluRayMark> marks;
};

// The play items and marks of a playlist file's bytes. The file must start with MPLS and a known
// version (0100, 0200 or 0300), else ReadError "not a Blu-ray playlist ...". Every field is
// bounds-checked, and each play item's length and the mark section's length are checked against
// the fields read from them, before those are read: failures throw ReadError "truncated playlist
// at offset N" (or "truncated play item" / "truncated mark section" at offset N). A 4-byte field
// of 2^31 or more or a 2-byte field of 2^15 or more, and a playlist without play items, throw
// ReadError too.
BluRayPlaylist DecodeBluRayPlaylist(std::string_view bytes, std::string_view source_name);

// The chapter starts on the playlist's continuous timeline, in ticks and file order: the first
// mark whatever its type, then every later entry mark. Play items follow one another, each
// contributing OUT - IN. A mark before its play item's IN time gives a negative value, written
// later as 00:00:00.000. Throws ReadError for a mark that refers to a play item the playlist does
// not have, or a time that leaves the 32-bit range.
std::vector<std::int32_t> BluRayChapterTicks(const BluRayPlaylist& playlist,
                                             std::string_view source_name);

// 45 kHz ticks as whole milliseconds, rounded to the nearest; 0 for negative values.
std::int64_t BluRayTicksToMilliseconds(std::int32_t ticks);

// The chapters of a playlist file's bytes, one nameless chapter per chapter start (see above),
// and the play items' total as the title's length. A playlist without marks gives no chapters.
TitleChapters ParseBluRayPlaylist(std::string_view bytes, std::string_view source_name);
TitleChapters ReadBluRayPlaylist(const std::filesystem::path& path);

// The number of chapters ReadBluRayPlaylist would give; fails where it fails.
std::int32_t CountBluRayChapters(const std::filesystem::path& path);

}  // namespace markwright
