#include "readers/disc_scan.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/chapter_times.h"
#include "support/expect_throw_message.h"
#include "support/playlist_builders.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

namespace fs = std::filesystem;
using testing::ExpectThrowMessage;
using testing::TempDir;
using Names = std::vector<std::string>;

Names Labels(const DiscScan& scan) {
  Names labels;
  for (const DiscStream& stream : scan.streams) labels.push_back(stream.label);
  return labels;
}

TEST(DiscScan, FilesMatchTheMaskInAnyLetterCaseSortedByName) {
  EXPECT_TRUE(MatchesMask("00000.MPLS", "*.mpls"));
  EXPECT_TRUE(MatchesMask("VTS.IFO", "VTS*.ifo"));
  EXPECT_TRUE(MatchesMask("a.b.xpl", "*.xpl"));
  EXPECT_FALSE(MatchesMask("VIDEO_TS.IFO", "VTS*.ifo"));
  EXPECT_FALSE(MatchesMask("00000.mpls.bak", "*.mpls"));
  TempDir disc;
  for (const char* name : {"VTS_02_0.IFO", "vts_01_0.ifo", "VIDEO_TS.IFO", "VTS_01_0.BUP"}) {
    disc.Write(std::string("VIDEO_TS/") + name, "x");
  }
  fs::create_directories(disc / "VIDEO_TS/VTS_03_0.IFO");  // a folder is no title set
  EXPECT_EQ(ListMatchingFiles(disc / "VIDEO_TS", "VTS*.ifo"),
            (Names{"vts_01_0.ifo", "VTS_02_0.IFO"}));
  EXPECT_TRUE(ListMatchingFiles(disc / "missing", "*.mpls").empty());
}

TEST(DiscScan, TheFirstKindFoundDecidesInAnyLetterCase) {
  TempDir both, lower, hd, dvd;
  fs::create_directories(both / "BDMV/PLAYLIST");
  fs::create_directories(both / "VIDEO_TS");
  EXPECT_EQ(FindDiscLayout(both.path())->kind, DiscKind::kBluRay);
  fs::create_directories(lower / "bdmv/playlist");
  EXPECT_EQ(FindDiscLayout(lower.path())->stream_folder, lower / "bdmv/playlist");
  // The BDMV folder itself is not a disc root; kind folders without streams are refused by kind.
  ExpectThrowMessage<Refusal>([&] { ScanDiscFolder(both / "BDMV"); }, kNoDiscMessage);
  hd.Write("Adv_Obj/readme.txt", "x");
  dvd.Write("VIDEO_TS/VIDEO_TS.IFO", "x");
  const std::pair<const TempDir*, const char*> empty_kinds[] = {
      {&both, "Blu-Ray"}, {&hd, "HD DVD"}, {&dvd, "DVD"}};
  for (const auto& [disc, kind] : empty_kinds) {
    ExpectThrowMessage<Refusal>(
        [&] { ScanDiscFolder(disc->path()); },
        std::string("Disc or Folder does not contain valid ") + kind + " data");
  }
}

TEST(DiscScan, PlaylistsAreLabelledAndDamagedOnesLeftOut) {
  TempDir disc;
  disc.Write("BDMV/PLAYLIST/00001.mpls", testing::MplsWithChapters(1));
  disc.Write("BDMV/PLAYLIST/00000.mpls", testing::MplsWithChapters(12));
  disc.Write("BDMV/PLAYLIST/00002.mpls", "MPLS0200");  // cut short
  const DiscScan scan = ScanDiscFolder(disc.path());
  EXPECT_EQ(Labels(scan), (Names{"1  00000.mpls  12 chapters  01:40:00.000",
                                 "2  00001.mpls  1 chapter  01:40:00.000"}));
  EXPECT_EQ(testing::TimesOf(LoadDiscStream(scan, scan.streams[1])),
            testing::Times{"00:00:00.000"});
  // With nothing left to offer, the message says why the first playlist was left out.
  TempDir damaged;
  const fs::path path = damaged.Write("BDMV/PLAYLIST/00000.mpls", "MPLS0200");
  ExpectThrowMessage<Refusal>(
      [&] { ScanDiscFolder(damaged.path()); },
      "Disc or Folder does not contain valid Blu-Ray data\r\n\r\n" + path.string() + ": truncated");
}

TEST(DiscScan, HdDvdOffersEveryTitleOfEveryPlaylist) {
  TempDir disc;
  disc.Write("ADV_OBJ/VPLST000.XPL", testing::XplWithTitles({2, 3}));
  disc.Write("ADV_OBJ/VPLST001.XPL", testing::XplWithTitles({1, 4}));
  disc.Write("ADV_OBJ/VPLST002.XPL", "<ChapterList>");
  const DiscScan scan = ScanDiscFolder(disc.path());
  EXPECT_EQ(Labels(scan),
            (Names{"1  VPLST000.XPL title 1  2 chapters", "2  VPLST000.XPL title 2  3 chapters",
                   "3  VPLST001.XPL title 1  1 chapter", "4  VPLST001.XPL title 2  4 chapters"}));
  // The fourth entry is title 2 of the second playlist.
  EXPECT_EQ(LoadDiscStream(scan, scan.streams[3]).chapters.size(), 4u);
}

TEST(DiscScan, DvdTitleSetsAreCountedAndLoadedThroughLibmediainfo) {
  const DiscScan scan =
      ScanDiscFolder(fs::path(MARKWRIGHT_SOURCE_DIR) / "tests/fixtures/dvd/pal_two_title_sets");
  EXPECT_EQ(Labels(scan), (Names{"1  VTS_01_0.IFO  3 chapters", "2  VTS_02_0.IFO  2 chapters"}));
  EXPECT_EQ(testing::TimesOf(LoadDiscStream(scan, scan.streams[1])),
            (testing::Times{"00:00:00.000", "00:00:19.800"}));
}

}  // namespace
}  // namespace markwright
