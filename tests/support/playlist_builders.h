#pragma once

// Blu-ray playlists (.mpls bytes) and HD DVD playlists (.xpl texts) made from what a case needs:
// BuildMpls({{{in, out}, ...}, {{play_item, stamp, type}, ...}}) and BuildXpl({{"HH:MM:SS:FF"}}).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace markwright::testing {

constexpr std::uint32_t kTicksPerSecond = 45000;  // the clock of Blu-ray playlists

struct MplsPlayItem {
  std::uint32_t in_time = 0, out_time = 0;  // ticks
};
struct MplsMark {
  std::uint16_t play_item = 0;  // 0-based
  std::uint32_t stamp = 0;      // ticks on that play item's clock
  std::uint8_t type = 1;        // 1 entry mark (a chapter), 2 link point
};
struct MplsPlaylist {
  std::vector<MplsPlayItem> items;
  std::vector<MplsMark> marks;
};

// Writes value big-endian at offset, width bytes wide; appends when offset is the end.
inline void PutBigEndian(std::string& bytes, std::size_t offset, std::uint64_t value,
                         std::size_t width) {
  if (bytes.size() < offset + width) bytes.resize(offset + width, '\0');
  for (std::size_t i = 0; i < width; ++i) bytes[offset + i] = char(value >> (8 * (width - 1 - i)));
}
inline void Append(std::string& bytes, std::uint64_t value, std::size_t width) {
  PutBigEndian(bytes, bytes.size(), value, width);
}

// The layout an authoring tool writes: header, play-list section at 40 (play items of 22 bytes
// from 50), then the mark section (marks of 14 bytes, 6 bytes after its start).
inline std::string BuildMpls(const MplsPlaylist& playlist) {
  std::string bytes = "MPLS0200";
  Append(bytes, 40, 4);
  Append(bytes, 50 + playlist.items.size() * 22, 4);
  bytes.resize(40, '\0');
  Append(bytes, 6 + playlist.items.size() * 22, 4);  // length, reserved, N, sub-paths
  Append(bytes, playlist.items.size(), 4);
  Append(bytes, 0, 2);
  for (const MplsPlayItem& item : playlist.items) {
    Append(bytes, 20, 2);
    bytes += "00001M2TS";  // clip name and codec, then flags and STC reference
    Append(bytes, 0, 3);
    Append(bytes, item.in_time, 4);
    Append(bytes, item.out_time, 4);
  }
  Append(bytes, 2 + playlist.marks.size() * 14, 4);
  Append(bytes, playlist.marks.size(), 2);
  for (const MplsMark& mark : playlist.marks) {
    Append(bytes, mark.type, 2);
    Append(bytes, mark.play_item, 2);
    Append(bytes, mark.stamp, 4);
    Append(bytes, 0xFFFF'0000'0000, 6);  // stream PID, duration
  }
  return bytes;
}

// One play item with an entry mark every minute from its start.
inline std::string MplsWithChapters(int count) {
  MplsPlaylist playlist{{{0, 6000 * kTicksPerSecond}}, {}};
  for (int i = 0; i < count; ++i) playlist.marks.push_back({0, 60 * kTicksPerSecond * i});
  return BuildMpls(playlist);
}

// One HD DVD title: the titleTimeBegin timecodes (HH:MM:SS:FF, 60 frames a second).
using XplTitle = std::vector<std::string>;

// A playlist text with one ChapterList per title, as a disc writes it.
inline std::string BuildXpl(const std::vector<XplTitle>& titles) {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Playlist>\r\n";
  for (const XplTitle& title : titles) {
    text += "  <Title>\r\n    <ChapterList>\r\n";
    for (const std::string& timecode : title) {
      text += "      <Chapter titleTimeBegin=\"" + timecode + "\" />\r\n";
    }
    text += "    </ChapterList>\r\n  </Title>\r\n";
  }
  return text + "</Playlist>\r\n";
}

// A title of count chapters a minute apart.
inline XplTitle XplTitleOfChapters(int count) {
  XplTitle title;
  for (int i = 0; i < count; ++i) {
    char timecode[16];
    std::snprintf(timecode, sizeof timecode, "%02d:%02d:00:00", i / 60 % 100, i % 60);
    title.push_back(timecode);
  }
  return title;
}

// A playlist with a title of that many chapters, a minute apart, per count.
inline std::string XplWithTitles(const std::vector<int>& chapter_counts) {
  std::vector<XplTitle> titles;
  for (const int count : chapter_counts) titles.push_back(XplTitleOfChapters(count));
  return BuildXpl(titles);
}

}  // namespace markwright::testing
