#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/playlist_builders.h"

// Playlists described by their chapter counts alone, for the disc scan tests.
namespace markwright::testing {

// A Blu-ray playlist of one play item with an entry mark every minute.
inline std::string PlaylistWithChapters(int chapters) {
  MplsPlaylist playlist{{{27'000'000, 27'000'000 + 100 * 60 * kTicksPerSecond}}, {}};
  for (int i = 0; i < chapters; ++i) {
    playlist.marks.push_back(
        {0, 27'000'000u + static_cast<std::uint32_t>(i) * 60 * kTicksPerSecond, 1});
  }
  return BuildMpls(playlist);
}

// An HD DVD playlist with one title per count.
inline std::string HdDvdPlaylist(const std::vector<int>& chapters_per_title) {
  std::vector<XplTitle> titles;
  for (const int count : chapters_per_title) titles.push_back(XplTitleOfChapters(count));
  return BuildXpl(titles);
}

}  // namespace markwright::testing
