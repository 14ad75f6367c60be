// mkvmerge takes our Matroska chapter XML with two editions, nested chapters and two display
// languages (IETF tags beside the old ones, as mkvmerge adds them), and mkvextract gives every
// edition back as we read it from our file; the Matroska file lists both editions.
#include <fstream>

#include "peers/peer_fixture.h"
#include "readers/matroska_xml_reader.h"
#include "readers/source_file.h"

namespace markwright::testing {
namespace {

constexpr std::string_view kEditions = R"(<?xml version="1.0" encoding="UTF-8"?>
<Chapters>
  <EditionEntry>
    <EditionFlagOrdered>1</EditionFlagOrdered>
    <ChapterAtom>
      <ChapterTimeStart>00:00:00.000000000</ChapterTimeStart>
      <ChapterTimeEnd>00:00:05.000000000</ChapterTimeEnd>
      <ChapterDisplay><ChapterString>Intro</ChapterString><ChapterLanguage>eng</ChapterLanguage><ChapLanguageIETF>en</ChapLanguageIETF></ChapterDisplay>
    </ChapterAtom>
  </EditionEntry>
  <EditionEntry>
    <EditionFlagDefault>1</EditionFlagDefault>
    <ChapterAtom>
      <ChapterTimeStart>00:00:01.000000000</ChapterTimeStart>
      <ChapterDisplay><ChapterString>Opening</ChapterString><ChapterLanguage>eng</ChapterLanguage><ChapLanguageIETF>en</ChapLanguageIETF></ChapterDisplay>
      <ChapterDisplay><ChapterString>Eröffnung</ChapterString><ChapterLanguage>ger</ChapterLanguage><ChapLanguageIETF>de</ChapLanguageIETF></ChapterDisplay>
      <ChapterAtom>
        <ChapterTimeStart>00:00:03.000000000</ChapterTimeStart>
        <ChapterDisplay><ChapterString>Part</ChapterString><ChapterLanguage>eng</ChapterLanguage><ChapLanguageIETF>en</ChapLanguageIETF></ChapterDisplay>
      </ChapterAtom>
    </ChapterAtom>
    <ChapterAtom>
      <ChapterTimeStart>00:00:02.500000000</ChapterTimeStart>
      <ChapterDisplay><ChapterString>Middle</ChapterString><ChapterLanguage>eng</ChapterLanguage><ChapLanguageIETF>en</ChapLanguageIETF></ChapterDisplay>
    </ChapterAtom>
  </EditionEntry>
</Chapters>
)";

using EditionsPeer = PeerTest;

TEST_F(EditionsPeer, MkvextractGivesBackEveryEditionOfOurXml) {
  if (Missing("mkvmerge mkvextract")) GTEST_SKIP() << "MKVToolNix is not installed";
  std::ofstream(folder_ / "ours.xml", std::ios::binary) << kEditions;
  Run("mkvmerge -q -o x.mks --chapters ours.xml");
  Run("mkvextract x.mks chapters back.xml");
  const std::string back = ReadSourceFile(folder_ / "back.xml");
  const MatroskaXmlEditions ours = ListMatroskaXmlEditions(kEditions, "ours.xml");
  const MatroskaXmlEditions theirs = ListMatroskaXmlEditions(back, "back.xml");
  ASSERT_EQ(theirs.editions.size(), 2u);
  EXPECT_EQ(theirs.default_edition, ours.default_edition);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(theirs.editions[i].is_default, ours.editions[i].is_default) << i;
    EXPECT_EQ(theirs.editions[i].ordered, ours.editions[i].ordered) << i;
    for (const bool flatten : {false, true}) {
      for (const std::string language : {"", "ger"}) {
        const MatroskaXmlChoice choice{i, flatten, language, false};
        EXPECT_EQ(ParseMatroskaChapters(back, "back.xml", choice),
                  ParseMatroskaChapters(kEditions, "ours.xml", choice))
            << i << flatten << language;
      }
    }
  }
  // The Matroska file offers both editions too, read by libmatroska in the reading child; a plain
  // conversion reads the default one.
  EXPECT_EQ(Run("'" MARKWRIGHT_EXE "' -i x.mks --list"),
            "1  x.mks edition 1  1 chapter  00:00:00.000  ordered\n"
            "2  x.mks edition 2  2 chapters  00:00:00.000  default\n");
  Run("'" MARKWRIGHT_EXE "' -i x.mks -o plain.txt -f ogg");
  Run("'" MARKWRIGHT_EXE "' -i x.mks --stream 1 -o first.txt -f ogg");
  EXPECT_EQ(ReadSourceFile(folder_ / "plain.txt"),
            "CHAPTER01=00:00:01.000\r\nCHAPTER01NAME=Opening\r\n"
            "CHAPTER02=00:00:02.500\r\nCHAPTER02NAME=Middle\r\n");
  EXPECT_EQ(ReadSourceFile(folder_ / "first.txt"),
            "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=Intro\r\n");
}

}  // namespace
}  // namespace markwright::testing
