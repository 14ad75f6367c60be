#include "readers/disc_scan.h"

#include <algorithm>
#include <cctype>

#include "core/error.h"
#include "readers/bluray_reader.h"
#include "readers/dvd_reader.h"
#include "readers/hddvd_reader.h"

namespace markwright {
namespace {

namespace fs = std::filesystem;

char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return Lower(x) == Lower(y); });
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const auto order = std::lexicographical_compare_three_way(
      a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return Lower(x) <=> Lower(y); });
  return order != 0 ? order < 0 : a < b;
}

struct KindFolder {
  DiscKind kind;
  std::vector<std::string_view> path;  // below the disc folder
  std::string_view mask;
};

// Tested in this order; a folder holding several is taken as the first.
const KindFolder kKindFolders[] = {
    {DiscKind::kBluRay, {"BDMV", "PLAYLIST"}, "*.mpls"},
    {DiscKind::kHdDvd, {"ADV_OBJ"}, "*.xpl"},
    {DiscKind::kDvd, {"VIDEO_TS"}, "VTS*.ifo"},
};

const KindFolder& FolderOf(DiscKind kind) {
  return *std::ranges::find(kKindFolders, kind, &KindFolder::kind);
}

std::string Label(std::string_view file_name, std::int32_t chapters) {
  return std::string(file_name) + ", " + std::to_string(chapters) + " Chapter(s)";
}

void AddStreams(DiscKind kind, const fs::path& path, const std::string& name,
                std::vector<DiscStream>& streams) {
  switch (kind) {
    case DiscKind::kBluRay:
      streams.push_back({Label(name, CountBluRayChapters(path)), name, 0});
      return;
    case DiscKind::kDvd:
      streams.push_back({Label(name, CountDvdChapters(path)), name, 0});
      return;
    case DiscKind::kHdDvd:
      break;
  }
  // One reading of the playlist labels all of its titles.
  const HdDvdPlaylist playlist = ReadHdDvdPlaylist(path);
  std::int32_t title = 0;
  for (const HdDvdTitle& each : playlist.titles) {
    streams.push_back(
        {Label(name, static_cast<std::int32_t>(each.chapters.size())), name, ++title});
  }
}

}  // namespace

std::string_view NoValidStreamsMessage(DiscKind kind) {
  switch (kind) {
    case DiscKind::kBluRay:
      return "Disc or Folder does not contain valid Blu-Ray data";
    case DiscKind::kHdDvd:
      return "Disc or Folder does not contain valid HD DVD data";
    case DiscKind::kDvd:
      break;
  }
  return "Disc or Folder does not contain valid DVD data";
}

std::optional<fs::path> FindChildIgnoringCase(const fs::path& folder, std::string_view name) {
  std::error_code error;
  if (fs::exists(folder / name, error)) return folder / name;
  std::optional<fs::path> found;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string child = entry->path().filename().string();
    if (SameIgnoringCase(child, name) && (!found || child < found->filename().string())) {
      found = entry->path();  // the same pick whatever order the folder lists in
    }
  }
  return found;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  // Classic glob walk: on a mismatch, let the last "*" swallow one more character.
  std::size_t n = 0, m = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      star = m++;
      resume = n;
    } else if (m < mask.size() && Lower(mask[m]) == Lower(name[n])) {
      ++m;
      ++n;
    } else if (star != std::string_view::npos) {
      m = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

std::vector<std::string> ListMatchingFiles(const fs::path& folder, std::string_view mask) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code kind_error;
    if (!entry->is_regular_file(kind_error)) continue;
    std::string name = entry->path().filename().string();
    if (MatchesMask(name, mask)) names.push_back(std::move(name));
  }
  std::ranges::sort(names, LessIgnoringCase);
  return names;
}

std::optional<DiscLayout> FindDiscLayout(const fs::path& folder) {
  for (const KindFolder& candidate : kKindFolders) {
    std::optional<fs::path> found = folder;
    for (const std::string_view part : candidate.path) {
      found = FindChildIgnoringCase(*found, part);
      if (!found) break;
    }
    if (found) return DiscLayout{candidate.kind, *found};
  }
  return std::nullopt;
}

DiscScan ScanDiscFolder(const fs::path& folder) {
  const std::optional<DiscLayout> layout = FindDiscLayout(folder);
  if (!layout) throw Refusal(std::string(kNoDiscMessage));
  DiscScan scan{*layout, {}, {}};
  std::string first_failure;
  for (const std::string& name :
       ListMatchingFiles(layout->stream_folder, FolderOf(layout->kind).mask)) {
    try {
      AddStreams(layout->kind, layout->stream_folder / name, name, scan.streams);
    } catch (const Error& failure) {
      // A playlist or title set that cannot be counted is not offered; the others still are.
      if (first_failure.empty()) first_failure = failure.what();
      scan.left_out.emplace_back(failure.what());
    }
  }
  if (scan.streams.empty()) {
    std::string message(NoValidStreamsMessage(layout->kind));
    if (!first_failure.empty()) message += "\r\n\r\n" + first_failure;
    throw Refusal(message);
  }
  return scan;
}

TitleChapters LoadDiscStream(const DiscScan& scan, const DiscStream& stream) {
  const fs::path path = scan.layout.stream_folder / stream.file_name;
  switch (scan.layout.kind) {
    case DiscKind::kBluRay:
      return ReadBluRayPlaylist(path);
    case DiscKind::kHdDvd:
      return HdDvdTitleChapters(ReadHdDvdPlaylist(path), stream.title, path.string());
    case DiscKind::kDvd:
      break;
  }
  return ReadDvdTitleSet(path);
}

TitleChapters ListHdDvdTitle(const HdDvdPlaylist& playlist, std::int32_t title,
                             std::string_view source_name) {
  const auto index = static_cast<std::size_t>(title) - 1;
  if (title < 1 || index >= playlist.titles.size() || !playlist.titles[index].chapters.empty()) {
    return HdDvdTitleChapters(playlist, title, source_name);
  }
  // The reader refuses a title without chapters; the title alone with one at its start lets it
  // give the length, and goes again. The playlist itself is not copied: it may hold many titles.
  HdDvdPlaylist alone;
  alone.titles.push_back(
      {{{"titleTimeBegin=\"00:00:00:00", 0, {}}}, playlist.titles[index].duration});
  TitleChapters listed = HdDvdTitleChapters(alone, 1, source_name);
  listed.chapters.clear();
  return listed;
}

}  // namespace markwright
