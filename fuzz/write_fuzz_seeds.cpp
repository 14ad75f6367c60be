// Writes the fuzzers' first inputs, made by the same builders the reader tests use, into the
// folder given: bluray/, hddvd/, celltimes/ and dvd/ (the library's answers as lines: begin,
// end, then field names from position 0).
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/playlist_builders.h"

namespace {

namespace fs = std::filesystem;
using namespace markwright::testing;

void Write(const fs::path& folder, const std::string& name, const std::string& bytes) {
  fs::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary) << bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const fs::path out = argv[1];
  Write(out / "bluray", "one_item.mpls",
        BuildMpls({{{27'000'000, 40'000'000}}, {{0, 27'000'000}, {0, 29'745'045}}}));
  Write(out / "bluray", "link_points.mpls",
        BuildMpls({{{0, 900'000}, {900'000, 9'000'000}},
                   {{0, 0, 2}, {0, 45'000, 1}, {1, 1'000'000, 2}, {1, 2'000'000, 1}}}));
  Write(out / "bluray", "no_marks.mpls", BuildMpls({{{0, 45'000}}, {}}));

  Write(out / "hddvd", "three_titles.xpl",
        BuildXpl({XplTitleOfChapters(5), XplTitleOfChapters(12), {"00:00:00:59", "01:02:03:30"}}));
  Write(out / "hddvd", "empty_title.xpl", BuildXpl({{}, XplTitleOfChapters(1)}));

  Write(out / "celltimes", "crlf.txt", "0\r\n24\r\n36\r\n");
  Write(out / "celltimes", "mixed.txt", "\xEF\xBB\xBF 0\n\r\n12.5\r989");

  Write(out / "dvd", "menu.txt", "2\n5\n00:00:00.000\n00:00:05.400\n00:00:12.000\n");
  Write(out / "dvd", "reversed.txt", "9\n3\n");
  return 0;
}
