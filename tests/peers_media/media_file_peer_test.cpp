// Chapters that mkvmerge stores in Matroska and WebM files, and ffmpeg copies into an MP4, read
// back through libmediainfo as the tools wrote them.
#include <gtest/gtest.h>

#include "readers/media_file_reader.h"
#include "support/expect_throw_message.h"
#include "support/mediainfo_child_program.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace markwright::testing {
namespace {

// A chapter atom of a chapter XML file, with one name.
std::string Atom(std::string_view time, std::string_view name, std::string_view language) {
  return std::string("<ChapterAtom><ChapterTimeStart>").append(time) +
         "</ChapterTimeStart><ChapterDisplay><ChapterString>" + std::string(name) +
         "</ChapterString><ChapterLanguage>" + std::string(language) +
         "</ChapterLanguage></ChapterDisplay></ChapterAtom>";
}

TEST(MediaFilePeer, MatroskaWebmAndMp4GiveTheToolsChapters) {
  if (RunProcess("/bin/sh", {"-c", "command -v ffmpeg && command -v mkvmerge"}, "/").exit_status !=
      0) {
    GTEST_SKIP() << "ffmpeg or MKVToolNix is not installed";
  }
  const TempDir folder;
  const auto run = [&](std::vector<std::string> command) {
    const auto result = RunProcess("/usr/bin/env", std::move(command), folder.path());
    ASSERT_EQ(result.exit_status, 0) << result.output << result.errors;
  };
  folder.Write("a.xml", "<?xml version=\"1.0\"?><Chapters><EditionEntry>" +
                            Atom("00:00:00.000", "Intro: the start", "eng") +
                            Atom("00:00:01.500", "Überraschung 日本", "ger") +
                            Atom("00:00:02.250", "", "eng") + Atom("00:00:03.001", "a:b", "eng") +
                            "</EditionEntry></Chapters>");
  run({"ffmpeg", "-v", "error", "-f", "lavfi", "-i", "testsrc=d=4:s=64x48:r=25", "-c:v",
       "libvpx-vp9", "clip.webm"});
  run({"mkvmerge", "-q", "-o", "x.mkv", "--chapters", "a.xml", "clip.webm"});
  run({"mkvmerge", "-q", "-w", "-o", "x.webm", "--chapters", "a.xml", "clip.webm"});
  run({"ffmpeg", "-v", "error", "-i", "x.mkv", "-map", "0", "-c", "copy", "x.mp4"});
  // libmediainfo gives Matroska languages in their two-letter form where there is one.
  const TitleChapters matroska{{{"00:00:00.000", "Intro: the start", "en"},
                                {"00:00:01.500", "Überraschung 日本", "de"},
                                {"00:00:02.250", "", "en"},
                                {"00:00:03.001", "a:b", "en"}},
                               "00:00:04.000"};
  EXPECT_EQ(ReadMediaFileChapters(folder / "x.mkv"), matroska);
  EXPECT_EQ(ReadMediaFileChapters(folder / "x.webm"), matroska);
  // MP4 names carry no language, and libmediainfo 22.12 leaves out a chapter without a name.
  EXPECT_EQ(ReadMediaFileChapters(folder / "x.mp4"),
            (TitleChapters{{{"00:00:00.000", "Intro: the start", ""},
                            {"00:00:01.500", "Überraschung 日本", ""},
                            {"00:00:03.001", "a:b", ""}},
                           "00:00:04.000"}));
  ExpectThrowMessage<ReadError>([&] { ReadMediaFileChapters(folder / "clip.webm"); },
                                "clip.webm: no chapters in the file");
  const auto cut = folder.Write("cut.mkv", ReadFile(folder / "x.mkv").substr(0, 1000));
  ExpectThrowMessage<ReadError>([&] { ReadMediaFileChapters(cut); }, "no chapters in the file");
}

}  // namespace
}  // namespace markwright::testing
