#include "readers/disc_scan.h"

#include <algorithm>
#include <cctype>

#include "core/ascii_case.h"
#include "core/error.h"
#include "core/timestamp.h"
#include "readers/bluray_reader.h"
#include "readers/dvd_reader.h"
#include "readers/hddvd_reader.h"

namespace markwright {
namespace {

namespace fs = std::filesystem;

char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
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

// The label of the stream about to be appended; the length when the listing can read it, as
// --list shows it.
void Append(std::vector<DiscStream>& streams, const std::string& name, std::int32_t title,
            std::size_t chapters, const std::optional<std::int64_t>& length) {
  DiscStream stream{{}, name, title};
  stream.label = StreamLine(streams.size() + 1, DiscStreamSource(stream), chapters, length);
  streams.push_back(std::move(stream));
}

void AddStreams(DiscKind kind, const fs::path& path, const std::string& name,
                std::vector<DiscStream>& streams) {
  switch (kind) {
    case DiscKind::kBluRay: {
      const TitleChapters playlist = ReadBluRayPlaylist(path);
      Append(streams, name, 0, playlist.chapters.size(), playlist.length);
      return;
    }
    case DiscKind::kDvd:
      Append(streams, name, 0, static_cast<std::size_t>(CountDvdChapters(path)), std::nullopt);
      return;
    case DiscKind::kHdDvd:
      break;
  }
  // One reading of the playlist labels all of its titles.
  const HdDvdPlaylist playlist = ReadHdDvdPlaylist(path);
  for (std::size_t i = 0; i < playlist.titles.size(); ++i) {
    const auto title = static_cast<std::int32_t>(i + 1);
    std::size_t chapters = playlist.titles[i].chapters.size();
    std::optional<std::int64_t> length;
    try {
      const TitleChapters listed = ListHdDvdTitle(playlist, title, path.string());
      chapters = listed.chapters.size();
      length = listed.length;
    } catch (const Error&) {
      // Offered all the same, as the count alone always offered it; loading it tells why.
    }
    Append(streams, name, title, chapters, length);
  }
}

}  // namespace

std::string StreamLine(std::size_t number, std::string_view source, std::size_t chapters,
                       const std::optional<std::int64_t>& length) {
  std::string line = std::to_string(number) + "  " + std::string(source) + "  " +
                     std::to_string(chapters) + (chapters == 1 ? " chapter" : " chapters");
  if (length) line += "  " + FormatTimestamp(*length);
  return line;
}

std::string DiscStreamSource(const DiscStream& stream) {
  if (stream.title <= 0) return stream.file_name;
  return stream.file_name + " title " + std::to_string(stream.title);
}

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
    if (EqualIgnoringCase(child, name) && (!found || child < found->filename().string())) {
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
