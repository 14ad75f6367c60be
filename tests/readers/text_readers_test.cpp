// Detection and the two plain-text readers, for what the cases in tests/cases cannot reach.
#include <gtest/gtest.h>

#include "readers/celltimes_reader.h"
#include "readers/input_kind.h"
#include "readers/ogg_reader.h"
#include "readers/read_source.h"
#include "readers/source_file.h"
#include "readers/source_kinds.h"
#include "readers/text_encoding.h"
#include "support/expect_throw_message.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

using testing::ExpectThrowMessage;
const std::string kBom = "\xEF\xBB\xBF";

TEST(DetectInputKind, ClassifiesByTheFirstFourCharactersAfterAByteOrderMark) {
  const std::pair<const char*, InputKind> cases[] = {
      {"chapter01", InputKind::kOggChapters},
      {"mpls", InputKind::kBluRayPlaylist},
      {"ab<?", InputKind::kHdDvdPlaylist},
      {"<Pla", InputKind::kHdDvdPlaylist},
      {"dvdv", InputKind::kDvdTitleSet},
      {"0\r\n1", InputKind::kCelltimes},
      {"9999", InputKind::kCelltimes},
      {" \t123", InputKind::kCelltimes},
      {"/abc", InputKind::kUnknown},
      {":abc", InputKind::kUnknown},
      {"CHA", InputKind::kUnknown},
      {"\xEF\xBB\xBF<?xm", InputKind::kHdDvdPlaylist},
      // Blank lines before the first character, newer kinds only where none of the above fits.
      {"\xEF\xBB\xBF\r\n\n CHAPTER01=", InputKind::kOggChapters},
      {"\r\n", InputKind::kUnknown},
      {"<?xml version='1.0'?>\n<!-- c -->\n<Chapters><E", InputKind::kMatroskaXml},
      {"<?xml?><Playlist><Chapters>", InputKind::kHdDvdPlaylist},
      {";FFMETADATA1\n", InputKind::kFfmetadata},
      {"WEBVTT\n\n", InputKind::kWebVtt},
      {"\x1A\x45\xDF\xA3\x01", InputKind::kMediaFile},
      {"\x01\x02\x03\x04"
       "ftypisom",
       InputKind::kMediaFile},
      {"Cxyzftyp", InputKind::kOggChapters},
      {"\x01\x02\x03\x04"
       "ftp",
       InputKind::kUnknown},
      // A first line no older kind reads: a clock time or tab-separated seconds is no frame
      // number; CUE commands and '{' begin with characters of no classic kind.
      {"0:00 Intro", InputKind::kTimeList},
      {"\r\n  [1:02:03] x", InputKind::kTimeList},
      {"0:00Intro", InputKind::kCelltimes},
      {"0\n0:10 Intro", InputKind::kCelltimes},
      {"12.5\t13\tx", InputKind::kAudacity},
      {"REM GENRE Audiobook", InputKind::kCueSheet},
      {"CATALOG 0000000000000", InputKind::kOggChapters},
      {"\n{\"version\"", InputKind::kPodcastJson},
      {"<?xml version='1.0'?><psc:chapters version='1.2'>", InputKind::kPodlove}};
  for (const auto& [head, kind] : cases) EXPECT_EQ(DetectInputKindFromHead(head), kind) << head;
  // XML in UTF-16 by its byte-order mark; anything else after that mark is of no kind.
  using std::string_literals::operator""s;
  EXPECT_EQ(DetectInputKindFromHead("\xFF\xFE\n\0<\0C\0h\0a\0p\0t\0e\0r\0s\0>\0"s),
            InputKind::kMatroskaXml);
  EXPECT_EQ(DetectInputKindFromHead("\xFE\xFF\0<\0P\0l\0a"s), InputKind::kHdDvdPlaylist);
  EXPECT_EQ(DetectInputKindFromHead("\xFF\xFE"
                                    "C\0H\0A\0P\0"s),
            InputKind::kUnknown);
  testing::TempDir folder;
  // The root element is looked for past a long prolog; what is not Chapters stays HD DVD.
  const std::string prolog = "<?xml version='1.0'?><!--" + std::string(70'000, ' ') + "-->";
  EXPECT_EQ(DetectInputKind(folder.Write("long.xml", prolog + "<Chapters/>")),
            InputKind::kMatroskaXml);
  EXPECT_EQ(DetectInputKind(folder.Write("long.xpl", prolog + "<Playlist/>")),
            InputKind::kHdDvdPlaylist);
  EXPECT_EQ(DetectInputKind(folder.Write("a", kBom + "CHAP")), InputKind::kOggChapters);
  EXPECT_THROW(DetectInputKind(folder.Write("b", kBom + "CHA")), ReadError);
  EXPECT_THROW(DetectInputKind(folder.Write("c", "CHA")), ReadError);
  EXPECT_THROW(DetectInputKind(folder / "missing"), ReadError);
  ExpectThrowMessage<ReadError>([&] { DetectInputKind(folder.path()); }, "is a folder");
}

TEST(SourceKinds, EveryKindHasOneRowAndTheOpenFilterKeepsItsOrder) {
  for (int value = 1; value <= 18; ++value) {
    const auto kind = static_cast<InputKind>(value);
    ASSERT_NE(FindSourceKind(kind), nullptr) << value;
    EXPECT_EQ(FindSourceKind(kind)->kind, kind);
  }
  EXPECT_EQ(FindSourceKind(InputKind::kUnknown), nullptr);
  testing::TempDir folder;
  EXPECT_THROW(ReadChapterSource(folder.Write("a", "CHAP"), InputKind::kUnknown, 25), ReadError);
  // The classic entries first and in their order; each pattern once in the first entry.
  EXPECT_EQ(SourceOpenFilter(),
            "Supported Files|*.txt;*.mpls;*.xpl;VTS*.ifo;*.xml;*.ffmeta;*.vtt;*.mkv;*.mka;*.mks;"
            "*.webm;*.mp4;*.m4v;*.m4a;*.mov;*.edl;*.csv;*.fcpxml;*.psc;*.json;*.cue;*.mp3;*.ogg;"
            "*.oga;*.opus;*.flac|OGG Chapter Files (*.txt)|*.txt|Celltimes Files "
            "(*.txt)|*.txt|Blu-Ray Playlist (*.mpls)|*.mpls|HD-DVD Playlist (*.xpl)|*.xpl|DVD "
            "Playlist (*.ifo)|VTS*.ifo|Matroska XML Chapters (*.xml)|*.xml|FFmpeg Metadata "
            "(*.ffmeta;*.txt)|*.ffmeta;*.txt|WebVTT Chapters (*.vtt)|*.vtt|Media Files "
            "(*.mkv;*.mka;*.mks;*.webm;*.mp4;*.m4v;*.m4a;*.mov)|*.mkv;*.mka;*.mks;*.webm;*.mp4;"
            "*.m4v;*.m4a;*.mov|DaVinci Resolve Marker EDL (*.edl)|*.edl|Premiere Pro Markers "
            "(*.csv;*.txt)|*.csv;*.txt|Final Cut Pro XML (*.fcpxml)|*.fcpxml|"
            "Podlove Simple Chapters (*.xml;*.psc)|*.xml;*.psc|Podcasting 2.0 "
            "JSON Chapters (*.json)|*.json|CUE Sheets (*.cue)|*.cue|Audacity Labels (*.txt)|*.txt|"
            "Time Lists (*.txt)|*.txt|Audio Files (*.mp3;*.ogg;*.oga;*.opus;*.flac)|*.mp3;*.ogg;"
            "*.oga;*.opus;*.flac");
}

TEST(LineWalker, EndsLinesAtCrLfCrOrLf) {
  using Lines = std::vector<std::string_view>;
  const auto lines = [](std::string_view text) {
    Lines all;
    LineWalker walker(text);
    for (std::string_view line; walker.Next(line);) all.push_back(line);
    return all;
  };
  // LF then CR is two line ends; CR LF is one.
  EXPECT_EQ(lines(kBom + "a\r\nb\rc\nd\n\r\r\n"), (Lines{"a", "b", "c", "d", "", ""}));
  EXPECT_TRUE(lines("").empty());
}

TEST(OggReader, EveryMalformedTimeNamesItsLine) {
  for (const char* bad :
       {"CHAPTER01=00:00:00\n", "CHAPTER01=00:0:00.000\n", "CHAPTER01=\n", "CHAPTER01=00:00:00.\n",
        "CHAPTER01=00:00:60.000\n", "CHAPTER01=-1:00:00.000\n", "CHAPTER01=00:00:00.000 x\n",
        "CHAPTER01=00:61:00.000\n", "CHAPTER01=2000000001:00:00.000\n"}) {
    ExpectThrowMessage<ReadError>([&] { ParseOggChapters(bad, "in.txt"); },
                                  "in.txt: line 1: expected a time H:MM:SS.fff after CHAPTER01=");
  }
  ExpectThrowMessage<ReadError>([] { ParseOggChapters("", "in.txt"); }, "in.txt: no chapters");
  testing::TempDir folder;
  ExpectThrowMessage<ReadError>([&] { ReadOggChapters(folder / "missing.txt"); },
                                (folder / "missing.txt").string() + ": cannot open: No such file");
  ExpectThrowMessage<ReadError>([&] { ReadOggChapters(folder.path()); }, "is a folder");
  // Times other than the canonical form are read as what they say: hours' leading zeros dropped.
  const auto times =
      ParseOggChapters("CHAPTER01=001:00:00.000\nCHAPTER02=0100:00:00.5\n", "in.txt");
  EXPECT_EQ(times.chapters.at(0).start, 3'600'000);
  EXPECT_EQ(times.chapters.at(1).start, 360'000'500);
}

TEST(Celltimes, ALineThatIsNotAFrameNumberOrARateOfZeroFails) {
  const auto parse = [](std::string_view text, double rate) {
    return ParseCelltimes(text, "cells.txt", rate);
  };
  EXPECT_TRUE(parse("", 25).chapters.empty());
  for (const char* text : {"0\n-24\n", "0\n24 frames\n", "0\n1e400\n", "0\nnan\n"}) {
    ExpectThrowMessage<ReadError>([&] { parse(text, 25); }, "cells.txt: line 2: expected a frame");
  }
  ExpectThrowMessage<ReadError>([&] { parse("0\n", 0); }, "frame rate");
}

TEST(ChapterLimit, AMillionChaptersAreReadAndOneMoreIsRefused) {
  std::string cells;
  for (int i = 0; i < 1'000'000; ++i) cells += "0\n";
  EXPECT_EQ(ParseCelltimes(cells, "c.txt", 25).chapters.size(), 1'000'000u);
  cells += "0\n";
  ExpectThrowMessage<ReadError>([&] { ParseCelltimes(cells, "c.txt", 25); },
                                "c.txt: more than 1,000,000 chapters in the file");
  std::string ogg;
  for (int i = 0; i <= 1'000'000; ++i) ogg += "CHAPTER1=0:00:00.0\n";
  ExpectThrowMessage<ReadError>([&] { ParseOggChapters(ogg, "o.txt"); }, "o.txt: more than");
}

TEST(TextEncoding, Utf8IsCheckedStrictlyAndXmlReferencesDecoded) {
  for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
  }
  EXPECT_TRUE(IsValidUtf8("\xC3\x9C \xE2\x80\x93 \xF0\x9F\x8E\xAC \xF4\x8F\xBF\xBF"));
  EXPECT_EQ(DecodeXmlReferences("&lt;&#65;&#x1F3AC;&apos;&amp;amp; &bogus; &#xD800; &"),
            "<A\xF0\x9F\x8E\xAC'&amp; &bogus; &#xD800; &");
}

