#pragma once

#include <filesystem>
#include <string_view>

namespace markwright {

enum class InputKind {
  kUnknown = 0,
  kOggChapters = 1,
  kBluRayPlaylist = 2,
  kHdDvdPlaylist = 3,
  kDvdTitleSet = 4,
  kCelltimes = 5,
};

// The kind of a source from its first four characters (after a UTF-8 byte-order mark): "<?"
// among them means HD DVD; otherwise the first character decides: C OGG, M Blu-ray, < HD DVD,
// D DVD, a digit Celltimes. Letter case is ignored.
InputKind DetectInputKindFromHead(std::string_view head);

// Reads the first characters of the file and classifies them. Throws ReadError when the file
// cannot be opened or holds fewer than four characters.
InputKind DetectInputKind(const std::filesystem::path& path);

}  // namespace markwright
