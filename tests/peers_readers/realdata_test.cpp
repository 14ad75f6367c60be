// Real discs' files, read in place, against what independent tools read from them (EXPECTED.md
// beside the files): libbluray's chapter starts for Blu-ray playlists, libmediainfo's chapter
// names for DVD title sets, and the chapter lines that mkvextract and dvdxchap wrote into the OGM
// texts. The HD DVD playlist's times are written out here, stretched by 1.001 by hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "core/timestamp.h"
#include "readers/bluray_reader.h"
#include "readers/dvd_reader.h"
#include "readers/hddvd_reader.h"
#include "readers/ogg_reader.h"
#include "readers/source_file.h"
#include "support/expect_throw_message.h"

namespace markwright {
namespace {

namespace fs = std::filesystem;

// Each "## kind/name" section of EXPECTED.md: the lines between its first pair of ``` fences.
std::map<std::string, ChapterList> ReadExpected(const fs::path& file) {
  std::map<std::string, ChapterList> sections;
  ChapterList* current = nullptr;
  int fences = 0;
  const std::string text = ReadSourceFile(file);
  for (const std::string_view line : SplitLines(text)) {
    if (line.starts_with("## ")) {
      current = &sections[std::string(line.substr(3))];
      fences = 0;
    } else if (line.starts_with("```")) {
      ++fences;
    } else if (current != nullptr && fences == 1) {
      current->emplace_back(line);
    }
  }
  return sections;
}

// HH:MM:SS.nnnnnnnnn rounded to the nearest millisecond.
std::string RoundedToMilliseconds(const std::string& time) {
  const auto whole = static_cast<std::int64_t>(TimestampMilliseconds(time.substr(0, 8) + ".0"));
  return FormatTimestamp(whole + (std::stoll(time.substr(9)) + 500'000) / 1'000'000);
}

void CheckBluRay(const fs::path& file, const ChapterList& libbluray) {
  ChapterList expected;
  for (const std::string& time : libbluray) expected.push_back(RoundedToMilliseconds(time));
  EXPECT_EQ(ReadBluRayPlaylist(file), expected);
  // libbluray counts entry marks only, we the first mark whatever its type: the two agree because
  // every playlist here starts with an entry mark.
  EXPECT_EQ(DecodeBluRayPlaylist(ReadSourceFile(file), "").marks.at(0).type, 1);
}

void CheckDvd(const fs::path& file, const ChapterList& names) {
  if (names.empty()) {
    testing::ExpectThrowMessage<ReadError>([&] { ReadDvdTitleSet(file); }, "no chapters found");
  } else {
    EXPECT_EQ(ReadDvdTitleSet(file), names);
    EXPECT_EQ(CountDvdChapters(file), static_cast<std::int32_t>(names.size()));
  }
}

void CheckHdDvd(const fs::path& file) {
  const HdDvdPlaylist playlist = ReadHdDvdPlaylist(file);
  const ChapterList one = {"00:00:00.000"};
  ASSERT_EQ(playlist.titles.size(), 4u);
  for (const std::int32_t title : {1, 3, 4}) {
    EXPECT_EQ(HdDvdTitleChapters(playlist, title, ""), one);
  }
  EXPECT_EQ(ChooseHdDvdTitle(playlist), 2);
  EXPECT_EQ(HdDvdTitleChapters(playlist, 2, ""),
            (ChapterList{"00:00:00.000", "00:04:42.282", "00:09:17.557", "00:12:55.775",
                         "00:16:36.996", "00:20:00.199", "00:21:43.302", "00:24:34.473",
                         "00:28:26.705", "00:32:20.939", "00:37:45.263", "00:40:58.456",
                         "00:43:07.585", "00:47:37.855", "00:50:31.028", "00:53:49.226"}));
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
  const auto expected = ReadExpected(folder / "EXPECTED.md");
  std::map<std::string, int> checked;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.path().parent_path() == folder) continue;
    const std::string kind = entry.path().parent_path().filename().string();
    const std::string name = kind + "/" + entry.path().filename().string();
    SCOPED_TRACE(name);
    ++checked[kind];
    if (kind == "ogm") {
      CheckOgm(entry.path());
    } else if (kind == "xpl") {
      CheckHdDvd(entry.path());
    } else if (!expected.contains(name)) {
      ADD_FAILURE() << "EXPECTED.md says nothing about " << name;
    } else if (kind == "mpls") {
      CheckBluRay(entry.path(), expected.at(name));
    } else if (kind == "ifo") {
      CheckDvd(entry.path(), expected.at(name));
    }
  }
  for (const char* kind : {"mpls", "ifo", "xpl", "ogm"}) EXPECT_GT(checked[kind], 0) << kind;
}

}  // namespace
}  // namespace markwright
