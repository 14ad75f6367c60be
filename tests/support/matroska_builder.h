#pragma once

// Matroska files made from what a case needs, element by element: Ebml(kChapters, ...) is one
// element (its ID, its size as an 8-byte EBML number, its data). MatroskaBytes("matroska",
// segment data) puts the EBML header and the Segment around them.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace markwright::testing {

// The IDs of the elements the reader looks at.
enum MatroskaId : std::uint32_t {
  kEbmlHead = 0x1A45DFA3,
  kDocType = 0x4282,
  kSegment = 0x18538067,
  kSeekHead = 0x114D9B74,
  kSeek = 0x4DBB,
  kSeekId = 0x53AB,
  kSeekPosition = 0x53AC,
  kInfo = 0x1549A966,
  kTimestampScale = 0x2AD7B1,
  kDuration = 0x4489,
  kCluster = 0x1F43B675,
  kChapters = 0x1043A770,
  kEditionEntry = 0x45B9,
  kEditionFlagDefault = 0x45DB,
  kEditionFlagOrdered = 0x45DD,
  kEditionFlagHidden = 0x45BD,
  kChapterAtom = 0xB6,
  kChapterTimeStart = 0x91,
  kChapterDisplay = 0x80,
  kChapString = 0x85,
  kChapLanguage = 0x437C,
  kChapLanguageIetf = 0x437D,
};

inline std::string BigEndian(std::uint64_t value, int width) {
  std::string bytes;
  for (int shift = 8 * (width - 1); shift >= 0; shift -= 8) {
    bytes += static_cast<char>((value >> shift) & 0xFF);
  }
  return bytes;
}

inline std::string Ebml(std::uint32_t id, std::string_view data) {
  const int id_width = id > 0xFFFFFF ? 4 : id > 0xFFFF ? 3 : id > 0xFF ? 2 : 1;
  return BigEndian(id, id_width) + '\x01' + BigEndian(data.size(), 7) + std::string(data);
}
inline std::string EbmlUint(std::uint32_t id, std::uint64_t value) {
  return Ebml(id, BigEndian(value, 8));
}
inline std::string EbmlFloat(std::uint32_t id, double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return Ebml(id, BigEndian(bits, 8));
}

// A chapter atom with one display when name or language is given; more children after it.
inline std::string ChapterAtom(std::uint64_t start, std::string_view name = {},
                               std::string_view language = {}, std::string_view more = {}) {
  std::string display = Ebml(kChapString, name);
  if (!language.empty()) display += Ebml(kChapLanguage, language);
  return Ebml(kChapterAtom, EbmlUint(kChapterTimeStart, start) + Ebml(kChapterDisplay, display) +
                                std::string(more));
}

inline std::string MatroskaBytes(std::string_view doc_type, std::string_view segment) {
  return Ebml(kEbmlHead, Ebml(kDocType, doc_type)) + Ebml(kSegment, segment);
}

}  // namespace markwright::testing
