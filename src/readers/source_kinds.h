#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/chapter_list.h"
#include "readers/input_kind.h"

namespace markwright {

class SourceLineReader;

// How a kind's parse function gets its file; ReadChapterSource does the reading, so no reader
// opens the file a second time.
enum class SourceInput {
  kBytes,  // the whole file, read once (ReadSourceFile)
  kLines,  // line by line, so a large file never sits in memory whole (SourceLineReader)
  kPath,   // the path alone: the reading child opens it (DVD title sets, media files)
};

// What a parse function gets: the file's name for messages and for the reading child; its bytes
// when the row reads kBytes (else empty); its lines when it reads kLines (else nullptr); and the
// input rate, which only Celltimes frame numbers need.
struct SourceRequest {
  const std::filesystem::path& path;
  std::string_view bytes;
  SourceLineReader* lines = nullptr;
  double input_rate = 0;
};

// The chapters of a source, or ReadError; never a partial list.
using SourceParse = TitleChapters (*)(const SourceRequest& request);

// One input kind. Detection stays one function (DetectInputKindFromHead), because its rules are
// tried in a fixed order across kinds (the classic first characters before the newer signatures,
// then the classic ones again after blank lines); split into one probe per row, that order would
// hang on the order of the rows. detected_by says in words what it looks for, for the manual page.
struct SourceKind {
  InputKind kind;
  std::string_view key;           // a short name for lists and the manual page
  std::string_view display_name;  // shown in lists of what is read
  std::string_view detected_by;   // how detection knows it, in words
  std::string_view open_filter;   // "description|patterns" for the Open dialog
  std::string_view mime_types;    // ';'-separated, each ending with ';'; empty for plain text
  SourceInput input;
  SourceParse parse;
};

// The kinds in the order of the Open dialog's filters: the five classic ones first (OGG,
// Celltimes, Blu-ray, HD DVD, DVD), then Matroska XML, ffmpeg metadata, WebVTT, media files, the
// editing-software markers, Podlove and Podcasting 2.0 chapters, CUE sheets, Audacity labels, time
// lists and audio files.
inline constexpr std::size_t kClassicSourceKindCount = 5;
extern const std::array<SourceKind, 18> kSourceKinds;

// The row of a kind; nullptr for kUnknown.
const SourceKind* FindSourceKind(InputKind kind);

// The Open dialog's filter: "Supported Files" with every row's patterns (each once, in row
// order), then one entry per row.
std::string SourceOpenFilter();

// The MIME types of all rows, each followed by ';', as a desktop entry lists them.
std::string SourceMimeTypes();

// "\t\t- key: display name" for each row, each line ended by line_end.
std::string SourceKindsList(std::string_view line_end);

}  // namespace markwright
