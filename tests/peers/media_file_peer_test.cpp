// Chapters that mkvmerge stores in Matroska and WebM files, and ffmpeg copies into an MP4, read
// back through libmediainfo as the tools wrote them.
#include <fstream>

#include "peers/peer_fixture.h"
#include "readers/media_file_reader.h"
#include "support/chapter_times.h"
#include "support/expect_throw_message.h"
#include "support/mediainfo_child_program.h"

namespace markwright::testing {
namespace {

// A chapter atom of a chapter XML file, with one name.
std::string Atom(std::string_view time, std::string_view name, std::string_view language) {
  return std::string("<ChapterAtom><ChapterTimeStart>").append(time) +
         "</ChapterTimeStart><ChapterDisplay><ChapterString>" + std::string(name) +
         "</ChapterString><ChapterLanguage>" + std::string(language) +
         "</ChapterLanguage></ChapterDisplay></ChapterAtom>";
}

using MediaFilePeer = PeerTest;

TEST_F(MediaFilePeer, MatroskaWebmAndMp4GiveTheToolsChapters) {
  if (Missing("ffmpeg mkvmerge")) GTEST_SKIP() << "ffmpeg or MKVToolNix is not installed";
  std::ofstream(folder_ / "a.xml", std::ios::binary)
      << "<?xml version=\"1.0\"?><Chapters><EditionEntry>" +
             Atom("00:00:00.000", "Intro: the start", "eng") +
             Atom("00:00:01.500", "Überraschung 日本", "ger") + Atom("00:00:02.250", "", "eng") +
             Atom("00:00:03.001", "a:b", "eng") + "</EditionEntry></Chapters>";
  Run("ffmpeg -v error -f lavfi -i testsrc=d=4:s=64x48:r=25 -c:v libvpx-vp9 clip.webm; "
      "mkvmerge -q -o x.mkv --chapters a.xml clip.webm; "
      "mkvmerge -q -w -o x.webm --chapters a.xml clip.webm; "
      "ffmpeg -v error -i x.mkv -map 0 -c copy x.mp4");
  ASSERT_FALSE(HasFailure());
  // libmediainfo gives Matroska languages in their two-letter form where there is one.
  const TitleChapters matroska{{{Ms("00:00:00.000"), "Intro: the start", "en"},
                                {Ms("00:00:01.500"), "Überraschung 日本", "de"},
                                {Ms("00:00:02.250"), "", "en"},
                                {Ms("00:00:03.001"), "a:b", "en"}},
                               Ms("00:00:04.000")};
  EXPECT_EQ(ReadMediaFileChapters(folder_ / "x.mkv"), matroska);
  EXPECT_EQ(ReadMediaFileChapters(folder_ / "x.webm"), matroska);
  // MP4 names carry no language, and libmediainfo 22.12 leaves out a chapter without a name.
  EXPECT_EQ(ReadMediaFileChapters(folder_ / "x.mp4"),
            (TitleChapters{{{Ms("00:00:00.000"), "Intro: the start", ""},
                            {Ms("00:00:01.500"), "Überraschung 日本", ""},
                            {Ms("00:00:03.001"), "a:b", ""}},
                           Ms("00:00:04.000")}));
  ExpectThrowMessage<ReadError>([&] { ReadMediaFileChapters(folder_ / "clip.webm"); },
                                "clip.webm: no chapters in the file");
  const auto cut = folder_ / "cut.mkv";
  std::ofstream(cut, std::ios::binary) << ReadFile(folder_ / "x.mkv").substr(0, 1000);
  ExpectThrowMessage<ReadError>([&] { ReadMediaFileChapters(cut); }, "no chapters in the file");
}

}  // namespace
}  // namespace markwright::testing
