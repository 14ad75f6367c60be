#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Small disc inputs built in code, so each test reads like the case it describes.
namespace markwright::testing {

struct PlayItem {
  std::uint32_t in_ticks;  // 45 kHz
  std::uint32_t out_ticks;
};

struct PlaylistMark {
  std::uint8_t type;  // 1: an entry mark, a chapter start
  std::uint16_t item;
  std::uint32_t stamp_ticks;
};

inline void PutBigEndian(std::string& bytes, std::uint64_t value, int width) {
  for (int shift = (width - 1) * 8; shift >= 0; shift -= 8) {
    bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
  }
}

// A movie playlist (.mpls) with the play items and marks, laid out as a disc has them.
inline std::string MoviePlaylist(const std::vector<PlayItem>& items,
                                 const std::vector<PlaylistMark>& marks) {
  std::string items_section(6, '\0');  // length and reserved
  PutBigEndian(items_section, items.size(), 2);
  PutBigEndian(items_section, 0, 2);  // sub-paths
  for (const PlayItem& item : items) {
    std::string body = "00000M2TS";  // clip name and codec
    body += std::string(3, '\0');    // flags and STC id
    PutBigEndian(body, item.in_ticks, 4);
    PutBigEndian(body, item.out_ticks, 4);
    body += std::string(12, '\0');  // user options and the rest
    PutBigEndian(items_section, body.size(), 2);
    items_section += body;
  }
  std::string marks_section(4, '\0');  // length
  PutBigEndian(marks_section, marks.size(), 2);
  for (const PlaylistMark& mark : marks) {
    marks_section.push_back('\0');
    marks_section.push_back(static_cast<char>(mark.type));
    PutBigEndian(marks_section, mark.item, 2);
    PutBigEndian(marks_section, mark.stamp_ticks, 4);
    marks_section += std::string(6, '\0');  // entry packet id and duration
  }
  std::string bytes = "MPLS0200";
  const std::size_t header_size = 40;
  PutBigEndian(bytes, header_size, 4);
  PutBigEndian(bytes, header_size + items_section.size(), 4);
  bytes.resize(header_size, '\0');
  return bytes + items_section + marks_section;
}

// A playlist of one play item with an entry mark every minute.
inline std::string PlaylistWithChapters(int chapters) {
  std::vector<PlaylistMark> marks;
  for (int i = 0; i < chapters; ++i) {
    marks.push_back({1, 0, 27'000'000u + static_cast<std::uint32_t>(i) * 2'700'000u});
  }
  return MoviePlaylist({{27'000'000u, 27'000'000u + 2'700'000u * 100u}}, marks);
}

// An HD DVD playlist (.xpl) with one title per entry, each with that many chapters a minute
// apart (HH:MM:SS:FF timecodes), padded past the tail the reader does not look at.
inline std::string HdDvdPlaylist(const std::vector<int>& chapters_per_title) {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Playlist>\n";
  for (const int chapters : chapters_per_title) {
    text += "<Title>\n<ChapterList>\n";
    for (int i = 0; i < chapters; ++i) {
      const std::string minutes = (i < 10 ? "0" : "") + std::to_string(i);
      text += "<Chapter titleTimeBegin=\"00:" + minutes + ":00:00\"/>\n";
    }
    text += "</ChapterList>\n</Title>\n";
  }
  text += "</Playlist>\n<!--" + std::string(1100, ' ') + "-->\n";
  return text;
}

}  // namespace markwright::testing
