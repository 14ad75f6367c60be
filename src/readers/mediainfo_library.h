#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace markwright {

// libmediainfo's plain function interface, loaded at run time (dlopen) so that the program runs
// without the library until a DVD title set or a media file is read. Used in the reading child only
// (see mediainfo_child.h).
class MediaInfoLibrary {
 public:
  // The library's usual file name on this platform (libmediainfo.so.0 on Linux).
  static const char* const kDefaultFileName;

  // Loads the library from the file and looks up its functions. Throws Error "libmediainfo could
  // not be loaded" (with the loader's reason) when either fails.
  explicit MediaInfoLibrary(const char* file_name = kDefaultFileName);
  ~MediaInfoLibrary();
  MediaInfoLibrary(const MediaInfoLibrary&) = delete;
  MediaInfoLibrary& operator=(const MediaInfoLibrary&) = delete;

  // The library under its default name, loaded on first use and kept for the program's life. A
  // failed load throws and is tried again on the next call.
  static const MediaInfoLibrary& Shared();

  struct Functions;
  const Functions& functions() const { return *functions_; }

 private:
  struct ModuleCloser {
    void operator()(void* module) const;
  };
  std::unique_ptr<void, ModuleCloser> module_;
  std::unique_ptr<Functions> functions_;
};

// One file opened by the library. Owns the library's handle: it is closed and deleted when the
// object goes, whatever happened in between. Every text the library returns is copied at once
// (the library reuses one buffer for all of them) and given as UTF-8; a missing text is empty.
class MediaInfoFile {
 public:
  // The library's options (name, value), set before the file is opened.
  using Options = std::vector<std::pair<std::string, std::string>>;

  MediaInfoFile(const MediaInfoLibrary& library, const std::filesystem::path& path,
                const Options& options = {});
  ~MediaInfoFile();
  MediaInfoFile(const MediaInfoFile&) = delete;
  MediaInfoFile& operator=(const MediaInfoFile&) = delete;

  // How many menu streams the file has.
  std::size_t MenuCount() const;
  // A parameter of a menu stream (the first by default), as text.
  std::string MenuParameter(std::string_view name, std::size_t menu = 0) const;
  // The name and the value of a menu stream's field at the position.
  std::string MenuFieldName(std::size_t position, std::size_t menu = 0) const;
  std::string MenuFieldValue(std::size_t position, std::size_t menu = 0) const;
  // A parameter of the first video stream, as text ("Standard", "FrameRate").
  std::string VideoParameter(std::string_view name) const;
  // A parameter of the whole file ("Format", "Duration" in milliseconds).
  std::string GeneralParameter(std::string_view name) const;

 private:
  std::string Parameter(int stream_kind, std::string_view name, std::size_t stream = 0) const;
  std::string Field(std::size_t menu, std::size_t position, int info_kind) const;

  const MediaInfoLibrary::Functions& functions_;
  void* handle_;
};

}  // namespace markwright
