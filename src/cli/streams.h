#pragma once

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/convert.h"
#include "cli/progress_line.h"
#include "readers/matroska_xml_reader.h"

namespace markwright {

// One entry of a listing: a playlist, an HD DVD title or a title set, or a whole chapter file.
struct Stream {
  std::string source;     // "00800.mpls", "VPLST000.XPL title 2"
  std::string file_stem;  // "00800", "VPLST000_title2", "VTS_01": the name --all writes
  ChapterLoader load;
  // What a listing reads: as load, but a title without chapters is listed, not refused.
  ChapterLoader list;
  // The flags of an edition of a Matroska chapter file that holds several; nullopt otherwise.
  std::optional<MatroskaXmlEdition> edition;
  // One of several menus of a media file: no choice is needed, the one read by default is read.
  bool menu = false;
  bool read_by_default = false;
};

// The streams of the -i input: a disc folder's playlists, titles or title sets, each file the
// scan left out reported on errors; a single playlist or title set's own streams (an HD DVD
// playlist one per title); a Matroska chapter XML file with several editions one per edition
// (read as reading asks, its edition field aside); any other chapter file as one stream. On a
// terminal a long scan shows the progress line.
std::vector<Stream> FindStreams(const std::filesystem::path& input, std::ostream& errors,
                                ProgressLine& progress, const MatroskaXmlChoice& reading = {});

// The stream a run without --stream converts: of a file's editions or menus the one a plain
// conversion reads, else the first.
std::size_t DefaultStream(const std::vector<Stream>& streams);

// The position in the list of stream number text (counted from 1, as --list shows). Throws
// Refusal for a number the list does not hold.
std::size_t ChosenStream(const std::string& text, std::size_t count);

}  // namespace markwright
