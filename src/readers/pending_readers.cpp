// Stand-ins for the readers that are still being written: they fail plainly instead of
// pretending to read.
#include "core/error.h"
#include "readers/bluray_reader.h"
#include "readers/celltimes_reader.h"
#include "readers/dvd_reader.h"
#include "readers/hddvd_reader.h"

namespace markwright {
namespace {

[[noreturn]] void NotYet(const std::filesystem::path& path, std::string_view kind) {
  throw ReadError(path.string(), "", std::string(kind) + " are not implemented yet");
}

}  // namespace

ChapterList ParseCelltimes(std::string_view, std::string_view source_name, double) {
  throw ReadError(source_name, "", "Celltimes lists are not implemented yet");
}
ChapterList ReadCelltimes(const std::filesystem::path& path, double) {
  NotYet(path, "Celltimes lists");
}
ChapterList ParseBluRayPlaylist(std::string_view, std::string_view source_name) {
  throw ReadError(source_name, "", "Blu-ray playlists are not implemented yet");
}
ChapterList ReadBluRayPlaylist(const std::filesystem::path& path) {
  NotYet(path, "Blu-ray playlists");
}
std::int32_t CountBluRayChapters(const std::filesystem::path& path) {
  NotYet(path, "Blu-ray playlists");
}
std::int32_t CountHdDvdTitles(const std::filesystem::path& path) {
  NotYet(path, "HD DVD playlists");
}
std::int32_t CountHdDvdChapters(const std::filesystem::path& path, std::int32_t) {
  NotYet(path, "HD DVD playlists");
}
ChapterList ReadHdDvdPlaylist(const std::filesystem::path& path, std::int32_t) {
  NotYet(path, "HD DVD playlists");
}
std::int32_t ChooseHdDvdTitle(const std::filesystem::path& path) {
  NotYet(path, "HD DVD playlists");
}
std::int32_t CountDvdChapters(const std::filesystem::path& path) {
  NotYet(path, "DVD title sets");
}
ChapterList ReadDvdTitleSet(const std::filesystem::path& path) { NotYet(path, "DVD title sets"); }

}  // namespace markwright