TEST(TextEncoding, NamesAndXmlTextsArriveInUtf8) {
  EXPECT_EQ(Utf8Name("Caf\xE9 \x80"), "Caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(Utf8Name("Caf\xC3\xA9"), "Caf\xC3\xA9");
  // Already UTF-8: no copy.
  EXPECT_EQ(XmlTextInUtf8("<?xml version='1.0' encoding='utf-8'?><a b='\xC3\xA9'/>"), std::nullopt);
  EXPECT_EQ(XmlTextInUtf8(kBom + "<a/>"), std::nullopt);
  // Latin-1 keeps 0x80 to 0x9F as controls, Windows-1252 does not, whatever the letter case; the
  // byte-order mark of UTF-8 is dropped with the rest of a wrong claim.
  EXPECT_EQ(XmlTextInUtf8(kBom + "<?xml version=\"1.0\" encoding=\"Latin1\"?>\xE9\x80"),
            "<?xml version=\"1.0\" encoding=\"Latin1\"?>\xC3\xA9\xC2\x80");
  EXPECT_EQ(XmlTextInUtf8("<?xml encoding='CP1252'?>\x80"),
            "<?xml encoding='CP1252'?>\xE2\x82\xAC");
  EXPECT_EQ(XmlTextInUtf8("<?xml version='1.0'?><a>\xE9</a>"),
            "<?xml version='1.0'?><a>\xC3\xA9</a>");
  // UTF-16 of either byte order: pairs joined, a lone surrogate replaced, an odd byte dropped.
  using std::string_literals::operator""s;
  EXPECT_EQ(XmlTextInUtf8("\xFF\xFE<\0\x3C\xD8\xAC\xDF\x00\xD8>\0!"s),
            "<\xF0\x9F\x8E\xAC\xEF\xBF\xBD>");
  EXPECT_EQ(XmlTextInUtf8("\xFE\xFF\0<\xDC\x00\xD8\x00\xDC"s), "<\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace markwright
