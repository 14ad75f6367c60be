#include "readers/input_kind.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "core/error.h"
#include "readers/source_file.h"

namespace markwright {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

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
  const std::string name = path.string();
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    throw ReadError(name, "", "is a folder, not a chapter file");
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(name.c_str(), "rb"));
  if (!file) throw ReadError(name, "", std::string("cannot open: ") + std::strerror(errno));
  char head[7];  // a byte-order mark and four characters
  const std::size_t count = std::fread(head, 1, sizeof head, file.get());
  const std::string_view text = SkipUtf8Bom(std::string_view(head, count));
  if (text.size() < 4) throw ReadError(name, "", "too short to be a chapter source");
  return DetectInputKindFromHead(text);
}

}  // namespace markwright
