#include "readers/source_file.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
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

// The message for a source over the size limit; size is the file's size, or how much of it was read
// when it tells none.
[[noreturn]] void TooLarge(const std::string& name, std::uintmax_t size, bool at_least) {
  throw ReadError(name, "",
                  "too large for a chapter source: " + std::string(at_least ? "more than " : "") +
                      std::to_string(size) + " bytes, and the limit is " +
                      std::to_string(kMaxSourceFileSize) + " bytes (256 MiB)");
}

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
  if (!head_only && expected > limit) TooLarge(name, expected, false);
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
  if (std::ferror(file.get()) != 0) {
    throw ReadError(name, "", std::string("cannot read: ") + std::strerror(errno));
  }
  if (filled > limit) TooLarge(name, limit, true);
  bytes.resize(filled);
  return bytes;
}

// The first CR or LF from at on, or end.
const char* FindLineEnd(const char* at, const char* end) {
  if constexpr (std::endian::native == std::endian::little) {
    // Eight bytes at a time: a word without a byte below 14 holds neither CR (13) nor LF (10).
    // The lowest flagged byte of (word - 14 x ones) & ~word & highs is the first byte below 14.
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighs = 0x8080808080808080;
    while (end - at >= 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, at, sizeof word);
      const std::uint64_t below_14 = (word - 14 * kOnes) & ~word & kHighs;
      if (below_14 == 0) {
        at += 8;
        continue;
      }
      at += std::countr_zero(below_14) / 8;
      if (*at == '\r' || *at == '\n') return at;
      ++at;  // a tab or another control character
    }
  }
  while (at != end && *at != '\r' && *at != '\n') ++at;
  return at;
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
  const char* stop = FindLineEnd(start, end);
  line = std::string_view(start, static_cast<std::size_t>(stop - start));
  if (stop != end && *stop == '\r' && stop + 1 != end && stop[1] == '\n') ++stop;
  rest_ = stop == end ? std::string_view()
                      : std::string_view(stop + 1, static_cast<std::size_t>(end - stop - 1));
  return true;
}

SourceLineReader::SourceLineReader(const std::filesystem::path& path) : name_(path.string()) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    throw ReadError(name_, "", "is a folder, not a chapter file");
  }
  file_.reset(std::fopen(name_.c_str(), "rb"));
  if (!file_) {
    throw ReadError(name_, "", std::string("cannot open: ") + std::strerror(errno));
  }
  struct stat status {};
  if (::fstat(::fileno(file_.get()), &status) == 0 && S_ISREG(status.st_mode)) {
    size_ = static_cast<std::uintmax_t>(status.st_size);
  }
  if (size_ > kMaxSourceFileSize) TooLarge(name_, size_, false);
  // A piece this size keeps the system calls few and stays in the processor's cache.
  buffer_.resize(size_ == 0 ? 65536 : std::min<std::uintmax_t>(size_ + 1, 1 << 20));
}

bool SourceLineReader::ReadMore() {
  if (at_end_) return false;
  const std::size_t unread = end_ - begin_;
  if (unread == buffer_.size()) {
    buffer_.resize(buffer_.size() * 2);  // a line longer than a piece
  }
  std::memmove(buffer_.data(), buffer_.data() + begin_, unread);
  begin_ = 0;
  end_ = unread;
  const std::size_t count =
      std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_.get());
  if (std::ferror(file_.get()) != 0) {
    throw ReadError(name_, "", std::string("cannot read: ") + std::strerror(errno));
  }
  total_read_ += count;
  if (total_read_ > kMaxSourceFileSize) TooLarge(name_, kMaxSourceFileSize, true);
  end_ += count;
  at_end_ = count == 0;
  return !at_end_;
}

bool SourceLineReader::Next(std::string_view& line) {
  if (!started_) {
    // The whole head must be there to tell a byte-order mark.
    while (end_ < 3 && ReadMore()) {
    }
    const std::string_view head = SkipUtf8Bom(std::string_view(buffer_.data(), end_));
    begin_ = end_ - head.size();
    started_ = true;
  }
  for (;;) {
    const char* const start = buffer_.data() + begin_;
    const char* const end = buffer_.data() + end_;
    const char* const stop = FindLineEnd(start, end);
    // A CR that ends the piece may be the first half of CR LF: wait for the next byte.
    const bool complete = stop != end && (*stop == '\n' || stop + 1 != end || at_end_);
    if (complete || (at_end_ && start != end)) {
      line = std::string_view(start, static_cast<std::size_t>(stop - start));
      std::size_t consumed = line.size();
      if (stop != end) {
        consumed += (*stop == '\r' && stop + 1 != end && stop[1] == '\n') ? 2 : 1;
      }
      begin_ += consumed;
      return true;
    }
    if (at_end_) return false;
    ReadMore();
  }
}

std::string QuotedExcerpt(std::string_view text) {
  return QuotedText(text);
}

}  // namespace markwright
