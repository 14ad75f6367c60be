#include "readers/disc_scan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/error.h"
#include "support/temp_dir.h"
#include "ui/disc_builders.h"

namespace markwright {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

using testing::HdDvdPlaylist;
using testing::PlaylistWithChapters;

std::vector<std::string> Labels(const DiscScan& scan) {
  std::vector<std::string> labels;
  for (const DiscStream& stream : scan.streams) labels.push_back(stream.label);
  return labels;
}

std::string RefusalText(const fs::path& folder) {
  try {
    ScanDiscFolder(folder);
  } catch (const Refusal& refusal) {
    return refusal.what();
  }
  return "(no refusal)";
}

TEST(DiscScan, MasksIgnoreLetterCase) {
  EXPECT_TRUE(MatchesMask("00000.mpls", "*.mpls"));
  EXPECT_TRUE(MatchesMask("00000.MPLS", "*.mpls"));
  EXPECT_TRUE(MatchesMask("vts_01_0.ifo", "VTS*.ifo"));
  EXPECT_TRUE(MatchesMask("VTS.IFO", "VTS*.ifo"));
  EXPECT_FALSE(MatchesMask("VIDEO_TS.IFO", "VTS*.ifo"));
  EXPECT_FALSE(MatchesMask("VTS_01_0.BUP", "VTS*.ifo"));
  EXPECT_FALSE(MatchesMask("00000.mpls.bak", "*.mpls"));
  EXPECT_TRUE(MatchesMask("a.b.xpl", "*.xpl"));
}

TEST(DiscScan, ListsMatchingOrdinaryFilesSortedByName) {
  TempDir disc;
  disc.Write("VIDEO_TS/VTS_02_0.IFO", "x");
  disc.Write("VIDEO_TS/vts_01_0.ifo", "x");
  disc.Write("VIDEO_TS/VIDEO_TS.IFO", "x");
  disc.Write("VIDEO_TS/VTS_01_0.BUP", "x");
  fs::create_directories(disc / "VIDEO_TS/VTS_03_0.IFO");  // a folder is no title set
  EXPECT_EQ(ListMatchingFiles(disc / "VIDEO_TS", "VTS*.ifo"),
            (std::vector<std::string>{"vts_01_0.ifo", "VTS_02_0.IFO"}));
  EXPECT_TRUE(ListMatchingFiles(disc / "missing", "*.mpls").empty());
}

TEST(DiscScan, FirstKindFoundDecidesInAnyLetterCase) {
  TempDir both;
  fs::create_directories(both / "BDMV/PLAYLIST");
  fs::create_directories(both / "VIDEO_TS");
  EXPECT_EQ(FindDiscLayout(both.path())->kind, DiscKind::kBluRay);
  EXPECT_EQ(FindDiscLayout(both.path())->stream_folder, both / "BDMV/PLAYLIST");

  TempDir lower;
  fs::create_directories(lower / "bdmv/playlist");
  ASSERT_TRUE(FindDiscLayout(lower.path()));
  EXPECT_EQ(FindDiscLayout(lower.path())->stream_folder, lower / "bdmv/playlist");

  TempDir hd;
  fs::create_directories(hd / "Adv_Obj");
  EXPECT_EQ(FindDiscLayout(hd.path())->kind, DiscKind::kHdDvd);

  // The BDMV folder itself is not a disc root.
  EXPECT_FALSE(FindDiscLayout(both / "BDMV"));
  EXPECT_EQ(RefusalText(both / "BDMV"), kNoDiscMessage);
}

TEST(DiscScan, KindFolderWithoutStreamsIsRefusedWithTheKindsMessage) {
  TempDir bluray, hddvd, dvd;
  fs::create_directories(bluray / "BDMV/PLAYLIST");
  hddvd.Write("ADV_OBJ/readme.txt", "x");
  dvd.Write("VIDEO_TS/VIDEO_TS.IFO", "x");
  EXPECT_EQ(RefusalText(bluray.path()), "Disc or Folder does not contain valid Blu-Ray data");
  EXPECT_EQ(RefusalText(hddvd.path()), "Disc or Folder does not contain valid HD DVD data");
  EXPECT_EQ(RefusalText(dvd.path()), "Disc or Folder does not contain valid DVD data");
}

TEST(DiscScan, BluRayPlaylistsAreLabelledAndDamagedOnesLeftOut) {
  TempDir disc;
  disc.Write("BDMV/PLAYLIST/00001.mpls", PlaylistWithChapters(1));
  disc.Write("BDMV/PLAYLIST/00000.mpls", PlaylistWithChapters(12));
  disc.Write("BDMV/PLAYLIST/00002.mpls", "MPLS0200");  // cut short
  const DiscScan scan = ScanDiscFolder(disc.path());
  EXPECT_EQ(Labels(scan),
            (std::vector<std::string>{"00000.mpls, 12 Chapter(s)", "00001.mpls, 1 Chapter(s)"}));
  EXPECT_EQ(LoadDiscStream(scan, scan.streams[1]), (ChapterList{"00:00:00.000"}));

  // With nothing left to offer, the message says why the first playlist was left out.
  TempDir only_damaged;
  const fs::path damaged = only_damaged.Write("BDMV/PLAYLIST/00000.mpls", "MPLS0200");
  EXPECT_THAT(RefusalText(only_damaged.path()),
              ::testing::StartsWith("Disc or Folder does not contain valid Blu-Ray data\r\n\r\n" +
                                    damaged.string() + ": "));
}

TEST(DiscScan, HdDvdOffersEveryTitleOfEveryPlaylist) {
  TempDir disc;
  disc.Write("ADV_OBJ/VPLST000.XPL", HdDvdPlaylist({2, 3}));
  disc.Write("ADV_OBJ/VPLST001.XPL", HdDvdPlaylist({1, 4}));
  const DiscScan scan = ScanDiscFolder(disc.path());
  EXPECT_EQ(Labels(scan),
            (std::vector<std::string>{"VPLST000.XPL, 2 Chapter(s)", "VPLST000.XPL, 3 Chapter(s)",
                                      "VPLST001.XPL, 1 Chapter(s)", "VPLST001.XPL, 4 Chapter(s)"}));
  // The fourth entry is title 2 of the second playlist.
  EXPECT_EQ(scan.streams[3].title, 2);
  EXPECT_EQ(LoadDiscStream(scan, scan.streams[3]).size(), 4u);
}

// A disc folder whose files are links to the real samples, named as a disc names them.
fs::path LinkedDisc(const TempDir& disc, const fs::path& folder,
                    const std::vector<std::pair<std::string, std::string>>& links) {
  fs::create_directories(disc / folder.string());
  for (const auto& [name, sample] : links) {
    fs::create_symlink(fs::path(MARKWRIGHT_REALDATA_DIR) / sample, disc / (folder / name).string());
  }
  return disc.path();
}

TEST(DiscScan, RealDvdAndHdDvdFolders) {
  if (!fs::exists(fs::path(MARKWRIGHT_REALDATA_DIR) / "ifo")) {
    GTEST_SKIP() << "real-world samples not found at " << MARKWRIGHT_REALDATA_DIR;
  }
  TempDir dvd;
  std::vector<std::pair<std::string, std::string>> title_sets = {
      {"VIDEO_TS.IFO", "ifo/dvdread_shadok1_VIDEO_TS.IFO"}};
  for (int set = 1; set <= 9; ++set) {
    const std::string number = "0" + std::to_string(set);
    title_sets.push_back(
        {"VTS_" + number + "_0.IFO", "ifo/dvdread_shadok1_VTS_" + number + "_0.IFO"});
  }
  const DiscScan dvd_scan = ScanDiscFolder(LinkedDisc(dvd, "VIDEO_TS", title_sets));
  ASSERT_EQ(dvd_scan.streams.size(), 9u);
  EXPECT_EQ(dvd_scan.streams[7].label, "VTS_08_0.IFO, 52 Chapter(s)");
  EXPECT_EQ(LoadDiscStream(dvd_scan, dvd_scan.streams[7]).size(), 52u);

  TempDir hd;
  const DiscScan hd_scan =
      ScanDiscFolder(LinkedDisc(hd, "ADV_OBJ", {{"VPLST000.XPL", "xpl/chaptertool_VPLST000.XPL"}}));
  EXPECT_EQ(Labels(hd_scan),
            (std::vector<std::string>{"VPLST000.XPL, 1 Chapter(s)", "VPLST000.XPL, 16 Chapter(s)",
                                      "VPLST000.XPL, 1 Chapter(s)", "VPLST000.XPL, 1 Chapter(s)"}));
}

}  // namespace
}  // namespace markwright
