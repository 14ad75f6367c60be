#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace markwright {

// Chapter sources are small; anything larger than this is not one, and reading it whole would
// only waste memory.
inline constexpr std::uintmax_t kMaxSourceFileSize = std::uintmax_t{256} * 1024 * 1024;

// The whole file as bytes. Throws ReadError naming the file and the cause when it cannot be
// opened or read, is a folder, or is larger than kMaxSourceFileSize.
std::string ReadSourceFile(const std::filesystem::path& path);

// The first count bytes of the file, or all of it when it is shorter; fails like ReadSourceFile.
std::string ReadSourceHead(const std::filesystem::path& path, std::size_t count);

// The text after a UTF-8 byte-order mark, or the whole text when it has none.
std::string_view SkipUtf8Bom(std::string_view text);

// Hands out the lines of a text one at a time, so a large text is read without a list of all its
// lines. Each line ends at CR LF, CR or LF (the line end is not part of the line); a last line
// without a line end counts; an empty text has no lines. A byte-order mark is skipped.
class LineWalker {
 public:
  explicit LineWalker(std::string_view text) : rest_(SkipUtf8Bom(text)) {}

  // Sets line to the next line; false when no line is left.
  bool Next(std::string_view& line);

 private:
  std::string_view rest_;
};

// The lines of a file one at a time, cut as LineWalker cuts them, read in pieces so that a large
// file never sits in memory whole. Fails like ReadSourceFile, when opened or while reading.
class SourceLineReader {
 public:
  explicit SourceLineReader(const std::filesystem::path& path);
  SourceLineReader(const SourceLineReader&) = delete;
  SourceLineReader& operator=(const SourceLineReader&) = delete;

  // The size of the file when it was opened; 0 when it tells none.
  std::uintmax_t size() const { return size_; }

  // Sets line to the next line, valid until the next call; false when no line is left.
  bool Next(std::string_view& line);

 private:
  // Keeps the unread bytes and reads more after them; false at the end of the file.
  bool ReadMore();

  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  std::string name_;
  std::unique_ptr<std::FILE, FileCloser> file_;
  std::uintmax_t size_ = 0;
  std::uintmax_t total_read_ = 0;
  std::string buffer_;
  std::size_t begin_ = 0;  // the unread bytes are buffer_[begin_, end_)
  std::size_t end_ = 0;
  bool at_end_ = false;
  bool started_ = false;
};

// The text as a reader's message shows it (QuotedText: quoted, escaped and cut short).
std::string QuotedExcerpt(std::string_view text);

}  // namespace markwright
