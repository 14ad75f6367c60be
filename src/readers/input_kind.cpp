#include "readers/input_kind.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "core/error.h"
#include "readers/audacity_reader.h"
#include "readers/audio_module.h"
#include "readers/cue_reader.h"
#include "readers/matroska_xml_reader.h"
#include "readers/podlove_reader.h"
#include "readers/premiere_markers_reader.h"
#include "readers/source_file.h"
#include "readers/text_encoding.h"
#include "readers/time_list_reader.h"

namespace markwright {
namespace {

char Upper(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// Matroska chapters are XML whose root element is Chapters; any other XML keeps the HD DVD road.
// kUnknown when the head ends before the root element shows.
InputKind XmlKind(std::string_view head) {
  const std::optional<std::string> root = XmlRootName(head);
  if (!root) return InputKind::kUnknown;
  if (*root == "fcpxml") return InputKind::kFcpxml;
  if (*root == "Chapters") return InputKind::kMatroskaXml;
  // No HD DVD playlist has this root, and the HD DVD reader finds no chapter list in one.
  return IsPodloveRootName(*root) ? InputKind::kPodlove : InputKind::kHdDvdPlaylist;
}

// The classic rules on the first four characters; a head shorter than needed is of no kind.
// root_unseen is set when the head is XML that ends before its root element.
InputKind ClassicKind(std::string_view head, bool& root_unseen, std::size_t needed = 4) {
  const std::string_view first_four = head.substr(0, 4);
  if (first_four.size() < needed || first_four.empty()) return InputKind::kUnknown;
  char key = Upper(first_four[0]);
  if (first_four.find("<?") != std::string_view::npos) key = '<';
  switch (key) {
    case 'C':
      return InputKind::kOggChapters;
    case 'M':
      return InputKind::kBluRayPlaylist;
    case '<': {
      const InputKind kind = XmlKind(head);
      root_unseen = kind == InputKind::kUnknown;
      return root_unseen ? InputKind::kHdDvdPlaylist : kind;
    }
    case 'D':
      return InputKind::kDvdTitleSet;
    default:
      return key >= '0' && key <= '9' ? InputKind::kCelltimes : InputKind::kUnknown;
  }
}

InputKind NewerKind(std::string_view head) {
  if (head.starts_with("\x1A\x45\xDF\xA3") || (head.size() >= 8 && head.substr(4, 4) == "ftyp")) {
    return InputKind::kMediaFile;
  }
  if (head.starts_with(";FFMETADATA1")) return InputKind::kFfmetadata;
  if (head.starts_with("WEBVTT")) return InputKind::kWebVtt;
  if (head.starts_with("TITLE:")) return InputKind::kResolveEdl;
  if (AudioContainerOfHead(head) != 0) return InputKind::kAudioFile;
  return InputKind::kUnknown;
}

// The kinds told by their first non-blank line. Each claims only lines no older kind reads: a
// clock time or tab-separated seconds are no Celltimes frame number, and the CUE commands and '{'
// begin with characters the classic rules give no kind.
InputKind FirstLineKind(std::string_view head) {
  const std::size_t first = std::min(head.find_first_not_of(" \t\r\n"), head.size());
  const std::string_view rest = head.substr(first);
  const std::string_view line = rest.substr(0, rest.find_first_of("\r\n"));
  if (IsAudacityLabelLine(line)) return InputKind::kAudacity;
  if (IsTimeListLine(line)) return InputKind::kTimeList;
  if (IsCueSheetStart(line)) return InputKind::kCueSheet;
  if (line.starts_with('{')) return InputKind::kPodcastJson;
  return InputKind::kUnknown;
}

// DetectInputKindFromHead, telling also whether the head is XML that ends before its root
// element.
InputKind KindOfHead(std::string_view head, bool& root_unseen) {
  head = SkipUtf8Bom(head);
  if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF")) {
    // UTF-16 is read for XML only, which declares its encoding this way.
    const std::string text = XmlTextInUtf8(head).value_or(std::string());
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (IsPremiereMarkerTable(text)) return InputKind::kPremiereMarkers;
    if (first == std::string::npos || text[first] != '<') return InputKind::kUnknown;
    const InputKind kind = XmlKind(text);
    root_unseen = kind == InputKind::kUnknown;
    return root_unseen ? InputKind::kHdDvdPlaylist : kind;
  }
  if (const InputKind kind = ClassicKind(head, root_unseen); kind != InputKind::kUnknown) {
    if (kind != InputKind::kCelltimes) return kind;
    const InputKind line_kind = FirstLineKind(head);
    return line_kind == InputKind::kUnknown ? kind : line_kind;
  }
  if (const InputKind kind = NewerKind(head); kind != InputKind::kUnknown) return kind;
  if (const InputKind kind = FirstLineKind(head); kind != InputKind::kUnknown) return kind;
  const std::size_t first = head.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos || first == 0) return InputKind::kUnknown;
  // The four characters counted before are there; what follows the blanks may be shorter.
  return ClassicKind(head.substr(first), root_unseen, 1);
}

}  // namespace

InputKind DetectInputKindFromHead(std::string_view head) {
  bool root_unseen = false;
  return KindOfHead(head, root_unseen);
}

InputKind DetectInputKind(const std::filesystem::path& path) {
  std::string head = ReadSourceHead(path, kDetectionHeadSize);
  if (SkipUtf8Bom(head).size() < 4) {
    throw ReadError(path.string(), "", "too short to be a chapter source");
  }
  bool root_unseen = false;
  InputKind kind = KindOfHead(head, root_unseen);
  const auto only_blanks = [&head] {
    return SkipUtf8Bom(head).find_first_not_of(" \t\r\n") == std::string_view::npos;
  };
  // A long comment or document type declaration may hide the root element of XML beyond the
  // head, and blank lines may hide the first character: then more is read, sixteen times as much
  // each time, until it shows or the file ends.
  for (std::size_t size = kDetectionHeadSize;
       (root_unseen || only_blanks()) && head.size() == size && size < kMaxSourceFileSize;) {
    size = static_cast<std::size_t>(std::min<std::uintmax_t>(size * 16, kMaxSourceFileSize));
    head = ReadSourceHead(path, size);
    root_unseen = false;
    kind = KindOfHead(head, root_unseen);
  }
  return kind;
}

}  // namespace markwright
