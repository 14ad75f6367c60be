#include "readers/mediainfo_library.h"

#include <dlfcn.h>
#include <langinfo.h>

#include <clocale>
#include <cstdint>
#include <cstring>
#include <cwchar>

#include "core/error.h"
#include "readers/text_encoding.h"

// The library's own header, in its wide-character form (wchar_t, 32 bits on Linux).
#define UNICODE
#include <MediaInfoDLL/MediaInfoDLL.h>

namespace markwright {

struct MediaInfoLibrary::Functions {
  MEDIAINFO_New create = nullptr;
  MEDIAINFO_Option option = nullptr;
  MEDIAINFO_Open open = nullptr;
  MEDIAINFO_Count_Get count = nullptr;
  MEDIAINFO_Get get = nullptr;
  MEDIAINFO_GetI get_by_position = nullptr;
  MEDIAINFO_Close close = nullptr;
  MEDIAINFO_Delete destroy = nullptr;
};

namespace {

[[noreturn]] void CannotLoad(const char* reason) {
  std::string text = "libmediainfo could not be loaded";
  if (reason != nullptr) text += std::string(" (") + reason + ")";
  throw Error(text);
}

template <typename Function>
void LookUp(void* module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(module, name));
  if (function == nullptr) CannotLoad(dlerror());
}

// The library turns a wide path back into bytes through the C library's character locale. In
// the default "C" locale only ASCII survives, so the environment's locale is taken, or UTF-8
// when that is plain ASCII too. Done once, before the first path is converted; only the reading
// child gets here, so the program's own locale stays as it was.
void PrepareCharacterLocale() {
  static const bool prepared = [] {
    if (std::setlocale(LC_CTYPE, "") == nullptr ||
        std::strcmp(nl_langinfo(CODESET), "ANSI_X3.4-1968") == 0) {
      std::setlocale(LC_CTYPE, "C.UTF-8");
    }
    return true;
  }();
  (void)prepared;
}

std::wstring WidePath(const std::filesystem::path& path) {
  PrepareCharacterLocale();
  const std::string bytes = path.string();
  std::mbstate_t state{};
  const char* source = bytes.c_str();
  const std::size_t length = std::mbsrtowcs(nullptr, &source, 0, &state);
  if (length == static_cast<std::size_t>(-1)) {
    throw ReadError(bytes, "", "the path is not valid text in the current locale");
  }
  std::wstring wide(length, L'\0');
  source = bytes.c_str();
  state = std::mbstate_t{};
  std::mbsrtowcs(wide.data(), &source, length + 1, &state);
  return wide;
}

std::string Utf8(const wchar_t* text) {
  std::string bytes;
  if (text == nullptr) return bytes;
  for (; *text != L'\0'; ++text) AppendUtf8(bytes, static_cast<char32_t>(*text));
  return bytes;
}

std::wstring Wide(std::string_view ascii) {
  return std::wstring(ascii.begin(), ascii.end());
}

}  // namespace

const char* const MediaInfoLibrary::kDefaultFileName = MEDIAINFODLL_NAME;

void MediaInfoLibrary::ModuleCloser::operator()(void* module) const {
  dlclose(module);
}

MediaInfoLibrary::MediaInfoLibrary(const char* file_name)
    : functions_(std::make_unique<Functions>()) {
  module_.reset(dlopen(file_name, RTLD_NOW | RTLD_LOCAL));
  if (!module_) CannotLoad(dlerror());
  // The wide-character functions: without the "A" of the narrow ones.
  LookUp(module_.get(), "MediaInfo_New", functions_->create);
  LookUp(module_.get(), "MediaInfo_Option", functions_->option);
  LookUp(module_.get(), "MediaInfo_Open", functions_->open);
  LookUp(module_.get(), "MediaInfo_Count_Get", functions_->count);
  LookUp(module_.get(), "MediaInfo_Get", functions_->get);
  LookUp(module_.get(), "MediaInfo_GetI", functions_->get_by_position);
  LookUp(module_.get(), "MediaInfo_Close", functions_->close);
  LookUp(module_.get(), "MediaInfo_Delete", functions_->destroy);
}

MediaInfoLibrary::~MediaInfoLibrary() = default;

const MediaInfoLibrary& MediaInfoLibrary::Shared() {
  static const MediaInfoLibrary library;
  return library;
}

MediaInfoFile::MediaInfoFile(const MediaInfoLibrary& library, const std::filesystem::path& path,
                             const Options& options)
    : functions_(library.functions()), handle_(nullptr) {
  const std::wstring wide_path = WidePath(path);
  handle_ = functions_.create();
  if (handle_ == nullptr) throw ReadError(path.string(), "", "libmediainfo gave no handle");
  for (const auto& [name, value] : options) {
    functions_.option(handle_, Wide(name).c_str(), Wide(value).c_str());
  }
  // A file the library cannot open shows up as missing parameters, which the reader reports.
  functions_.open(handle_, wide_path.c_str());
}

MediaInfoFile::~MediaInfoFile() {
  functions_.close(handle_);
  functions_.destroy(handle_);
}

std::string MediaInfoFile::Parameter(int stream_kind, std::string_view name,
                                     std::size_t stream) const {
  return Utf8(functions_.get(handle_, static_cast<MediaInfo_stream_C>(stream_kind), stream,
                             Wide(name).c_str(), MediaInfo_Info_Text, MediaInfo_Info_Name));
}

std::string MediaInfoFile::Field(std::size_t menu, std::size_t position, int info_kind) const {
  return Utf8(functions_.get_by_position(handle_, MediaInfo_Stream_Menu, menu, position,
                                         static_cast<MediaInfo_info_C>(info_kind)));
}

std::size_t MediaInfoFile::MenuCount() const {
  return functions_.count(handle_, MediaInfo_Stream_Menu, static_cast<std::size_t>(-1));
}

std::string MediaInfoFile::MenuParameter(std::string_view name, std::size_t menu) const {
  return Parameter(MediaInfo_Stream_Menu, name, menu);
}

std::string MediaInfoFile::MenuFieldName(std::size_t position, std::size_t menu) const {
  return Field(menu, position, MediaInfo_Info_Name);
}

std::string MediaInfoFile::MenuFieldValue(std::size_t position, std::size_t menu) const {
  return Field(menu, position, MediaInfo_Info_Text);
}

std::string MediaInfoFile::VideoParameter(std::string_view name) const {
  return Parameter(MediaInfo_Stream_Video, name);
}

std::string MediaInfoFile::GeneralParameter(std::string_view name) const {
  return Parameter(MediaInfo_Stream_General, name);
}

}  // namespace markwright
