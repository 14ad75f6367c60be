// What the command-line cases cannot reach: writers given no chapters or a window's rate label,
// and an output file whose writing fails.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "core/error.h"
#include "support/temp_dir.h"
#include "writers/format_table.h"
#include "writers/text_file.h"

namespace markwright {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;

TEST(Writers, WriteOnlyTheirFixedPartsForNoChapters) {
  std::string texts;
  for (const auto& format : kDestinationFormats) {
    if (format.key == "Matroska" || format.key == "FCPXML" || format.key == "CUE" ||
        format.in_place != InPlaceTags::kNone) {
      continue;
    }
    texts += std::string(format.key) + ":" + BuildFormatText(format, {}, 25, "29.970") + "|";
  }
  EXPECT_EQ(texts,
            "OGG:|x264:|HC:*CHAPTER          0\r\n|CCE:%Frame Rate\t4,0\r\n|Cinevision:|"
            "Scenarist:29.970\r\nNonDrop\r\n|Maestro:$Spruce_IFrame_List\r\n|"
            "tsMuxer:--custom-chapters=|Timecodes:|Celltimes:|DVDAuthor:chapters=\"\"|Muxman:|"
            "FFmetadata:;FFMETADATA1\n|WebVTT:WEBVTT\n\n|TimeList:|ffmpegKeys:|"
            "ResolveEDL:TITLE: Chapters\nFCM: NON-DROP FRAME\n\n|"
            "Podlove:<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<psc:chapters version=\"1.2\" "
            "xmlns:psc=\"http://podlove.org/simple-chapters\" />\n|"
            "PodcastJSON:{\n  \"version\": \"1.2.0\",\n  \"chapters\": []\n}\n|Audacity:|");
  // An edition without chapters is one mkvmerge turns down; a sheet without tracks is no sheet.
  EXPECT_THROW(BuildFormatText(*FindFormatByKey("matroska"), {}, 25, ""), Refusal);
  EXPECT_THROW(BuildFormatText(*FindFormatByKey("fcpxml"), {}, 25, ""), Refusal);
  EXPECT_THROW(BuildFormatText(*FindFormatByKey("cue"), {}, 25, ""), Refusal);
  EXPECT_THROW(BuildFormatText(*FindFormatByKey("CCE"), {}, 25, "59.940"), Refusal);
  EXPECT_EQ(FindFormatByDisplayName("Celltimes Text File"), FindFormatByKey("celltimes"));
  EXPECT_EQ(FindFormatByDisplayName("muxman"), nullptr);
}

TEST(WriteTextFile, FollowsALinkKeepsTheModeAndKeepsTheOldFileWhenAWriteFails) {
  testing::TempDir folder;
  const auto target = folder.Write("real.txt", "old");
  const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(target, mode);
  fs::create_symlink(target, folder / "link.txt");
  WriteTextFile(folder / "link.txt", "new");
  EXPECT_TRUE(fs::is_symlink(folder / "link.txt"));
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, mode);
  // Every write past 16 bytes fails with EFBIG, whatever rights the test runs with.
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit small{16, saved.rlim_max};
  std::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_THROW(WriteTextFile(target, std::string(4096, 'n')), WriteError);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 2);  // no temporary left
  EXPECT_THROW(WriteTextFile(folder / "no-such-folder/out.txt", "x"), WriteError);
  fs::permissions(target, fs::perms::owner_read);
  if (::access(target.c_str(), W_OK) != 0) {  // unless the test runs with rights that ignore modes
    EXPECT_THROW(WriteTextFile(target, "newer"), WriteError);
  }
  EXPECT_EQ(ReadFile(target), "new");
  // A new file gets what any file the user creates gets: 0666 less the umask.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  WriteTextFile(folder / "made.txt", "new");
  EXPECT_EQ(fs::status(folder / "made.txt").permissions() & fs::perms::all,
            fs::perms(0666 & ~mask));
}

}  // namespace
}  // namespace markwright
