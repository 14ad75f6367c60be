#include "readers/source_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <sys/stat.h>

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

  // A regular file is read in one go into a buffer of its size: growing the buffer as the bytes
  // come would copy them over and over and touch far more memory than the file holds. The room
  // is one byte more than the size, so the read that meets the end needs no larger buffer; it
  // still grows for a file that grows meanwhile or tells no size (a pipe).
  struct stat status {};
  std::size_t expected = 0;
  if (::fstat(::fileno(file.get()), &status) == 0 && S_ISREG(status.st_mode)) {
    expected = static_cast<std::size_t>(status.st_size);
  }
  if (!head_only && expected > limit) throw ReadError(name, "", "too large for a chapter source");
  // A byte beyond the limit is read only to tell that the file is too large.
  const std::size_t most = head_only ? limit : limit + 1;
  std::string bytes(std::min(most, expected > 0 ? expected + 1 : 65536), '\0');
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) {
      if (filled == most) break;
      bytes.resize(std::min(most, filled + std::max<std::size_t>(filled, 65536)));
    }
    const std::size_t count =
        std::fread(bytes.data() + filled, 1, bytes.size() - filled, file.get());
    if (count == 0) break;
    filled += count;
  }
  if (std::ferror(file.get())) {
    throw ReadError(name, "", std::string("cannot read: ") + std::strerror(errno));
  }
  if (filled > limit) throw ReadError(name, "", "too large for a chapter source");
  bytes.resize(filled);
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

bool LineWalker::Next(std::string_view& line) {
  if (rest_.empty()) return false;
  const char* const start = rest_.data();
  const char* const end = start + rest_.size();
  const char* stop = start;
  // Printable bytes lie above CR, so most bytes take one comparison.
  while (stop != end &&
         (static_cast<unsigned char>(*stop) > '\r' || (*stop != '\r' && *stop != '\n'))) {
    ++stop;
  }
  line = std::string_view(start, static_cast<std::size_t>(stop - start));
  if (stop != end && *stop == '\r' && stop + 1 != end && stop[1] == '\n') ++stop;
  rest_ = stop == end ? std::string_view()
                      : std::string_view(stop + 1, static_cast<std::size_t>(end - stop - 1));
  return true;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  LineWalker walker(text);
  std::string_view line;
  while (walker.Next(line)) lines.push_back(line);
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
