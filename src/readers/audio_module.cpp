#include "readers/audio_module.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <utility>

#include "core/error.h"

#ifndef MARKWRIGHT_MODULE_DIR
#define MARKWRIGHT_MODULE_DIR "../lib/markwright"
#endif

namespace markwright {
namespace {

struct AudioModule {
  AudioReadEntry read = nullptr;
  AudioWriteEntry write = nullptr;
};

// The module beside the program (a build tree) or in its library folder (installed), loaded
// once and kept for the process's life; a failed load throws and is tried again next time.
const AudioModule& LoadedModule() {
  static AudioModule module;
  if (module.read != nullptr) return module;
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::filesystem::path folder = program.parent_path();
  const std::filesystem::path candidates[] = {
      folder / kAudioModuleFileName,
      folder / MARKWRIGHT_MODULE_DIR / kAudioModuleFileName,
  };
  std::string problem = std::string("cannot find ") + kAudioModuleFileName;
  for (const auto& candidate : candidates) {
    if (!std::filesystem::exists(candidate, error)) continue;
    void* handle = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      const char* reason = ::dlerror();
      problem =
          reason != nullptr ? reason : "it cannot be loaded";  // TagLib is missing, most likely
      break;
    }
    const auto read = reinterpret_cast<AudioReadEntry>(::dlsym(handle, kAudioReadEntryName));
    const auto write = reinterpret_cast<AudioWriteEntry>(::dlsym(handle, kAudioWriteEntryName));
    if (read == nullptr || write == nullptr) {
      problem = candidate.string() + " is not a Markwright audio module";
      break;
    }
    module.write = write;
    module.read = read;
    return module;
  }
  throw Error("the audio module could not be loaded (" + problem + ")");
}

void AddTag(void* context, const MarkwrightAudioTag* tag) {
  auto& tags = *static_cast<std::vector<AudioTag>*>(context);
  tags.push_back({static_cast<AudioTagKind>(tag->kind), std::string(tag->key, tag->key_size),
                  std::string(tag->value, tag->value_size), tag->start_ms, tag->end_ms});
}

bool IsMpegFrameHeader(std::string_view head) {
  if (head.size() < 4) return false;
  const auto byte = [&head](std::size_t at) { return static_cast<unsigned char>(head[at]); };
  // Frame sync, a layer (not the reserved 00), a bit rate index other than 1111 and a sample
  // rate index other than 11.
  return byte(0) == 0xFF && (byte(1) & 0xE0) == 0xE0 && (byte(1) & 0x06) != 0 &&
         (byte(2) & 0xF0) != 0xF0 && (byte(2) & 0x0C) != 0x0C;
}

// TagLib runs in a child process of its own: a crafted file can make it recurse until its stack
// overflows (chapter frames nested in each other), or keep it busy, and that must end with a
// message, not take the program (and a window full of work) down. The child sends its answer
// through a pipe: a status byte, then the message of a failure or the entries.
constexpr char kAnswerDone = 'D';
constexpr char kAnswerFailed = 'F';
constexpr std::chrono::milliseconds kTagLibDeadline{10'000};

std::string Failed(std::string_view cause) {
  return kAnswerFailed + std::string(cause);
}

void PutNumber(std::string& bytes, std::int64_t number) {
  bytes.append(reinterpret_cast<const char*>(&number), sizeof number);
}

void PutText(std::string& bytes, const std::string& text) {
  PutNumber(bytes, static_cast<std::int64_t>(text.size()));
  bytes += text;
}

// Reads a child's answer of entries; a short or garbled one is an Error.
class AnswerReader {
 public:
  AnswerReader(std::string_view answer, const std::filesystem::path& path)
      : rest_(answer.substr(1)), path_(path) {}
  bool Done() const { return rest_.empty(); }
  std::int64_t Number() {
    std::int64_t number = 0;
    if (rest_.size() < sizeof number) Garbled();
    std::memcpy(&number, rest_.data(), sizeof number);
    rest_.remove_prefix(sizeof number);
    return number;
  }
  std::string Text() {
    const std::int64_t size = Number();
    if (size < 0 || static_cast<std::uint64_t>(size) > rest_.size()) Garbled();
    std::string text(rest_.substr(0, static_cast<std::size_t>(size)));
    rest_.remove_prefix(static_cast<std::size_t>(size));
    return text;
  }

 private:
  [[noreturn]] void Garbled() const {
    throw ReadError(path_.string(), "", "TagLib's answer about the file is garbled");
  }
  std::string_view rest_;
  const std::filesystem::path& path_;
};

[[noreturn]] void ChildFailed(const std::string& cause) {
  throw Error("TagLib " + cause);
}

// Runs call (which returns the answer) in a forked child and returns its answer after the status
// byte when it is done; throws Error with the child's message when it failed, and when it
// crashed or did not finish within the deadline.
template <typename Call>
std::string InChild(Call call) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) {
    ChildFailed(std::string("cannot be started: ") + std::strerror(errno));
  }
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) {
    const int error = errno;
    ::close(ends[0]);
    ::close(ends[1]);
    ChildFailed(std::string("cannot be started: ") + std::strerror(error));
  }
  if (child == 0) {
    ::close(ends[0]);
    // What the crash of a child prints is no message for the user; the parent gives one.
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) ::dup2(null, STDERR_FILENO);
    std::string answer;
    try {
      answer = call();
    } catch (...) {
      answer = Failed("failed on the file");
    }
    std::string_view rest = answer;
    while (!rest.empty()) {
      const ssize_t written = ::write(ends[1], rest.data(), rest.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) ::_exit(1);
      rest.remove_prefix(static_cast<std::size_t>(written));
    }
    ::_exit(0);
  }
  ::close(ends[1]);
  std::string answer;
  const auto deadline = std::chrono::steady_clock::now() + kTagLibDeadline;
  bool timed_out = false;
  for (char buffer[65536];;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd ready{ends[0], POLLIN, 0};
    const int polled = left.count() > 0 ? ::poll(&ready, 1, static_cast<int>(left.count())) : 0;
    if (polled < 0 && errno == EINTR) continue;
    if (polled <= 0) {
      timed_out = polled == 0;
      break;
    }
    const ssize_t count = ::read(ends[0], buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    answer.append(buffer, static_cast<std::size_t>(count));
  }
  ::close(ends[0]);
  if (timed_out) ::kill(child, SIGKILL);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (timed_out) ChildFailed("did not finish with the file within 10 seconds (is it damaged?)");
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || answer.empty()) {
    ChildFailed("failed on the file (is it damaged?)");
  }
  if (answer[0] != kAnswerDone) throw Error(answer.substr(1));
  return answer;
}

}  // namespace

