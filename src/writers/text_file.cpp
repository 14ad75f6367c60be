#include "writers/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string>

#include "core/error.h"

namespace markwright {
namespace {

[[noreturn]] void Fail(const std::filesystem::path& path, std::string_view cause, int error) {
  throw WriteError("cannot write " + path.string() + ": " + std::string(cause) + ": " +
                   std::strerror(error));
}

// Closes the descriptor and removes the temporary file unless the rename has claimed it.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::filesystem::path& target) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100 && descriptor_ < 0; ++attempt) {
      path_ = target;
      path_ += ".tmp-" + std::to_string(random() % 1000000000);
      // 0666 under the umask, like any file the user creates.
      descriptor_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (descriptor_ < 0 && errno != EEXIST) break;
    }
    if (descriptor_ < 0) Fail(target, "cannot create a file in its folder", errno);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
    if (!claimed_) ::unlink(path_.c_str());
  }

  int descriptor() const { return descriptor_; }
  const std::filesystem::path& path() const { return path_; }
  int Close() {
    const int result = ::close(descriptor_);
    descriptor_ = -1;
    return result;
  }
  void Claim() { claimed_ = true; }

 private:
  std::filesystem::path path_;
  int descriptor_ = -1;
  bool claimed_ = false;
};

}  // namespace

void WriteTextFile(const std::filesystem::path& requested_path, std::string_view text) {
  // Replace what a link points to, not the link itself.
  std::error_code error;
  std::filesystem::path path = requested_path;
  if (std::filesystem::is_symlink(path, error)) {
    path = std::filesystem::weakly_canonical(path, error);
    if (error) path = requested_path;
  }
  struct stat existing {};
  const bool exists = ::stat(path.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) {
    throw WriteError("cannot write " + requested_path.string() + ": it is a folder");
  }
  // The rename below would get past a file's own write protection; honour it instead.
  if (exists && ::access(path.c_str(), W_OK) != 0) {
    Fail(requested_path, "the file is protected", errno);
  }

  TemporaryFile temporary(path);
  if (exists) ::fchmod(temporary.descriptor(), existing.st_mode & 07777);
  const char* data = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    const ssize_t written = ::write(temporary.descriptor(), data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail(requested_path, "writing failed", errno);
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  // No fsync: it would more than double the time of a small conversion (the wait for the disk
  // and, after it, a journal commit on the rename), and a program that copies a file does not
  // wait for the disk either. Errors the system reports late still surface at close.
  if (temporary.Close() != 0) Fail(requested_path, "writing failed", errno);
  if (::rename(temporary.path().c_str(), path.c_str()) != 0) {
    Fail(requested_path, "cannot replace the file", errno);
  }
  temporary.Claim();
}

}  // namespace markwright
