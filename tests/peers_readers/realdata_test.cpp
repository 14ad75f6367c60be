// Real discs' files, read in place, against what independent tools read from them
// (EXPECTED.md beside the files): libbluray's chapter starts for Blu-ray playlists, libmediainfo's
// chapter names for DVD title sets, the titleTimeBegin values of the HD DVD playlist, and the
// chapter lines that mkvextract and dvdxchap wrote into the OGM texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/timestamp.h"
#include "readers/bluray_reader.h"
#include "readers/dvd_reader.h"
#include "readers/hddvd_reader.h"
#include "readers/ogg_reader.h"
#include "readers/source_file.h"

namespace markwright {
namespace {

namespace fs = std::filesystem;

// One section of EXPECTED.md: its lines without the heading, fences included.
using Sections = std::map<std::string, std::vector<std::string>>;

Sections ReadExpected(const fs::path& file) {
  Sections sections;
  std::vector<std::string>* current = nullptr;
  const std::string text = ReadSourceFile(file);
  for (const std::string_view line : SplitLines(text)) {
    if (line.starts_with("## ")) {
      current = &sections[std::string(line.substr(3))];
    } else if (current != nullptr) {
      current->emplace_back(line);
    }
  }
  return sections;
}

// The lines between the first pair of ``` fences.
std::vector<std::string> Fenced(const std::vector<std::string>& lines) {
  std::vector<std::string> inside;
  bool open = false;
  for (const std::string& line : lines) {
    if (line.starts_with("```")) {
      if (open) break;
      open = true;
    } else if (open) {
      inside.push_back(line);
    }
  }
  return inside;
}

// HH:MM:SS.nnnnnnnnn rounded to the nearest millisecond.
std::string RoundedToMilliseconds(const std::string& time) {
  const auto dot = time.find('.');
  const std::int64_t whole =
      static_cast<std::int64_t>(TimestampMilliseconds(time.substr(0, dot) + ".0"));
  const std::int64_t nanoseconds = std::stoll(time.substr(dot + 1));
  return FormatTimestamp(whole + (nanoseconds + 500'000) / 1'000'000);
}

// HH:MM:SS:FF of 60 frames a second, as the reader gives it: stretched by 1.001.
std::string HdDvdTime(const std::string& timecode) {
  const std::int64_t milliseconds =
      std::stoll(timecode.substr(0, 2)) * 3'600'000 + std::stoll(timecode.substr(3, 2)) * 60'000 +
      std::stoll(timecode.substr(6, 2)) * 1000 + std::stoll(timecode.substr(9, 2)) * 1000 / 60;
  return RetimeTimestamp(FormatTimestamp(milliseconds), 24, 24 / 1.001);
}

void CheckBluRay(const fs::path& file, const std::vector<std::string>& expected_lines) {
  ChapterList expected;
  for (const std::string& time : Fenced(expected_lines))
    expected.push_back(RoundedToMilliseconds(time));
  EXPECT_EQ(ReadBluRayPlaylist(file), expected);
  EXPECT_EQ(CountBluRayChapters(file), static_cast<std::int32_t>(expected.size()));
  // libbluray counts entry marks only, we count the first mark whatever its type: the two agree
  // because every real playlist here starts with an entry mark.
  const BluRayPlaylist playlist = DecodeBluRayPlaylist(ReadSourceFile(file), file.string());
  ASSERT_FALSE(playlist.marks.empty());
  EXPECT_EQ(playlist.marks.front().type, 1);
}

void CheckDvd(const fs::path& file, const std::vector<std::string>& expected_lines) {
  const std::vector<std::string> names = Fenced(expected_lines);
  if (names.empty()) {
    EXPECT_THROW(
        {
          try {
            ReadDvdTitleSet(file);
          } catch (const ReadError& error) {
            EXPECT_NE(std::string(error.what()).find("no chapters found"), std::string::npos);
            throw;
          }
        },
        ReadError);
    return;
  }
  EXPECT_EQ(ReadDvdTitleSet(file), ChapterList(names.begin(), names.end()));
  EXPECT_EQ(CountDvdChapters(file), static_cast<std::int32_t>(names.size()));
}

// "- title 2: 16 chapters: 00:00:00:00 00:04:42:00 ..."
void CheckHdDvd(const fs::path& file, const std::vector<std::string>& expected_lines) {
  std::vector<ChapterList> titles;
  for (const std::string& line : expected_lines) {
    if (!line.starts_with("- title ")) continue;
    ChapterList chapters;
    for (std::size_t colon = line.find(": ", line.find(": ") + 2) + 2; colon < line.size();
         colon += 12) {
      chapters.push_back(HdDvdTime(line.substr(colon, 11)));
    }
    titles.push_back(chapters);
  }
  ASSERT_FALSE(titles.empty());
  ASSERT_EQ(CountHdDvdTitles(file), static_cast<std::int32_t>(titles.size()));
  std::size_t most = 0;
  for (std::size_t i = 0; i < titles.size(); ++i) {
    const auto title = static_cast<std::int32_t>(i + 1);
    EXPECT_EQ(CountHdDvdChapters(file, title), static_cast<std::int32_t>(titles[i].size()));
    EXPECT_EQ(ReadHdDvdPlaylist(file, title), titles[i]);
    if (titles[i].size() > titles[most].size()) most = i;
  }
  EXPECT_EQ(ChooseHdDvdTitle(file), static_cast<std::int32_t>(most + 1));
}

// The CHAPTERnn= lines of the text, as the tools wrote them.
void CheckOgm(const fs::path& file) {
  ChapterList expected;
  const std::string text = ReadSourceFile(file);
  for (const std::string_view line : SplitLines(text)) {
    const auto equals = line.find('=');
    if (line.starts_with("CHAPTER") && !line.substr(0, equals).ends_with("NAME")) {
      expected.emplace_back(line.substr(equals + 1));
    }
  }
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(ReadOggChapters(file), expected);
}

TEST(RealData, EveryFileReadsAsIndependentToolsReadIt) {
  const fs::path folder = MARKWRIGHT_REALDATA_DIR;
  if (!fs::is_directory(folder)) GTEST_SKIP() << "no real-world files at " << folder;
  const Sections expected = ReadExpected(folder / "EXPECTED.md");
  std::map<std::string, int> checked;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.path().parent_path() == folder) continue;
    const std::string kind = entry.path().parent_path().filename().string();
    const std::string name = kind + "/" + entry.path().filename().string();
    SCOPED_TRACE(name);
    if (kind == "ogm") {
      CheckOgm(entry.path());
    } else {
      const auto section = expected.find(name);
      if (section == expected.end()) {
        ADD_FAILURE() << "EXPECTED.md says nothing about " << name;
        continue;
      }
      if (kind == "mpls")
        CheckBluRay(entry.path(), section->second);
      else if (kind == "ifo")
        CheckDvd(entry.path(), section->second);
      else if (kind == "xpl")
        CheckHdDvd(entry.path(), section->second);
      else
        ADD_FAILURE() << "a kind of file this test does not know";
    }
    ++checked[kind];
  }
  for (const char* kind : {"mpls", "ifo", "xpl", "ogm"}) {
    EXPECT_GT(checked[kind], 0) << "no " << kind << " file was checked";
  }
}

}  // namespace
}  // namespace markwright
