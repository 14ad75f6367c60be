#include "writers/text_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/error.h"

namespace markwright {
namespace {

[[noreturn]] void Fail(const std::filesystem::path& path, std::string_view cause, int error) {
  throw WriteError("cannot write " + path.string() + ": " + std::string(cause) + ": " +
                   std::strerror(error));
}

// The temporary file being written, kept where a signal handler can reach it: its name lives in
// a static buffer and is armed only while the file exists and is not yet renamed. The signals
// that remove it are blocked while the name changes, so the handler never sees a half-made one.
char temporary_name[PATH_MAX + 32];
volatile sig_atomic_t temporary_armed = 0;
constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

void RemoveTemporaryAndDie(int signal_number) {
  if (temporary_armed == 1) ::unlink(temporary_name);
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

// Blocks the interrupts for its lifetime.
class InterruptsBlocked {
 public:
  InterruptsBlocked() {
    sigset_t blocked;
    sigemptyset(&blocked);
    for (const int interrupt : kInterrupts) sigaddset(&blocked, interrupt);
    ::pthread_sigmask(SIG_BLOCK, &blocked, &previous_);
  }
  InterruptsBlocked(const InterruptsBlocked&) = delete;
  InterruptsBlocked& operator=(const InterruptsBlocked&) = delete;
  ~InterruptsBlocked() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

 private:
  sigset_t previous_{};
};

// The mode a new file gets: 0666 under the umask, like any file the user creates.
mode_t NewFileMode() {
  static const mode_t mask = [] {
    const mode_t current = ::umask(0);
    ::umask(current);
    return current;
  }();
  return 0666 & ~mask;
}

// A short name of its own in the target's folder, so a target name of any length the file system
// takes can be written. Closes the descriptor and removes the file unless the rename claimed it.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::filesystem::path& target) {
    const std::string name = (target.parent_path() / ".markwright-XXXXXX").string();
    if (name.size() >= sizeof temporary_name) Fail(target, "the path is too long", ENAMETOOLONG);
    const InterruptsBlocked blocked;
    std::memcpy(temporary_name, name.c_str(), name.size() + 1);
    descriptor_ = ::mkostemp(temporary_name, O_CLOEXEC);
    if (descriptor_ < 0) Fail(target, "cannot create a file in its folder", errno);
    temporary_armed = 1;
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
    const InterruptsBlocked blocked;
    if (temporary_armed != 0) ::unlink(temporary_name);
    temporary_armed = 0;
  }

  int descriptor() const { return descriptor_; }
  std::filesystem::path path() const { return temporary_name; }
  int Close() {
    const int result = ::close(descriptor_);
    descriptor_ = -1;
    return result;
  }
  // Renames the file over the target; it is the target's from then on.
  int RenameTo(const std::filesystem::path& target) {
    const InterruptsBlocked blocked;
    const int result = ::rename(temporary_name, target.c_str());
    if (result == 0) temporary_armed = 0;
    return result;
  }

 private:
  int descriptor_ = -1;
};

void WriteAll(int descriptor, std::string_view text, const std::filesystem::path& shown_path) {
  while (!text.empty()) {
    const ssize_t written = ::write(descriptor, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail(shown_path, "writing failed", errno);
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
}

// Opens an existing target that is not a regular file (a device, a pipe, a named socket) for
// writing as it is. A socket cannot be opened: it is connected to.
int OpenInPlace(const std::filesystem::path& path, bool is_socket) {
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (descriptor >= 0 || errno != ENXIO || !is_socket) return descriptor;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.string().size() >= sizeof address.sun_path) return -1;
  std::strcpy(address.sun_path, path.c_str());
  const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
    return socket;
  }
  const int error = errno;
  ::close(socket);
  errno = error;
  return -1;
}

// Whether the folder is the process's own table of descriptors: /proc/self/fd, /dev/fd and
// /proc/thread-self/fd all lead to /proc/<pid>/fd or /proc/<pid>/task/<tid>/fd.
bool IsOwnDescriptorFolder(const std::filesystem::path& folder) {
  char resolved[PATH_MAX];
  if (::realpath(folder.empty() ? "." : folder.c_str(), resolved) == nullptr) return false;
  const std::string own = "/proc/" + std::to_string(::getpid());
  std::string_view rest(resolved);
  if (!rest.starts_with(own)) return false;
  rest.remove_prefix(own.size());
  if (rest == "/fd") return true;
  if (!rest.starts_with("/task/") || !rest.ends_with("/fd")) return false;
  rest = rest.substr(6, rest.size() - 9);
  return !rest.empty() && rest.find_first_not_of("0123456789") == std::string_view::npos;
}

// The process's descriptor that the path names (/dev/stdout, /dev/stderr, /dev/fd/N,
// /proc/self/fd/N, or a link leading to one of them), or -1. Such a path must not be followed
// to the file behind it: that file's earlier content and the descriptor's offset belong to
// whoever opened it (a shell's ">>" or a group's redirection).
int OwnDescriptorNamed(const std::filesystem::path& requested_path) {
  std::filesystem::path path = requested_path;
  for (int hop = 0; hop < 40; ++hop) {
    const std::string name = path.filename().string();
    int number = -1;
    const char* const end = name.data() + name.size();
    const auto [stop, error] = std::from_chars(name.data(), end, number);
    if (error == std::errc() && stop == end && !name.empty() &&
        IsOwnDescriptorFolder(path.parent_path())) {
      return number;
    }
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return -1;
    std::error_code link_error;
    const std::filesystem::path target = std::filesystem::read_symlink(path, link_error);
    if (link_error) return -1;
    path = path.parent_path() / target;
  }
  return -1;
}

// The file that a chain of links ends at, which need not exist (a dangling link names the file it
// creates); a loop of links fails.
std::filesystem::path FollowLinks(const std::filesystem::path& requested_path) {
  std::filesystem::path path = requested_path;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(path, error);
    if (error) Fail(requested_path, "cannot follow the link", error.value());
    path = path.parent_path() / target;  // an absolute target replaces the whole path
  }
  Fail(requested_path, "cannot follow the link", ELOOP);
}

}  // namespace

