#pragma once

// Builders for Blu-ray playlists (.mpls bytes) and HD DVD playlists (.xpl texts) from a compact
// description, so that a test reads as the case it sets up.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace markwright::testing {

// 45 kHz ticks, the clock of Blu-ray playlists.
constexpr std::uint32_t kTicksPerSecond = 45000;

struct MplsPlayItem {
  std::uint32_t in_time = 0;   // ticks
  std::uint32_t out_time = 0;  // ticks
};

struct MplsMark {
  std::uint16_t play_item = 0;  // 0-based index of the play item the mark stands on
  std::uint32_t stamp = 0;      // ticks on that play item's clock
  std::uint8_t type = 1;        // 1 entry mark (a chapter), 2 link point
};

struct MplsPlaylist {
  std::vector<MplsPlayItem> items;
  std::vector<MplsMark> marks;
};

// Offsets inside the bytes BuildMpls makes, for tests that damage one field.
constexpr std::size_t kMplsPlayListOffsetField = 8;  // P, the play-list section's offset
constexpr std::size_t kMplsMarkOffsetField = 12;     // M, the mark section's offset
constexpr std::size_t kMplsPlayListStart = 40;       // where BuildMpls puts the play-list section
constexpr std::size_t kMplsItemLength = 20;          // play item bytes after its length field

// Writes value big-endian into bytes at offset, width bytes wide.
inline void PutBigEndian(std::string& bytes, std::size_t offset, std::uint64_t value,
                         std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) {
    bytes[offset + i] = static_cast<char>((value >> (8 * (width - 1 - i))) & 0xFF);
  }
}

inline void AppendBigEndian(std::string& bytes, std::uint64_t value, std::size_t width) {
  bytes.append(width, '\0');
  PutBigEndian(bytes, bytes.size() - width, value, width);
}

// The offset of the mark section in the bytes BuildMpls makes for this many play items.
inline std::size_t MplsMarkSectionOffset(std::size_t item_count) {
  return kMplsPlayListStart + 10 + item_count * (2 + kMplsItemLength);
}

// A playlist file as an authoring tool lays it out: header, play-list section with its play
// items, then the mark section (marks of 14 bytes).
inline std::string BuildMpls(const MplsPlaylist& playlist) {
  std::string bytes = "MPLS0200";
  AppendBigEndian(bytes, kMplsPlayListStart, 4);
  AppendBigEndian(bytes, MplsMarkSectionOffset(playlist.items.size()), 4);
  bytes.resize(kMplsPlayListStart, '\0');  // extension offset, reserved, application info

  AppendBigEndian(bytes, 4 + playlist.items.size() * (2 + kMplsItemLength), 4);  // length
  AppendBigEndian(bytes, 0, 2);                                                  // reserved
  AppendBigEndian(bytes, playlist.items.size(), 2);                              // N
  AppendBigEndian(bytes, 0, 2);                                                  // sub-paths
  for (const MplsPlayItem& item : playlist.items) {
    AppendBigEndian(bytes, kMplsItemLength, 2);
    bytes += "00001M2TS";          // clip name and codec
    AppendBigEndian(bytes, 0, 3);  // flags and STC reference
    AppendBigEndian(bytes, item.in_time, 4);
    AppendBigEndian(bytes, item.out_time, 4);
  }

  AppendBigEndian(bytes, 2 + playlist.marks.size() * 14, 4);  // length
  AppendBigEndian(bytes, playlist.marks.size(), 2);           // K
  for (const MplsMark& mark : playlist.marks) {
    AppendBigEndian(bytes, 0, 1);
    AppendBigEndian(bytes, mark.type, 1);
    AppendBigEndian(bytes, mark.play_item, 2);
    AppendBigEndian(bytes, mark.stamp, 4);
    AppendBigEndian(bytes, 0xFFFF, 2);  // elementary stream PID
    AppendBigEndian(bytes, 0, 4);       // duration
  }
  return bytes;
}

// One title of an HD DVD playlist: the timecodes (HH:MM:SS:FF, 60 frames a second) of its
// chapters, written as titleTimeBegin attributes.
using XplTitle = std::vector<std::string>;

// A playlist text with one ChapterList block per title, as a disc writes it.
inline std::string BuildXpl(const std::vector<XplTitle>& titles) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
      "<Playlist xmlns=\"http://www.dvdforum.org/2005/HDDVDVideo/Playlist\">\r\n";
  int title_number = 0;
  for (const XplTitle& title : titles) {
    ++title_number;
    text += "  <TitleSet>\r\n    <Title id=\"Title" + std::to_string(title_number) +
            "\" titleNumber=\"" + std::to_string(title_number) + "\">\r\n";
    text += "      <ChapterList>\r\n";
    int chapter_number = 0;
    for (const std::string& timecode : title) {
      ++chapter_number;
      text += "        <Chapter id=\"Chapter" + std::to_string(chapter_number) +
              "\" titleTimeBegin=\"" + timecode + "\" />\r\n";
    }
    text += "      </ChapterList>\r\n    </Title>\r\n  </TitleSet>\r\n";
  }
  text += "</Playlist>\r\n";
  return text;
}

// A title of count chapters a minute apart.
inline XplTitle XplTitleOfChapters(int count) {
  XplTitle title;
  for (int i = 0; i < count; ++i) {
    char timecode[32];
    std::snprintf(timecode, sizeof timecode, "%02d:%02d:00:00", i / 60, i % 60);
    title.push_back(timecode);
  }
  return title;
}

}  // namespace markwright::testing
