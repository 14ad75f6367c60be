#include "readers/video_module.h"

#include <dlfcn.h>

#include <exception>
#include <string_view>

#include "core/error.h"

#ifndef MARKWRIGHT_VIDEO_MODULE_DIR
#define MARKWRIGHT_VIDEO_MODULE_DIR "../lib/markwright"
#endif

namespace markwright {
namespace {

struct VideoModule {
  VideoFramesEntry frames = nullptr;
  VideoThumbnailsEntry thumbnails = nullptr;
  std::string problem;  // why the module is not there, when it is not
};

// Loaded once and kept until the process (a child that reads one file) ends.
const VideoModule& LoadedModule() {
  static const VideoModule module = [] {
    VideoModule loaded;
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path folder = executable.parent_path();
    const std::filesystem::path candidates[] = {
        folder / kVideoModuleFileName,
        folder / MARKWRIGHT_VIDEO_MODULE_DIR / kVideoModuleFileName,
    };
    loaded.problem = "cannot find " + std::string(kVideoModuleFileName) + " in " + folder.string() +
                     " or " + candidates[1].parent_path().string();
    for (const auto& candidate : candidates) {
      if (!std::filesystem::exists(candidate, error)) continue;
      void* handle = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
      if (handle == nullptr) {
        const char* cause = ::dlerror();  // libavformat itself is missing, most likely
        loaded.problem = cause != nullptr ? cause : "cannot load " + candidate.string();
        break;
      }
      loaded.frames = reinterpret_cast<VideoFramesEntry>(::dlsym(handle, kVideoFramesEntryName));
      loaded.thumbnails =
          reinterpret_cast<VideoThumbnailsEntry>(::dlsym(handle, kVideoThumbnailsEntryName));
      if (loaded.frames == nullptr || loaded.thumbnails == nullptr) {
        loaded.problem = candidate.string() + " is not a Markwright video module";
      }
      break;
    }
    return loaded;
  }();
  if (module.frames == nullptr || module.thumbnails == nullptr) {
    throw Error("the video cannot be read: " + module.problem);
  }
  return module;
}

// What the module's callbacks fill in. A callback must not throw through the module's C
// frames: an exception of the caller's is kept and thrown again once the module has returned.
struct Collected {
  std::string text;
  std::string failure;
  const std::function<void(const VideoThumbnail&)>* thumbnail = nullptr;
  std::exception_ptr thrown;
};

void CollectText(void* context, const char* bytes, std::size_t size) {
  static_cast<Collected*>(context)->text.assign(bytes, size);
}
void CollectFailure(void* context, const char* bytes, std::size_t size) {
  static_cast<Collected*>(context)->failure.assign(bytes, size);
}
void PassThumbnail(void* context, const VideoThumbnail* thumbnail) {
  auto* collected = static_cast<Collected*>(context);
  if (collected->thrown) return;
  try {
    (*collected->thumbnail)(*thumbnail);
  } catch (...) {
    collected->thrown = std::current_exception();
  }
}

const VideoModule& Module(const std::filesystem::path& path) {
  try {
    return LoadedModule();
  } catch (const Error& failure) {
    throw ReadError(path.string(), "", failure.what());
  }
}

}  // namespace

std::string ReadVideoFrameListWithModule(const std::filesystem::path& path) {
  const VideoModule& module = Module(path);
  Collected collected;
  if (module.frames(path.c_str(), CollectText, CollectFailure, &collected) != 0) {
    throw ReadError(path.string(), "", collected.failure);
  }
  return std::move(collected.text);
}

void ReadThumbnailsWithModule(const std::filesystem::path& path,
                              const std::vector<std::int64_t>& times, int width,
                              const std::function<void(const VideoThumbnail&)>& thumbnail) {
  const VideoModule& module = Module(path);
  Collected collected;
  collected.thumbnail = &thumbnail;
  const int result = module.thumbnails(path.c_str(), times.data(), times.size(), width,
                                       PassThumbnail, CollectFailure, &collected);
  if (collected.thrown) std::rethrow_exception(collected.thrown);
  if (result != 0) throw ReadError(path.string(), "", collected.failure);
}

}  // namespace markwright
