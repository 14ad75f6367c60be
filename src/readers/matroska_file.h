#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace markwright {

// The chapters a Matroska or WebM file stores, read with libebml and libmatroska: the EBML
// header, the Segment, its SeekHead's pointer to the Chapters (else the Segment's top-level
// elements in turn, each Cluster skipped by its size unread), then each edition's top-level
// chapter atoms. Read in the reading child (see mediainfo_child.h), where a crash of the
// libraries cannot take the program down.

struct MatroskaChapter {
  std::uint64_t start_nanoseconds = 0;
  // The first ChapterDisplay's ChapString; empty without one.
  std::string name;
  // Its ChapLanguageIETF, else its ChapLanguage in the two-letter form where there is one; empty
  // for "und" and where the display states none.
  std::string language;

  bool operator==(const MatroskaChapter&) const = default;
};

// How the chapter atoms are read beyond the plain way.
struct MatroskaReading {
  // Nested atoms are read too, each atom's children in time order after it (all of them, as at
  // the top level).
  bool flatten_nested = false;
  // The name comes from the first ChapterDisplay in this language (ChapLanguageIETF or any
  // ChapLanguage, letter case ignored), else from the first display; empty for the first.
  std::string language;
};

struct MatroskaEdition {
  bool is_default = false;  // EditionFlagDefault
  bool ordered = false;     // EditionFlagOrdered
  bool hidden = false;      // EditionFlagHidden
  // The edition's top-level atoms in file order, hidden and disabled ones too; nested atoms are
  // left out.
  std::vector<MatroskaChapter> chapters;
  // What was not read: nested atoms (without flatten_nested), and the chapters that have names
  // in further displays.
  std::size_t nested_left_out = 0;
  std::size_t other_names = 0;

  bool operator==(const MatroskaEdition&) const = default;
};

struct MatroskaFile {
  std::string doc_type;  // "matroska" or "webm"
  // The Segment Info's Duration × TimestampScale, in milliseconds, when it gives one.
  std::optional<double> duration_milliseconds;
  std::vector<MatroskaEdition> editions;
};

// Reads the file's editions; nothing when it does not start with an EBML element (another reader
// may know it), no editions when its EBML header is unreadable or its DocType is neither
// "matroska" nor "webm". Throws ReadError naming source_name with the
// offset for a Matroska file whose elements do not fit in what holds them, or that ends inside
// its chapters ("no chapters in the file: it ends at offset N, inside them"), and as
// CheckRoomForChapter does when an edition holds more chapters than a title may.
std::optional<MatroskaFile> ReadMatroskaFile(const std::filesystem::path& path,
                                             const MatroskaReading& reading = {});
std::optional<MatroskaFile> ReadMatroskaBytes(std::string_view bytes, std::string_view source_name,
                                              const MatroskaReading& reading = {});

// The edition a plain conversion reads: the first with EditionFlagDefault set, else the first;
// nullptr when there is none.
const MatroskaEdition* DefaultEdition(const MatroskaFile& file);

}  // namespace markwright
