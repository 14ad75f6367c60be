// WebVTT written and read back, the plain time list with its notes, and ffmpeg's key-frame list.
#include <gtest/gtest.h>

#include "readers/webvtt_reader.h"
#include "support/chapter_times.h"
#include "support/expect_throw_message.h"
#include "writers/keyframe_writers.h"
#include "writers/time_list_writer.h"
#include "writers/webvtt_writer.h"

namespace markwright::testing {
namespace {

TEST(WebVtt, WritesEscapedCuesAndReadsThemBack) {
  const TitleChapters title{{{Ms("00:00:00.000"), "Tom & Jerry <live> -->", "eng"},
                             {Ms("00:01:02.500"), "", ""},
                             {Ms("01:00:00.000"), "two\r\nlines\n", ""}},
                            std::nullopt};
  const std::string written = WriteWebVtt(title);
  EXPECT_EQ(written,
            "WEBVTT\n\n"
            "00:00:00.000 --> 00:01:02.500\nTom &amp; Jerry &lt;live&gt; --&gt;\n\n"
            "00:01:02.500 --> 01:00:00.000\nChapter 2\n\n"
            "01:00:00.000 --> 01:00:01.000\ntwo lines \n\n");
  EXPECT_EQ(ParseWebVtt(written, "x.vtt"),
            (TitleChapters{{{Ms("00:00:00.000"), title.chapters[0].name, ""},
                            {Ms("00:01:02.500"), "Chapter 2", ""},
                            {Ms("01:00:00.000"), "two lines ", ""}},
                           Ms("01:00:01.000")}));
}

TEST(WebVtt, ReadsHeadersBlocksIdentifiersAndMarkupAsPlayersDo) {
  const std::string text =
      "\xEF\xBB\xBFWEBVTT\tchapters\r\nKind: chapters\r\n\r\nSTYLE\r\n::cue { color: red }\r\n\r\n"
      "NOTE by hand\r\n\r\nintro\r\n00:05.250 --> 01:10.000 align:start\r\n"
      "<b>Intro</b>&nbsp;&amp; &#x263A; &unknown; R&D\r\nsecond line\r\n\r\n\r\n"
      "01:10.000 --> 100:00:00.000\r\n";
  EXPECT_EQ(ParseWebVtt(text, "x.vtt"),
            (TitleChapters{{{Ms("00:00:05.250"), "Intro\u00A0& \u263A &unknown; R&D", ""},
                            {Ms("00:01:10.000"), "", ""}},
                           Ms("100:00:00.000")}));
  const auto fails = [](std::string_view bad, std::string_view message) {
    ExpectThrowMessage<ReadError>([&] { ParseWebVtt(bad, "x.vtt"); }, message);
  };
  fails("WEBVTTX\n\n00:01.000 --> 00:02.000\n", "x.vtt: line 1: the first line is not WEBVTT");
  fails("WEBVTT\n\n00:01.5 --> 00:02.000\nA\n",
        "x.vtt: line 3: malformed cue timing \"00:01.5 --> 00:02.000\"");
  fails("WEBVTT\n\n1\n00:60.000 --> 01:00.000\n", "x.vtt: line 4: malformed cue timing");
  fails("WEBVTT\n\nid\ntext\n", "x.vtt: line 4: expected a cue timing");
  fails("WEBVTT\n\nNOTE only\n", "x.vtt: there is no cue");
}

TEST(TimeList, ShowsHoursOnlyFromAnHourAndNotesTheRulesOfVideoSites) {
  const TitleChapters two{{{Ms("00:00:05.900"), "Intro", ""}, {Ms("00:09:59.999"), "", ""}},
                          Ms("00:10:05.000")};
  EXPECT_EQ(WriteTimeList(two), "0:05 Intro\n9:59 Chapter 2\n");
  EXPECT_EQ(TimeListNotes(two),
            (std::vector<std::string>{
                "the first chapter starts at 0:05; video sites want the first at 0:00",
                "the list has 2 chapters; video sites want at least 3",
                "chapter 2 \"Chapter 2\" lasts 6 s; video sites want at least 10 s"}));
  const TitleChapters three{
      {{Ms("00:00:00.999"), "A", ""}, {Ms("00:00:10.000"), "B", ""}, {Ms("01:02:03.000"), "C", ""}},
      std::nullopt};
  EXPECT_EQ(WriteTimeList(three), "0:00:00 A\n0:00:10 B\n1:02:03 C\n");
  EXPECT_TRUE(TimeListNotes(three).empty());
  // The window shows the notes too: a name's terminal escapes arrive escaped there as well.
  const TitleChapters escapes{{{Ms("00:00:00.000"), "\x1b]0;owned\x07", ""},
                               {Ms("00:00:01.000"), "", ""},
                               {Ms("00:01:00.000"), "", ""}},
                              std::nullopt};
  EXPECT_EQ(TimeListNotes(escapes).at(0),
            "chapter 1 \"\\x1b]0;owned\\x07\" lasts 1 s; video sites want at least 10 s");
}

TEST(FfmpegKeyFrames, WritesTheStartOfEachChaptersFrame) {
  const TitleChapters title{{{Ms("00:00:00.000"), "", ""},
                             {Ms("00:00:00.042"), "", ""},
                             {Ms("00:00:05.005"), "", ""},
                             {Ms("00:20:00.981"), "", ""}},
                            std::nullopt};
  // Frame 1 at 24/1.001 starts at 41.708 ms: 0.041, not the chapter's rounded 0.042.
  EXPECT_EQ(WriteFfmpegKeyFrames(title, 24 / 1.001), "0.000,0.041,5.005,1200.991");
  EXPECT_EQ(WriteFfmpegKeyFrames(title, 25), "0.000,0.040,5.000,1201.000");
}

}  // namespace
}  // namespace markwright::testing
