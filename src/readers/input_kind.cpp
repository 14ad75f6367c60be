#include "readers/input_kind.h"

#include <cctype>
#include <string>

#include "core/error.h"
#include "readers/matroska_xml_reader.h"
#include "readers/source_file.h"

namespace markwright {
namespace {

char Upper(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// The classic rules on the first four characters; a head shorter than needed is of no kind.
InputKind ClassicKind(std::string_view head, std::size_t needed = 4) {
  const std::string_view first_four = head.substr(0, 4);
  if (first_four.size() < needed || first_four.empty()) return InputKind::kUnknown;
  char key = Upper(first_four[0]);
  if (first_four.find("<?") != std::string_view::npos) key = '<';
  switch (key) {
    case 'C':
      return InputKind::kOggChapters;
    case 'M':
      return InputKind::kBluRayPlaylist;
    case '<':
      // Matroska chapters are XML too; any other XML keeps the HD DVD road.
      return IsMatroskaChaptersXml(head) ? InputKind::kMatroskaXml : InputKind::kHdDvdPlaylist;
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
  return InputKind::kUnknown;
}

}  // namespace

InputKind DetectInputKindFromHead(std::string_view head) {
  head = SkipUtf8Bom(head);
  if (const InputKind kind = ClassicKind(head); kind != InputKind::kUnknown) return kind;
  if (const InputKind kind = NewerKind(head); kind != InputKind::kUnknown) return kind;
  const std::size_t first = head.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos || first == 0) return InputKind::kUnknown;
  // The four characters counted before are there; what follows the blanks may be shorter.
  return ClassicKind(head.substr(first), 1);
}

InputKind DetectInputKind(const std::filesystem::path& path) {
  const std::string head = ReadSourceHead(path, kDetectionHeadSize);
  if (SkipUtf8Bom(head).size() < 4) {
    throw ReadError(path.string(), "", "too short to be a chapter source");
  }
  return DetectInputKindFromHead(head);
}

}  // namespace markwright
