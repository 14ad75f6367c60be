// Matroska chapter XML and ffmpeg metadata: what the writers write reads back as the same
// chapters, and the readers take the forms other tools write and refuse malformed files.
#include <gtest/gtest.h>

#include "readers/ffmetadata_reader.h"
#include "readers/matroska_xml_reader.h"
#include "support/chapter_times.h"
#include "support/expect_throw_message.h"
#include "writers/ffmetadata_writer.h"
#include "writers/matroska_xml_writer.h"

namespace markwright {
namespace {

using testing::ExpectThrowMessage;
using testing::Ms;

TEST(NamedFormats, WhatIsWrittenReadsBackUnchanged) {
  // Out of order and repeated on purpose: nothing is sorted or merged.
  TitleChapters title{{{Ms("00:00:00.000"), "Tom & Jerry <1> \"q\" 'a' ]]>", ""},
                       {Ms("00:01:02.500"), "a=b;c#d\\e\\\nf\r", "eng"},
                       {Ms("00:01:02.500"), "", ""},
                       {Ms("101:00:00.001"), "Глава 日本語 Ünïcode", "pt-BR"},
                       {Ms("00:00:10.000"), "", "fre"}},
                      Ms("102:00:00.000")};
  EXPECT_EQ(ParseMatroskaChapters(WriteMatroskaChapters(title), "x"), title);
  for (auto& chapter : title.chapters) chapter.language = {};  // ffmpeg keeps none
  EXPECT_EQ(ParseFfmetadata(WriteFfmetadata(title), "x"), title);
  title.length.reset();
  EXPECT_EQ(ParseMatroskaChapters(WriteMatroskaChapters(title), "x"), title);
  // The latest chapter ends 1 ms after its start: no chapter is of no length.
  EXPECT_EQ(ParseFfmetadata(WriteFfmetadata(title), "x").length, Ms("101:00:00.002"));
}

TEST(NamedFormats, MatroskaReaderTakesTheDefaultEditionsEnabledTopLevelChapters) {
  const TitleChapters read = ParseMatroskaChapters(R"(<?xml version="1.0"?>
<!DOCTYPE Chapters [<!ENTITY a "aaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;">]>
<Chapters>
 <EditionEntry><ChapterAtom><ChapterTimeStart>5</ChapterTimeStart></ChapterAtom></EditionEntry>
 <EditionEntry><EditionFlagDefault> 1 </EditionFlagDefault>
  <ChapterAtom><ChapterTimeStart>1500000</ChapterTimeStart>
   <ChapterDisplay><ChapterString>&b;</ChapterString><ChapterLanguage>ger</ChapterLanguage>
    <ChapLanguageIETF>de</ChapLanguageIETF></ChapterDisplay>
   <ChapterDisplay><ChapterString>second</ChapterString></ChapterDisplay>
   <ChapterAtom><ChapterTimeStart>9</ChapterTimeStart></ChapterAtom>
  </ChapterAtom>
  <ChapterAtom><ChapterFlagEnabled>0</ChapterFlagEnabled><ChapterTimeStart>7</ChapterTimeStart>
  </ChapterAtom>
  <ChapterAtom><ChapterTimeStart>01:00.0025</ChapterTimeStart><ChapterFlagHidden>1</ChapterFlagHidden>
   <ChapterDisplay><ChapterString>C</ChapterString><ChapterLanguage>und</ChapterLanguage>
   </ChapterDisplay></ChapterAtom>
  <ChapterAtom><ChapterTimeStart>3500001</ChapterTimeStart>
   <ChapterTimeEnd>01:02:03.000499999</ChapterTimeEnd></ChapterAtom>
 </EditionEntry>
</Chapters>)",
                                                   "x");
  const TitleChapters expected{{{Ms("00:00:00.002"), "&b;", "de"},
                                {Ms("00:01:00.002"), "C", ""},
                                {Ms("00:00:00.004"), "", ""}},
                               Ms("01:02:03.000"),
                               {},
                               {},
                               {.other_editions = 1, .nested_chapters = 1, .other_names = 1}};
  EXPECT_EQ(read, expected);
  EXPECT_TRUE(
      IsMatroskaChaptersXml("\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- c -->\n<Chapters>\n<Ed"));
  EXPECT_FALSE(IsMatroskaChaptersXml("<?xml version=\"1.0\"?><Playlist><Chapters/></Playlist>"));
  EXPECT_FALSE(IsMatroskaChaptersXml("CHAPTER01=00:00:00.000"));
}

TEST(NamedFormats, FfmetadataReaderReadsAsFfmpegDoes) {
  const TitleChapters read = ParseFfmetadata(
      ";FFMETADATA1\ntitle=file\n# a comment\n[CHAPTER]\nSTART=1500000\nEND=2500000\n"
      "TITLE=x\\\ny\\=\n[STREAM]\ntitle=stream\n[CHAPTER]\nTIMEBASE=1/90000\nSTART=45\n"
      "title=b;c\nEND=900000\n",
      "x");
  EXPECT_EQ(read,
            (TitleChapters{{{Ms("00:00:00.002"), "x\ny=", ""}, {Ms("00:00:00.000"), "b;c", ""}},
                           Ms("00:00:10.000")}));
}

TEST(NamedFormats, MalformedFilesAreRefusedWithFileLineAndCause) {
  const auto xml = [](std::string_view text) { return [=] { ParseMatroskaChapters(text, "in"); }; };
  ExpectThrowMessage<ReadError>(xml("<Chapters>\n<EditionEntry>\n</Chapters>"),
                                "in: line 3: malformed XML: Start-end tags mismatch");
  ExpectThrowMessage<ReadError>(xml("\n<Tags/>"), "in: line 2: the root element is not Chapters");
  ExpectThrowMessage<ReadError>(
      xml("<Chapters><EditionEntry><ChapterAtom>\n<ChapterTimeStart>1:2:3:4</ChapterTimeStart>"
          "</ChapterAtom></EditionEntry></Chapters>"),
      "in: line 2: malformed ChapterTimeStart \"1:2:3:4\"");
  ExpectThrowMessage<ReadError>(xml("<Chapters>\n<EditionEntry/></Chapters>"),
                                "in: line 2: the edition has no enabled chapter");
  const auto meta = [](std::string_view text) { return [=] { ParseFfmetadata(text, "in"); }; };
  ExpectThrowMessage<ReadError>(meta("[CHAPTER]\n"), "in: line 1: the first line is not");
  ExpectThrowMessage<ReadError>(meta(";FFMETADATA1\n[CHAPTER]\nSTART=-1\n"),
                                "in: line 3: START is not a time: \"-1\"");
  ExpectThrowMessage<ReadError>(meta(";FFMETADATA1\n[CHAPTER]\nTIMEBASE=1/0\n"),
                                "in: line 3: TIMEBASE is not a fraction");
  ExpectThrowMessage<ReadError>(meta(";FFMETADATA1\n\n[CHAPTER]\nEND=5\ntitle"),
                                "in: line 5: expected KEY=VALUE");
  ExpectThrowMessage<ReadError>(meta(";FFMETADATA1\n\n[CHAPTER]\nEND=5\n"),
                                "in: line 3: chapter has no START");
  ExpectThrowMessage<ReadError>(meta(";FFMETADATA1\ntitle=x\n"), "no [CHAPTER] section");
}

}  // namespace
}  // namespace markwright
