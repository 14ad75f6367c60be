#include "readers/bluray_reader.h"

#include <limits>

#include "core/error.h"
#include "core/timestamp.h"
#include "readers/byte_reader.h"
#include "readers/source_file.h"

namespace markwright {
namespace {

constexpr std::size_t kMarkSize = 14;
// A play item's IN and OUT times end 20 bytes after its length field.
constexpr std::int64_t kPlayItemFieldsLength = 20;

// Sums and differences on the timeline stay in 32 bits, as the file's fields do.
std::int32_t Checked32(std::int64_t value, std::string_view source_name, std::size_t offset) {
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    throw ErrorAtOffset(source_name, "playlist time out of range",
                        static_cast<std::int64_t>(offset));
  }
  return static_cast<std::int32_t>(value);
}

void CheckSignature(const ByteReader& reader, std::string_view source_name) {
  if (reader.Bytes(0, 4) != "MPLS") throw ReadError(source_name, "", "not a Blu-ray playlist");
  const std::string_view version = reader.Bytes(4, 4);
  if (version != "0100" && version != "0200" && version != "0300") {
    throw ReadError(source_name, "",
                    "not a Blu-ray playlist of a known version (0100, 0200 or 0300)");
  }
}

}  // namespace

BluRayPlaylist DecodeBluRayPlaylist(std::string_view bytes, std::string_view source_name) {
  const ByteReader reader(bytes, source_name);
  CheckSignature(reader, source_name);
  BluRayPlaylist playlist;

  const std::int64_t play_list = reader.ReadInt32BE(8);
  const std::int64_t item_count = reader.ReadInt16BE(play_list + 6);
  if (item_count == 0) {
    throw ErrorAtOffset(source_name, "the playlist has no play items", play_list + 6);
  }
  std::int64_t item = play_list + 10;
  for (std::int64_t i = 0; i < item_count; ++i) {
    // The length does not count its own field. IN and OUT follow the clip name, codec and flags.
    const std::int64_t length = reader.ReadInt16BE(item);
    reader.Bytes(item, static_cast<std::size_t>(2 + length));
    if (length < kPlayItemFieldsLength) {
      throw ErrorAtOffset(source_name, "truncated play item", item,
                          "length " + std::to_string(length) + ", 20 or more needed");
    }
    playlist.items.push_back({reader.ReadInt32BE(item + 14), reader.ReadInt32BE(item + 18),
                              static_cast<std::size_t>(item)});
    item += 2 + length;
  }

  const std::int64_t mark_section = reader.ReadInt32BE(12);
  const std::int64_t section_length = reader.ReadInt32BE(mark_section);
  const std::int64_t mark_count = reader.ReadInt16BE(mark_section + 4);
  const std::int64_t needed = 2 + mark_count * static_cast<std::int64_t>(kMarkSize);
  if (section_length < needed) {
    throw ErrorAtOffset(source_name, "truncated mark section", mark_section,
                        "length " + std::to_string(section_length) + ", " + std::to_string(needed) +
                            " needed for " + std::to_string(mark_count) + " marks");
  }
  std::int64_t mark = mark_section + 6;
  for (std::int64_t k = 0; k < mark_count; ++k, mark += kMarkSize) {
    // A mark is whole or the file is cut. Byte 0 is reserved; the last six bytes (stream PID,
    // duration) are not needed.
    reader.Bytes(mark, kMarkSize);
    playlist.marks.push_back({reader.ReadUInt8(mark + 1), reader.ReadInt16BE(mark + 2),
                              reader.ReadInt32BE(mark + 4), static_cast<std::size_t>(mark)});
  }
  return playlist;
}

std::vector<std::int32_t> BluRayChapterTicks(const BluRayPlaylist& playlist,
                                             std::string_view source_name) {
  // Where each play item starts on the playlist's timeline.
  std::vector<std::int32_t> item_starts;
  std::int32_t running = 0;
  for (const BluRayPlayItem& item : playlist.items) {
    item_starts.push_back(running);
    const std::int32_t duration =
        Checked32(std::int64_t{item.out_time} - item.in_time, source_name, item.offset);
    running = Checked32(std::int64_t{running} + duration, source_name, item.offset);
  }

  std::vector<std::int32_t> ticks;
  for (std::size_t k = 0; k < playlist.marks.size(); ++k) {
    const BluRayMark& mark = playlist.marks[k];
    if (mark.play_item < 0 || static_cast<std::size_t>(mark.play_item) >= playlist.items.size()) {
      throw ErrorAtOffset(source_name,
                          "mark " + std::to_string(k + 1) + " refers to play item " +
                              std::to_string(mark.play_item + 1),
                          static_cast<std::int64_t>(mark.offset + 2),
                          "the playlist has " + std::to_string(playlist.items.size()));
    }
    const auto item = static_cast<std::size_t>(mark.play_item);
    const std::int32_t on_item = Checked32(std::int64_t{mark.stamp} - playlist.items[item].in_time,
                                           source_name, mark.offset);
    const std::int32_t t =
        Checked32(std::int64_t{on_item} + item_starts[item], source_name, mark.offset);
    // The first mark always starts the first chapter, whatever its type.
    if (k == 0 || mark.type == 1) ticks.push_back(t);
  }
  return ticks;
}

std::int64_t BluRayTicksToMilliseconds(std::int32_t ticks) {
  if (ticks <= 0) return 0;
  // 45 ticks to the millisecond; 45 is odd, so there are no exact halves.
  return (std::int64_t{ticks} + 22) / 45;
}

TitleChapters ParseBluRayPlaylist(std::string_view bytes, std::string_view source_name) {
  const BluRayPlaylist playlist = DecodeBluRayPlaylist(bytes, source_name);
  TitleChapters title;
  for (const std::int32_t t : BluRayChapterTicks(playlist, source_name)) {
    title.chapters.push_back({BluRayTicksToMilliseconds(t), {}, {}});
  }
  // The title runs as long as its play items together.
  std::int64_t length = 0;
  for (const BluRayPlayItem& item : playlist.items) {
    length += std::int64_t{item.out_time} - item.in_time;
  }
  if (length > 0 && length <= std::numeric_limits<std::int32_t>::max()) {
    title.length = BluRayTicksToMilliseconds(static_cast<std::int32_t>(length));
  }
  return title;
}

TitleChapters ReadBluRayPlaylist(const std::filesystem::path& path) {
  return ParseBluRayPlaylist(ReadSourceFile(path), path.string());
}

std::int32_t CountBluRayChapters(const std::filesystem::path& path) {
  return static_cast<std::int32_t>(ReadBluRayPlaylist(path).chapters.size());
}

}  // namespace markwright
