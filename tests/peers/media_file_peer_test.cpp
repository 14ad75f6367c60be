// Chapters that mkvmerge stores in Matroska and WebM files, and ffmpeg copies into an MP4, read
// back through libmediainfo as the tools wrote them.
#include <fstream>

#include "peers/peer_fixture.h"
#include "readers/matroska_file.h"
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
             Atom("00:00:03.001", "a:b", "eng") + Atom("00:00:03.200", "ab:cd", "und") +
             Atom("00:00:03.400", "Part one - en:two", "und") +
             Atom("00:00:03.600", "en:x &amp; y", "eng") + "</EditionEntry></Chapters>";
  Run("ffmpeg -v error -f lavfi -i testsrc=d=4:s=64x48:r=25 -c:v libvpx-vp9 clip.webm; "
      "mkvmerge -q -o x.mkv --chapters a.xml clip.webm; "
      "mkvmerge -q -w -o x.webm --chapters a.xml clip.webm; "
      "ffmpeg -v error -i x.mkv -map 0 -c copy x.mp4");
  ASSERT_FALSE(HasFailure());
  // libmediainfo gives Matroska languages in their two-letter form where there is one; a name
  // that only looks like "language:name" keeps its whole text when its language is "und".
  const TitleChapters matroska{{{Ms("00:00:00.000"), "Intro: the start", "en"},
                                {Ms("00:00:01.500"), "Überraschung 日本", "de"},
                                {Ms("00:00:02.250"), "", "en"},
                                {Ms("00:00:03.001"), "a:b", "en"},
                                {Ms("00:00:03.200"), "ab:cd", ""},
                                {Ms("00:00:03.400"), "Part one - en:two", ""},
                                {Ms("00:00:03.600"), "en:x & y", "en"}},
                               Ms("00:00:04.000")};
  EXPECT_EQ(ReadMediaFileChapters(folder_ / "x.mkv"), matroska);
  EXPECT_EQ(ReadMediaFileChapters(folder_ / "x.webm"), matroska);
  // MP4 names carry no language, and libmediainfo 22.12 leaves out a chapter without a name.
  const TitleChapters mp4{{{Ms("00:00:00.000"), "Intro: the start", ""},
                           {Ms("00:00:01.500"), "Überraschung 日本", ""},
                           {Ms("00:00:03.001"), "a:b", ""},
                           {Ms("00:00:03.200"), "ab:cd", ""},
                           {Ms("00:00:03.400"), "Part one - en:two", ""},
                           {Ms("00:00:03.600"), "en:x & y", ""}},
                          Ms("00:00:04.000")};
  EXPECT_EQ(ReadMediaFileChapters(folder_ / "x.mp4"), mp4);
  // ffmpeg stores the names twice: as samples of a chapter track (in the media data, before the
  // moov box) and in a Nero chapter list. With every sample's 2-byte length set to 0 the first
  // menu libmediainfo gives has no chapters, the second all of them.
  std::string bytes = ReadFile(folder_ / "x.mp4");
  for (const Chapter& chapter : mp4.chapters) {
    const std::size_t at = bytes.find(chapter.name);
    ASSERT_TRUE(at >= 2 && at < bytes.find("moov") && bytes[at - 2] == 0 &&
                bytes[at - 1] == static_cast<char>(chapter.name.size()));
    bytes[at - 1] = 0;
  }
  std::ofstream(folder_ / "first-empty.mp4", std::ios::binary) << bytes;
  EXPECT_EQ(ReadMediaFileChapters(folder_ / "first-empty.mp4"), mp4);
  ExpectThrowMessage<ReadError>([&] { ReadMediaFileChapters(folder_ / "clip.webm"); },
                                "clip.webm: no chapters in the file");
  const auto cut = folder_ / "cut.mkv";
  std::ofstream(cut, std::ios::binary) << ReadFile(folder_ / "x.mkv").substr(0, 1000);
  ExpectThrowMessage<ReadError>([&] { ReadMediaFileChapters(cut); }, "no chapters in the file");
}

