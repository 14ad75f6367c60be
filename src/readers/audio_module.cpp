#include "readers/audio_module.h"

#include <dlfcn.h>

#include <chrono>
#include <system_error>

#include "core/error.h"
#include "readers/mediainfo_child.h"
#include "readers/mediainfo_request.h"

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
// once and kept for the life of the reading child; a failed load throws and is tried again next
// time.
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

// A crafted file can make TagLib recurse until its stack overflows or keep it busy; the reading
// child that runs it is given up after this.
constexpr std::chrono::milliseconds kTagLibDeadline{10'000};

const AudioModule& Module(const std::filesystem::path& path) {
  try {
    return LoadedModule();
  } catch (const Error& failure) {
    throw ReadError(path.string(), "", failure.what());
  }
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
  MediaInfoRequest request;
  request.audio_container = container;
  return *AskMediaInfoChild(request, path, kTagLibDeadline, "the file").audio;
}

void WriteAudioTags(const std::filesystem::path& path, int container,
                    const std::vector<AudioTag>& tags) {
  MediaInfoRequest request;
  request.audio_container = container;
  request.audio_write = tags;
  try {
    AskMediaInfoChild(request, path, kTagLibDeadline, "the file");
  } catch (const ReadError& failure) {
    throw Error(failure.cause());
  }
}

AudioTags ReadAudioTagsWithModule(const std::filesystem::path& path, int container) {
  const AudioModule& module = Module(path);
  AudioTags result;
  char error[512] = {};
  if (module.read(path.c_str(), container, AddTag, &result.tags, &result.length, error,
                  sizeof error) != 0) {
    throw ReadError(path.string(), "", error);
  }
  return result;
}

void WriteAudioTagsWithModule(const std::filesystem::path& path, int container,
                              const std::vector<AudioTag>& tags) {
  std::vector<MarkwrightAudioTag> entries;
  entries.reserve(tags.size());
  for (const AudioTag& tag : tags) {
    entries.push_back({tag.kind, tag.key.data(), tag.key.size(), tag.value.data(), tag.value.size(),
                       tag.start, tag.end});
  }
  const AudioModule& module = Module(path);
  char error[512] = {};
  if (module.write(path.c_str(), container, entries.data(), entries.size(), error, sizeof error) !=
      0) {
    throw ReadError(path.string(), "", error);
  }
}

}  // namespace markwright
