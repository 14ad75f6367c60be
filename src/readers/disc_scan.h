#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chapter_list.h"

namespace markwright {

struct HdDvdPlaylist;

enum class DiscKind { kBluRay, kHdDvd, kDvd };

// The message when a folder holds none of BDMV/PLAYLIST, ADV_OBJ and VIDEO_TS.
inline constexpr std::string_view kNoDiscMessage =
    "Disc or Folder does not contain Blu-Ray, HD DVD or DVD data";

// The message when the kind's folder holds no stream that can be offered.
std::string_view NoValidStreamsMessage(DiscKind kind);

// The child of the folder whose name equals the given one regardless of letter case (an exact
// match wins); nullopt when there is none or the folder cannot be listed.
std::optional<std::filesystem::path> FindChildIgnoringCase(const std::filesystem::path& folder,
                                                           std::string_view name);

// Whether the name matches the mask ("*" stands for any run of characters), letter case ignored.
bool MatchesMask(std::string_view name, std::string_view mask);

// The names of the ordinary files in the folder that match the mask, sorted by name with letter
// case ignored. Empty when the folder cannot be listed.
std::vector<std::string> ListMatchingFiles(const std::filesystem::path& folder,
                                           std::string_view mask);

// Where a disc keeps its streams: the first of BDMV/PLAYLIST, ADV_OBJ and VIDEO_TS found below
// the folder decides the kind (discs copied from some media come in lower case).
struct DiscLayout {
  DiscKind kind;
  std::filesystem::path stream_folder;
};
std::optional<DiscLayout> FindDiscLayout(const std::filesystem::path& folder);

// One entry of the stream list: a playlist or title set, or for HD DVD one title of a playlist.
struct DiscStream {
  std::string label;      // "1  00000.mpls  12 chapters  00:42:10.005", as StreamLine writes
  std::string file_name;  // without folder
  std::int32_t title;     // the HD DVD title number, from 1; 0 for the other kinds
};

struct DiscScan {
  DiscLayout layout;
  std::vector<DiscStream> streams;
  std::vector<std::string> left_out;  // the failure of each file that could not be counted
};

// One line of a stream listing, as --list prints it and the stream window shows it: the number
// (from 1), the source, the chapter count and the length when known, two blanks apart
// ("2  VPLST000.XPL title 2  1 chapter  00:01:30.090").
std::string StreamLine(std::size_t number, std::string_view source, std::size_t chapters,
                       const std::optional<std::int64_t>& length);

// What a listing calls the stream: its file name, and an HD DVD title's number after it.
std::string DiscStreamSource(const DiscStream& stream);

// Lists the streams of the disc in the folder, each labelled by StreamLine. A stream
// whose count fails is left out, so one damaged playlist does not hide the others. Throws Refusal
// with kNoDiscMessage or the kind's NoValidStreamsMessage when nothing can be offered; when
// streams were left out, the first one's failure follows after an empty line, so a cause such
// as a missing library is not hidden.
DiscScan ScanDiscFolder(const std::filesystem::path& folder);

// The chapters of the chosen stream. Throws ReadError like the kind's reader.
TitleChapters LoadDiscStream(const DiscScan& scan, const DiscStream& stream);

// The chapters of title 1, 2, ... of an HD DVD playlist already read, as a listing shows them:
// those HdDvdTitleChapters gives, except that a title without chapters is no error here but an
// empty list with the title's length, so that a listing can show every stream the scan offered.
TitleChapters ListHdDvdTitle(const HdDvdPlaylist& playlist, std::int32_t title,
                             std::string_view source_name);

}  // namespace markwright