// libmatroska reads the default edition (here the second), its top-level atoms, hidden and
// disabled ones too, each start cut to whole milliseconds, and the first display's name and
// language; ChapLanguage where the file gives no IETF tag. Every copy of the file cut short or
// with one bit flipped reads or ends in a message naming the file.
TEST_F(MediaFilePeer, MatroskaEditionsAndDamagedCopies) {
  if (Missing("ffmpeg mkvmerge")) GTEST_SKIP() << "ffmpeg or MKVToolNix is not installed";
  const auto flag = [](std::string_view name) {
    return "<" + std::string(name) + ">1</" + std::string(name) + ">";
  };
  std::string nested = Atom("00:00:01.500", "off", "haw");
  nested.insert(nested.size() - 14, Atom("00:00:01.700", "nested", "eng"));
  nested.insert(13, "<ChapterFlagEnabled>0</ChapterFlagEnabled>");
  std::string second_name = Atom("00:00:01.000999999", "cut", "ger");
  const std::string zwei = Atom("", "zwei", "eng");
  const std::size_t display = zwei.find("<ChapterDisplay>");
  second_name.insert(second_name.size() - 14, zwei.substr(display, zwei.size() - 14 - display));
  std::string hidden = Atom("00:00:01.200", "hidden", "fre").insert(13, flag("ChapterFlagHidden"));
  hidden.insert(hidden.find("</ChapterDisplay>"), "<ChapLanguageIETF>fr-CA</ChapLanguageIETF>");
  std::ofstream(folder_ / "a.xml", std::ios::binary)
      << "<?xml version=\"1.0\"?><Chapters><EditionEntry>" + Atom("00:00:00.500", "First", "eng") +
             "</EditionEntry><EditionEntry>" + flag("EditionFlagDefault") + second_name + hidden +
             nested + Atom("00:00:02.000", "ab:cd", "und") + "</EditionEntry></Chapters>";
  // Too large for the space mkvmerge leaves before the clusters.
  std::string large = ReadFile(folder_ / "a.xml");
  large.insert(
      large.find("<EditionEntry>"),
      "<EditionEntry>" + Atom("00:00:00.000", std::string(9000, 'x'), "eng") + "</EditionEntry>");
  std::ofstream(folder_ / "b.xml", std::ios::binary) << large;
  Run("ffmpeg -v error -f lavfi -i testsrc=d=4:s=64x48:r=25 -c:v libvpx-vp9 clip.webm; "
      "mkvmerge -q -o x.mkv --chapters a.xml clip.webm; "
      "mkvmerge -q -o end.mkv clip.webm; mkvpropedit -q end.mkv --chapters b.xml");
  ASSERT_FALSE(HasFailure());
  std::string bytes = ReadFile(folder_ / "x.mkv");
  // The German name's ChapLanguageIETF "de" made an element of an unknown ID, which is skipped.
  const std::string ietf_de(
      "\x43\x7D\x82"
      "de",
      5);
  ASSERT_NE(bytes.find(ietf_de), std::string::npos);
  bytes[bytes.find(ietf_de) + 1] = '\x7E';
  std::ofstream(folder_ / "y.mkv", std::ios::binary) << bytes;
  const TitleChapters expected{{{Ms("00:00:01.000"), "cut", "de"},
                                {Ms("00:00:01.200"), "hidden", "fr-CA"},
                                {Ms("00:00:01.500"), "off", "haw"},
                                {Ms("00:00:02.000"), "ab:cd", ""}},
                               Ms("00:00:04.000"),
                               {},
                               {},
                               {.other_editions = 1, .nested_chapters = 1, .other_names = 1}};
  TitleChapters expected_end = expected;
  expected_end.left_out.other_editions = 2;  // b.xml has the large edition more
  EXPECT_EQ(ReadMediaFileChapters(folder_ / "y.mkv"), expected);
  // mkvpropedit puts the chapters after the clusters, where the SeekHead points.
  EXPECT_EQ(ReadMediaFileChapters(folder_ / "end.mkv"), expected_end);

  // Cut or flipped in the headers before the first level-1 element's data, or in the Chapters.
  const std::size_t chapters = bytes.find("\x10\x43\xA7\x70");
  const std::size_t chapters_end = bytes.find("ab:cd") + 10;
  ASSERT_NE(chapters, std::string::npos);
  const auto expect_clean = [](std::string_view damaged) {
    try {
      ReadMatroskaBytes(damaged, "y.mkv");
    } catch (const ReadError& error) {
      EXPECT_TRUE(std::string_view(error.what()).starts_with("y.mkv: ")) << error.what();
    }
  };
  for (std::size_t at = 0; at < chapters_end; at = at == 100 ? chapters : at + 1) {
    expect_clean(std::string_view(bytes).substr(0, at));
    for (int bit = 0; bit < 8; ++bit) {
      std::string flipped = bytes;
      flipped[at] = static_cast<char>(flipped[at] ^ (1 << bit));
      expect_clean(flipped);
    }
  }
  const auto cut = folder_ / "cut.mkv";
  std::ofstream(cut, std::ios::binary) << bytes.substr(0, chapters_end - 20);
  ExpectThrowMessage<ReadError>(
      [&] { ReadMediaFileChapters(cut); },
      "cut.mkv: no chapters in the file: it ends inside an element at offset ");
}

}  // namespace
}  // namespace markwright::testing
