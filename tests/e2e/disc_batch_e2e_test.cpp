// What a case folder cannot check: --all writing several files (and where it must not), and the
// JSON text of odd names.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "cli/listing.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace markwright::testing {
namespace {

namespace fs = std::filesystem;
const fs::path kSource = MARKWRIGHT_SOURCE_DIR;

// Each stream --all writes holds what --stream N and -i on the stream's own file write.
TEST(ConvertAll, WritesEveryStreamAsTheSingleConversionsDo) {
  TempDir folder;
  const std::string disc = (kSource / "tests/cases/disc-list/disc").string();
  const auto all =
      RunMarkwright({"-i", disc, "--all", "-o", "out/new", "-f", "x264"}, folder.path());
  EXPECT_EQ(all.exit_status, 0) << all.errors;
  EXPECT_EQ(all.output,
            "00800.mpls: wrote out/new/00800.txt\n00801.MPLS: wrote out/new/00801.txt\n");
  EXPECT_NE(all.errors.find("left out: " + disc + "/BDMV/PLAYLIST/00802.mpls"), std::string::npos);
  const std::string files[] = {"00800.mpls", "00801.MPLS"};
  for (int stream = 1; stream <= 2; ++stream) {
    const std::string file = files[stream - 1];
    const std::string written = ReadFile(folder / ("out/new/" + file.substr(0, 5) + ".txt"));
    ASSERT_EQ(
        RunMarkwright({"-i", disc, "--stream", std::to_string(stream), "-o", "s.txt", "-f", "x264"},
                      folder.path())
            .exit_status,
        0);
    ASSERT_EQ(RunMarkwright({"-i", disc + "/BDMV/PLAYLIST/" + file, "-o", "f.txt", "-f", "x264"},
                            folder.path())
                  .exit_status,
              0);
    EXPECT_EQ(ReadFile(folder / "s.txt"), written);
    EXPECT_EQ(ReadFile(folder / "f.txt"), written);
  }
}

// A set's VTS_01.IFO beside its VTS_01_0.IFO would be written to the same VTS_01.txt.
TEST(ConvertAll, NamesTitleSetsAfterTheSetAndKeepsThemApart) {
  TempDir folder;
  fs::copy(kSource / "tests/fixtures/dvd/pal_two_title_sets", folder / "dvd",
           fs::copy_options::recursive);
  fs::copy_file(folder / "dvd/VIDEO_TS/VTS_02_0.IFO", folder / "dvd/VIDEO_TS/VTS_01.IFO");
  const auto all = RunMarkwright({"-i", "dvd", "--all", "-o", "out", "-f", "ogg", "--shift", "1s"},
                                 folder.path());
  EXPECT_EQ(all.exit_status, 0) << all.errors;
  EXPECT_EQ(all.output,
            "VTS_01.IFO: wrote out/VTS_01.txt\nVTS_01_0.IFO: wrote out/VTS_01_2.txt\n"
            "VTS_02_0.IFO: wrote out/VTS_02.txt\n");
  EXPECT_EQ(ReadFile(folder / "out/VTS_01.txt"), ReadFile(folder / "out/VTS_02.txt"));
  EXPECT_NE(ReadFile(folder / "out/VTS_01_2.txt"), ReadFile(folder / "out/VTS_02.txt"));
}

// Playlists whose names differ in letter case only, and a third whose own name is what the
// second would get; in a folder holding a FIFO and a link to a file the batch writes.
TEST(ConvertAll, WritesEachStreamOnceAndOnlyToRegularFiles) {
  TempDir folder;
  const fs::path listed = kSource / "tests/cases/disc-list/disc/BDMV/PLAYLIST";
  const fs::path playlists = folder / "disc/BDMV/PLAYLIST";
  fs::create_directories(playlists);
  fs::copy_file(listed / "00800.mpls", playlists / "00001.mpls");
  fs::copy_file(listed / "00801.MPLS", playlists / "00001.MPLS");
  fs::copy_file(listed / "00800.mpls", playlists / "00001_2.mpls");
  const auto all = RunMarkwright({"-i", "disc", "--all", "-o", "out", "-f", "x264"}, folder.path());
  EXPECT_EQ(all.exit_status, 0) << all.errors;
  EXPECT_EQ(all.output,
            "00001.MPLS: wrote out/00001.txt\n00001.mpls: wrote out/00001_3.txt\n"
            "00001_2.mpls: wrote out/00001_2.txt\n");
  EXPECT_EQ(ReadFile(folder / "out/00001_3.txt"), ReadFile(folder / "out/00001_2.txt"));
  EXPECT_NE(ReadFile(folder / "out/00001_3.txt"), ReadFile(folder / "out/00001.txt"));

  fs::create_directory(folder / "odd");
  ASSERT_EQ(mkfifo((folder / "odd/00001.txt").c_str(), 0600), 0);
  folder.Write("odd/00001_3.txt", "old");
  fs::create_symlink("00001_3.txt", folder / "odd/00001_2.txt");
  // A FIFO nobody reads would block the batch for good.
  const auto odd = RunProcess(
      "/usr/bin/timeout", {"20", MARKWRIGHT_EXE, "-i", "disc", "--all", "-o", "odd", "-f", "x264"},
      folder.path());
  EXPECT_EQ(odd.exit_status, 2);
  EXPECT_EQ(odd.output, "00001.mpls: wrote odd/00001_3.txt\n");
  EXPECT_EQ(odd.errors,
            "Markwright: 00001.MPLS: not written: cannot write odd/00001.txt: it is not a regular "
            "file\nMarkwright: 00001_2.mpls: not written: cannot write odd/00001_2.txt: it is the "
            "file written for 00001.mpls\n");
  EXPECT_EQ(ReadFile(folder / "odd/00001_3.txt"), ReadFile(folder / "out/00001_3.txt"));
  // A link to nothing is no folder, and no folder is made where it points.
  fs::create_symlink("nowhere", folder / "dangling");
  EXPECT_EQ(
      RunMarkwright({"-i", "disc", "--all", "-o", "dangling", "-f", "x264"}, folder.path()).errors,
      "Markwright: cannot write into dangling: it is not a folder\n");
}

// Listing or converting every title of an HD DVD playlist reads it once, not once for each title
// (a playlist of thousands of titles took minutes).
TEST(ConvertAll, ReadsAnHdDvdPlaylistOnceForAllItsTitles) {
  TempDir folder;
  std::string titles;
  for (int title = 0; title < 40; ++title) {
    titles += "<Title><ChapterList><Chapter titleTimeBegin=\"00:00:00:00\"/></ChapterList></Title>";
  }
  const fs::path playlist = folder.Write("many.xpl", "<Playlist>" + titles + "</Playlist>\n");
  for (const auto& arguments : {std::vector<std::string>{"-i", "many.xpl", "--list"},
                                {"-i", "many.xpl", "--all", "-o", "out", "-f", "ogg"}}) {
    const int watch = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    // Closes come between the opens, so that no two opens are merged into one event.
    inotify_add_watch(watch, playlist.c_str(), IN_OPEN | IN_CLOSE_NOWRITE);
    EXPECT_EQ(RunMarkwright(arguments, folder.path()).exit_status, 0);
    int opens = 0;
    alignas(inotify_event) char events[4096];
    for (ssize_t size; (size = read(watch, events, sizeof events)) > 0;) {
      for (ssize_t at = 0; at < size;) {
        const auto* event = reinterpret_cast<const inotify_event*>(events + at);
        opens += (event->mask & IN_OPEN) != 0;
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    close(watch);
    EXPECT_LT(opens, 10) << arguments[2];
  }
}

TEST(JsonString, EscapesControlsAndReplacesBytesThatAreNotUtf8) {
  EXPECT_EQ(JsonString("a\"b\\c\x1b\n"), R"("a\"b\\c\u001b\u000a")");
  EXPECT_EQ(JsonString("\xc3\xa9\xe2\x82\xac\xf0\x9f\x8e\xac"),
            "\"\xc3\xa9\xe2\x82\xac\xf0\x9f\x8e\xac\"");
  // A lone continuation, a cut sequence, an overlong form and an encoded surrogate.
  EXPECT_EQ(JsonString("\x80|\xe2\x82|\xc0\xaf|\xed\xa0\x80"),
            R"("\ufffd|\ufffd\ufffd|\ufffd\ufffd|\ufffd\ufffd\ufffd")");
}

}  // namespace
}  // namespace markwright::testing
