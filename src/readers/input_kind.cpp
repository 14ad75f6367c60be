#include "readers/input_kind.h"

#include <cctype>
#include <string>

#include "core/error.h"
#include "readers/source_file.h"

namespace markwright {
namespace {

char Upper(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

}  // namespace

InputKind DetectInputKindFromHead(std::string_view head) {
  head = SkipUtf8Bom(head).substr(0, 4);
  if (head.size() < 4) return InputKind::kUnknown;
  char key = Upper(head[0]);
  if (head.find("<?") != std::string_view::npos) key = '<';
  switch (key) {
    case 'C':
      return InputKind::kOggChapters;
    case 'M':
      return InputKind::kBluRayPlaylist;
    case '<':
      return InputKind::kHdDvdPlaylist;
    case 'D':
      return InputKind::kDvdTitleSet;
    default:
      return key >= '0' && key <= '9' ? InputKind::kCelltimes : InputKind::kUnknown;
  }
}

InputKind DetectInputKind(const std::filesystem::path& path) {
  // A byte-order mark and four characters.
  const std::string head = ReadSourceHead(path, 7);
  const std::string_view text = SkipUtf8Bom(head);
  if (text.size() < 4) throw ReadError(path.string(), "", "too short to be a chapter source");
  return DetectInputKindFromHead(text);
}

}  // namespace markwright
