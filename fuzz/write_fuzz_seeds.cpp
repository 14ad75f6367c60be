// Writes the fuzzers' first inputs into the folder given, one sub-folder per fuzzer: playlists
// made by the same builders the reader tests use (bluray/, hddvd/), dvd/ (the library's answers
// as lines: begin, end, then field names from position 0), a small text of each text kind, and a
// Matroska file with two editions (matroska_file/).
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/matroska_builder.h"
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

  Write(out / "ogg", "named.txt",
        "\xEF\xBB\xBF"
        "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=Intro\r\n\r\nCHAPTER02=1:05:10.52\r\n"
        "CHAPTER02NAME=\r\nTITLE=Movie\r\n");
  Write(out / "webvtt", "cues.vtt",
        "WEBVTT - chapters\n\nNOTE a note\n\n1\n00:00.000 --> 00:05:10.520 align:start\n"
        "<b>Intro</b> &amp; &#233;\n\n00:05:10.520 --> 01:00:00.000\nTwo\n");
  Write(out / "ffmetadata", "chapters.txt",
        ";FFMETADATA1\ntitle=Movie\n# comment\n[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\n"
        "END=310520\ntitle=Intro\\=one\\\nline\n[CHAPTER]\nTIMEBASE=1/90000\nSTART=27946800\n"
        "END=324000000\ntitle=Two\n");
  Write(out / "matroska_xml", "chapters.xml",
        "<?xml version=\"1.0\"?>\n<!DOCTYPE Chapters SYSTEM \"matroskachapters.dtd\">\n<Chapters>"
        "<EditionEntry><EditionFlagDefault>1</EditionFlagDefault><ChapterAtom>"
        "<ChapterTimeStart>00:00:00.000000000</ChapterTimeStart><ChapterDisplay>"
        "<ChapterString>Intro &amp; more</ChapterString><ChapterLanguage>eng</ChapterLanguage>"
        "</ChapterDisplay></ChapterAtom><ChapterAtom><ChapterTimeStart>310520000000"
        "</ChapterTimeStart><ChapterFlagHidden>1</ChapterFlagHidden><ChapterTimeEnd>01:00:00.0"
        "</ChapterTimeEnd></ChapterAtom></EditionEntry></Chapters>\n");
  const std::string chapters =
      Ebml(kChapters, Ebml(kEditionEntry, ChapterAtom(0, "One", "eng")) +
                          Ebml(kEditionEntry, EbmlUint(kEditionFlagDefault, 1) +
                                                  ChapterAtom(1'000'000'000, "ab:cd", "und") +
                                                  ChapterAtom(2'500'000'000, "Zwei", "ger")));
  const std::string info =
      Ebml(kInfo, EbmlUint(kTimestampScale, 1'000'000) + EbmlFloat(kDuration, 4000));
  Write(out / "matroska_file", "two_editions.mkv", MatroskaBytes("matroska", info + chapters));
  return 0;
}
