#include "readers/mediainfo_child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>

#include "core/decimal.h"
#include "core/error.h"
#include "readers/mediainfo_wire.h"

extern char** environ;

namespace markwright {
namespace {

// Set in the child's environment. A program without the hidden mode, started as the child by
// mistake, would otherwise go on to start children of its own, without end.
constexpr const char* kChildMarkerName = "MARKWRIGHT_MEDIAINFO_CHILD";

std::filesystem::path& ChildProgram() {
  static std::filesystem::path program = "/proc/self/exe";
  return program;
}

void WriteAll(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(descriptor, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

// A started child; killed and reaped when it is given up, so that no zombie is left behind.
class Child {
 public:
  explicit Child(pid_t pid) : pid_(pid) {}
  ~Child() {
    if (!reaped_) Kill();
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // Reaps the child if it has ended; true when it has.
  bool TryReap() {
    if (!reaped_ && waitpid(pid_, &status_, WNOHANG) == pid_) reaped_ = true;
    return reaped_;
  }
  void Kill() {
    kill(pid_, SIGKILL);
    while (waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
    }
    reaped_ = true;
  }
  bool EndedWell() const { return WIFEXITED(status_) && WEXITSTATUS(status_) == 0; }

 private:
  pid_t pid_;
  int status_ = 0;
  bool reaped_ = false;
};

class Descriptor {
 public:
  explicit Descriptor(int descriptor = -1) : descriptor_(descriptor) {}
  ~Descriptor() {
    if (descriptor_ >= 0) close(descriptor_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return descriptor_; }
  void Reset(int descriptor) {
    if (descriptor_ >= 0) close(descriptor_);
    descriptor_ = descriptor;
  }
  void Release() { descriptor_ = -1; }

 private:
  int descriptor_;
};

// Starts the child with the pipe's write end as its descriptor 3, the request's input as 0
// (/dev/null when it has none), /dev/null as 1 and 2 (so that it holds none of the caller's files
// open), no other descriptor, default signal handling and no blocked signal.
pid_t Spawn(const std::filesystem::path& program, std::vector<std::string> arguments, int write_end,
            int input) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, write_end, kReplyDescriptor);
  if (input >= 0) {
    posix_spawn_file_actions_adddup2(&actions, input, 0);
  } else {
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  }
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclosefrom_np(&actions, kReplyDescriptor + 1);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t signals;
  sigemptyset(&signals);
  posix_spawnattr_setsigmask(&attributes, &signals);
  sigfillset(&signals);
  posix_spawnattr_setsigdefault(&attributes, &signals);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::string marker = std::string(kChildMarkerName) + "=1";
  std::vector<char*> environment = {marker.data()};
  for (char** variable = environ; *variable != nullptr; ++variable) {
    environment.push_back(*variable);
  }
  environment.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environment.data()) !=
      0) {
    pid = -1;
  }
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// The request's input in a file of memory, read from its start: the child reads it at its own
// pace, and the parent never waits to write it. Past the descriptors the child is given; -1 when
// it cannot be made.
int InputFile(std::string_view bytes) {
  Descriptor file(memfd_create("markwright-request", MFD_CLOEXEC));
  if (file.get() >= 0 && file.get() <= kReplyDescriptor) {
    file.Reset(fcntl(file.get(), F_DUPFD_CLOEXEC, kReplyDescriptor + 1));
  }
  while (file.get() >= 0 && !bytes.empty()) {
    const ssize_t written = write(file.get(), bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) file.Reset(-1);
    if (written > 0) bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  if (file.get() < 0 || lseek(file.get(), 0, SEEK_SET) != 0) return -1;
  const int descriptor = file.get();
  file.Release();
  return descriptor;
}

std::optional<std::string> ReadAll(int descriptor) {
  std::string bytes;
  for (char buffer[65536];;) {
    const ssize_t count = read(descriptor, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return std::nullopt;
    if (count == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
}

}  // namespace

void SetMediaInfoChildProgram(const std::filesystem::path& program) {
  ChildProgram() = program;
}

MediaInfoAnswer AskMediaInfoChild(const MediaInfoRequest& request,
                                  const std::filesystem::path& path,
                                  std::chrono::milliseconds deadline, std::string_view subject,
                                  const ChildPartHandler& on_part) {
  const std::string source_name = path.string();
  if (std::getenv(kChildMarkerName) != nullptr) {
    throw ReadError(source_name, "", "cannot start reading: no process");
  }
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) {
    throw ReadError(source_name, "", "cannot start reading: no pipe");
  }
  Descriptor read_end(ends[0]);
  Descriptor write_end(ends[1]);
  // dup2 onto itself would keep close-on-exec set.
  if (write_end.get() == kReplyDescriptor) {
    write_end.Reset(fcntl(kReplyDescriptor, F_DUPFD_CLOEXEC, kReplyDescriptor + 1));
  }
  const std::vector<std::string> input_texts = RequestInputTexts(request);
  const Descriptor input(input_texts.empty() ? -1 : InputFile(InputBytes(input_texts)));
  const pid_t pid =
      write_end.get() < 0 || (!input_texts.empty() && input.get() < 0)
          ? -1
          : Spawn(ChildProgram(),
                  {"markwright", std::string(kMediaInfoChildArgument), std::to_string(getpid()),
                   JoinRequest(RequestTexts(request)), source_name},
                  write_end.get(), input.get());
  if (pid < 0) throw ReadError(source_name, "", "cannot start reading: no process");
  Child child(pid);
  write_end.Reset(-1);

  // Read while the child writes (an answer can be larger than the pipe holds), until it closes
  // its end and ends, or the deadline passes.
  std::string reply;
  bool closed = false;
  bool overlong = false;
  const auto end_time = std::chrono::steady_clock::now() + deadline;
  const auto left = [&] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(end_time -
                                                                 std::chrono::steady_clock::now());
  };
  while (!closed && !overlong && left().count() > 0) {
    pollfd wanted{read_end.get(), POLLIN, 0};
    if (poll(&wanted, 1, static_cast<int>(left().count())) <= 0) continue;
    char buffer[65536];
    const ssize_t count = read(read_end.get(), buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) {
      closed = true;
    } else {
      reply.append(buffer, static_cast<std::size_t>(count));
      while (on_part) {
        const auto part = LeadingPart(reply);
        if (!part) break;
        reply.erase(0, part->length);
        on_part(part->texts);
      }
      overlong = reply.size() > kReplyHeaderSize + kLargestReplyPayload;
    }
  }
  // The library that read the file, for the messages.
  const std::string_view library = request.audio_container != 0 ? "TagLib"
                                   : request.video_frames       ? "libavformat"
                                                                : "libmediainfo";
  bool ended = false;
  while (closed && !(ended = child.TryReap()) && left().count() > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (!ended) {
    child.Kill();
    if (!overlong) {
      throw ReadError(source_name, "",
                      std::string(library) + " did not finish reading " + std::string(subject) +
                          " within " + std::to_string(deadline.count() / 1000) +
                          " s (is it damaged?)");
    }
  }
  const auto whole = ended && child.EndedWell() ? ParseReply(reply) : std::nullopt;
  if (whole && whole->failed) throw ReadError(source_name, "", whole->cause);
  const auto answer = whole ? AnswerFromTexts(whole->texts, request) : std::nullopt;
  if (!answer) {
    throw ReadError(
        source_name, "",
        std::string(library) + " failed on " + std::string(subject) + " (is it damaged?)");
  }
  return *answer;
}

void SendAnswerPart(const std::vector<std::string>& texts) {
  WriteAll(kReplyDescriptor, PartReply(texts));
}

int RunMediaInfoChild(int argc, char** argv, MediaInfoAnswerer answerer) {
  if (argc != 5) return 2;
  // Die with the parent (whose reading thread waits for this process until it ends); a parent
  // gone before this point has left the child to another one.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  const auto parent = ParseDigits(argv[2]);
  if (!parent || getppid() != static_cast<pid_t>(*parent)) return 3;

  std::string reply;
  try {
    const auto input = ReadAll(0);
    const auto input_texts = input ? InputTexts(*input) : std::nullopt;
    const auto request =
        input_texts ? RequestFromTexts(SplitRequest(argv[3]), *input_texts) : std::nullopt;
    if (!request) return 2;
    reply = AnswerReply(AnswerTexts(answerer(*request, argv[4])));
  } catch (const ReadError& error) {
    reply = FailureReply(error.cause());
  } catch (const std::exception& error) {
    reply = FailureReply(error.what());
  }
  WriteAll(kReplyDescriptor, reply);
  return 0;
}

}  // namespace markwright