int AudioContainerOfHead(std::string_view head) {
  // An ID3v2 tag: "ID3", a major version 2 to 4 and a revision below 0xFF.
  if (head.size() >= 10 && head.starts_with("ID3") && head[3] >= 2 && head[3] <= 4 &&
      head[4] != '\xFF') {
    return kAudioMp3;
  }
  if (IsMpegFrameHeader(head)) return kAudioMp3;
  if (head.starts_with("fLaC")) return kAudioFlac;
  // An Ogg page of 27 bytes and a segment table of one entry or more; the first packet follows.
  if (head.starts_with("OggS") && head.size() > 27) {
    const std::size_t packet = 27 + static_cast<unsigned char>(head[26]);
    if (head.substr(packet).starts_with("\x01vorbis")) return kAudioOggVorbis;
    if (head.substr(packet).starts_with("OpusHead")) return kAudioOpus;
  }
  return 0;
}

std::optional<std::uintmax_t> Id3TagCutAt(const std::filesystem::path& path,
                                          std::string_view head) {
  if (AudioContainerOfHead(head) != kAudioMp3 || !head.starts_with("ID3")) return std::nullopt;
  std::uintmax_t tag_size = 10;  // the header, then its size in four 7-bit bytes
  for (std::size_t i = 6; i < 10; ++i) {
    tag_size += std::uintmax_t{static_cast<unsigned char>(head[i]) & 0x7FU} << (7 * (9 - i));
  }
  std::error_code error;
  const std::uintmax_t file_size = std::filesystem::file_size(path, error);
  if (error || file_size >= tag_size) return std::nullopt;
  return file_size;
}

AudioTags ReadAudioTags(const std::filesystem::path& path, int container) {
  const AudioModule* module = nullptr;
  try {
    module = &LoadedModule();
  } catch (const Error& failure) {
    throw ReadError(path.string(), "", failure.what());
  }
  std::string answer;
  try {
    answer = InChild([&] {
      std::vector<AudioTag> tags;
      std::int64_t length = -1;
      char error[512] = {};
      if (module->read(path.c_str(), container, AddTag, &tags, &length, error, sizeof error) != 0) {
        return Failed(error);
      }
      std::string bytes(1, kAnswerDone);
      PutNumber(bytes, length);
      for (const AudioTag& tag : tags) {
        PutNumber(bytes, tag.kind);
        PutText(bytes, tag.key);
        PutText(bytes, tag.value);
        PutNumber(bytes, tag.start);
        PutNumber(bytes, tag.end);
      }
      return bytes;
    });
  } catch (const Error& failure) {
    throw ReadError(path.string(), "", failure.what());
  }
  AnswerReader reader(answer, path);
  AudioTags result;
  result.length = reader.Number();
  while (!reader.Done()) {
    AudioTag tag;
    tag.kind = static_cast<AudioTagKind>(reader.Number());
    tag.key = reader.Text();
    tag.value = reader.Text();
    tag.start = reader.Number();
    tag.end = reader.Number();
    result.tags.push_back(std::move(tag));
  }
  return result;
}

void WriteAudioTags(const std::filesystem::path& path, int container,
                    const std::vector<AudioTag>& tags) {
  std::vector<MarkwrightAudioTag> entries;
  entries.reserve(tags.size());
  for (const AudioTag& tag : tags) {
    entries.push_back({tag.kind, tag.key.data(), tag.key.size(), tag.value.data(), tag.value.size(),
                       tag.start, tag.end});
  }
  const AudioModule& module = LoadedModule();
  InChild([&] {
    char error[512] = {};
    if (module.write(path.c_str(), container, entries.data(), entries.size(), error,
                     sizeof error) != 0) {
      return Failed(error);
    }
    return std::string(1, kAnswerDone);
  });
}

}  // namespace markwright
