#include "readers/source_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/error.h"

namespace markwright {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reads the file up to limit bytes; more than that is an error, or left unread when only the
// head is wanted.
std::string ReadBytes(const std::filesystem::path& path, std::size_t limit, bool head_only) {
  const std::string name = path.string();
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    throw ReadError(name, "", "is a folder, not a chapter file");
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(name.c_str(), "rb"));
  if (!file) throw ReadError(name, "", std::string("cannot open: ") + std::strerror(errno));

  std::string bytes;
  char buffer[65536];
  for (;;) {
    const std::size_t wanted =
        head_only ? std::min(sizeof buffer, limit - bytes.size()) : sizeof buffer;
    const std::size_t count = std::fread(buffer, 1, wanted, file.get());
    if (bytes.size() + count > limit) {
      throw ReadError(name, "", "too large for a chapter source");
    }
    bytes.append(buffer, count);
    if (count < wanted || (head_only && bytes.size() == limit)) break;
  }
  if (std::ferror(file.get())) {
    throw ReadError(name, "", std::string("cannot read: ") + std::strerror(errno));
  }
  return bytes;
}

}  // namespace

std::string ReadSourceFile(const std::filesystem::path& path) {
  return ReadBytes(path, kMaxSourceFileSize, false);
}

std::string ReadSourceHead(const std::filesystem::path& path, std::size_t count) {
  return ReadBytes(path, count, true);
}

std::string_view SkipUtf8Bom(std::string_view text) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (text.starts_with(kBom)) text.remove_prefix(kBom.size());
  return text;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  text = SkipUtf8Bom(text);
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

std::string QuotedExcerpt(std::string_view text) {
  constexpr std::size_t kLongest = 40;
  std::string excerpt = "\"";
  excerpt += text.substr(0, kLongest);
  if (text.size() > kLongest) excerpt += "...";
  excerpt += '"';
  return excerpt;
}

}  // namespace markwright