void RemoveTemporaryFileOnInterrupt() {
  struct sigaction action {};
  action.sa_handler = RemoveTemporaryAndDie;
  sigemptyset(&action.sa_mask);
  for (const int interrupt : kInterrupts) ::sigaction(interrupt, &action, nullptr);
  // A write beyond the file size limit then fails with EFBIG and a message, not a silent kill.
  ::signal(SIGXFSZ, SIG_IGN);
}

void WriteTextFile(const std::filesystem::path& requested_path, std::string_view text) {
  if (const int descriptor = OwnDescriptorNamed(requested_path); descriptor >= 0) {
    // Written where the descriptor stands, after whatever this process printed to it before.
    std::fflush(nullptr);
    WriteAll(descriptor, text, requested_path);
    return;
  }
  struct stat existing {};
  if (::stat(requested_path.c_str(), &existing) != 0) {
    if (errno == ELOOP) Fail(requested_path, "cannot follow the link", ELOOP);
  } else if (S_ISDIR(existing.st_mode)) {
    throw WriteError("cannot write " + requested_path.string() + ": it is a folder");
  } else if (!S_ISREG(existing.st_mode)) {
    const int descriptor = OpenInPlace(requested_path, S_ISSOCK(existing.st_mode));
    if (descriptor < 0) Fail(requested_path, "cannot open", errno);
    struct Closer {
      int descriptor;
      ~Closer() { ::close(descriptor); }
    } const closer{descriptor};
    WriteAll(descriptor, text, requested_path);
    return;
  }
  // Replace what a link points to, not the link itself.
  const std::filesystem::path path = FollowLinks(requested_path);
  const bool exists = ::stat(path.c_str(), &existing) == 0;
  // The rename below would get past a file's own write protection; honour it instead.
  if (exists && ::access(path.c_str(), W_OK) != 0) {
    Fail(requested_path, "the file is protected", errno);
  }

  TemporaryFile temporary(path);
  ::fchmod(temporary.descriptor(), exists ? existing.st_mode & 07777 : NewFileMode());
  WriteAll(temporary.descriptor(), text, requested_path);
  // No fsync: it would more than double the time of a small conversion (the wait for the disk
  // and, after it, a journal commit on the rename), and a program that copies a file does not
  // wait for the disk either. Errors the system reports late still surface at close.
  if (temporary.Close() != 0) Fail(requested_path, "writing failed", errno);
  if (temporary.RenameTo(path) != 0) Fail(requested_path, "cannot replace the file", errno);
}

void EditFileThroughCopy(const std::filesystem::path& requested_path,
                         const std::function<void(const std::filesystem::path& copy)>& edit) {
  const std::filesystem::path path = FollowLinks(requested_path);
  struct stat existing {};
  if (::stat(path.c_str(), &existing) != 0) Fail(requested_path, "cannot open", errno);
  if (!S_ISREG(existing.st_mode)) {
    throw WriteError("cannot write " + requested_path.string() + ": it is not a regular file");
  }
  if (::access(path.c_str(), W_OK) != 0) Fail(requested_path, "the file is protected", errno);
  const int original = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (original < 0) Fail(requested_path, "cannot open", errno);
  struct Closer {
    int descriptor;
    ~Closer() { ::close(descriptor); }
  } const closer{original};

  TemporaryFile temporary(path);
  ::fchmod(temporary.descriptor(), existing.st_mode & 07777);
  std::string buffer(std::size_t{1} << 20, '\0');
  for (;;) {
    const ssize_t count = ::read(original, buffer.data(), buffer.size());
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) Fail(requested_path, "reading failed", errno);
    if (count == 0) break;
    WriteAll(temporary.descriptor(),
             std::string_view(buffer.data(), static_cast<std::size_t>(count)), requested_path);
  }
  if (temporary.Close() != 0) Fail(requested_path, "writing failed", errno);
  edit(temporary.path());
  if (temporary.RenameTo(path) != 0) Fail(requested_path, "cannot replace the file", errno);
}

}  // namespace markwright
