// cuetools reads our CUE sheet (tracks, titles, breakpoints) and what it writes of it reads back;
// Python's json and XML parsers read our Podcasting 2.0 JSON and our Podlove XML, namespace
// included, with the times, names, links and pictures we wrote.
#include <fstream>

#include "peers/peer_fixture.h"
#include "readers/cue_reader.h"
#include "support/chapter_times.h"
#include "writers/cue_writer.h"
#include "writers/podcast_writers.h"

namespace markwright::testing {
namespace {

TitleChapters Title() {
  TitleChapters title{{{Ms("00:00:00.000"), "Tom & \"Jerry\" <live>", ""},
                       {Ms("00:05:10.520"), "Глава 1", ""},
                       {Ms("01:02:03.004"), "", ""}},
                      Ms("01:10:00.000")};
  title.chapters[1].link = "https://example.org/?a=1&b=2";
  title.chapters[1].image = "https://example.org/1.jpg";
  title.chapters[2].hidden = true;
  return title;
}

using PodcastCuePeer = PeerTest;

TEST_F(PodcastCuePeer, CuetoolsReadOurCueSheet) {
  if (Missing("cueprint cuebreakpoints cueconvert")) GTEST_SKIP() << "cuetools is not installed";
  const std::string sheet = WriteCueSheet(Title());
  std::ofstream(folder_ / "ours.cue", std::ios::binary) << sheet;
  EXPECT_EQ(Run("cuebreakpoints ours.cue"), "5:10.39\n62:03.00\n");
  EXPECT_EQ(Run("cueprint -d '' -t '%n|%t\\n' ours.cue"),
            "1|Tom & 'Jerry' <live>\n2|Глава 1\n3|Chapter 3\n");
  // cuetools' own form of the sheet: other spacing, blank lines, the same tracks.
  const TitleChapters back = ParseCueSheet(Run("cueconvert -i cue -o cue ours.cue"), "cueconvert");
  EXPECT_EQ(back.media_file, "audio.wav");
  ASSERT_EQ(back.chapters.size(), 3u);
  EXPECT_EQ(back.chapters[2].start, Ms("01:02:03.000"));  // the nearest of 75 frames a second
  EXPECT_EQ(back.chapters[1].name, "Глава 1");
}

TEST_F(PodcastCuePeer, PythonReadsOurJsonAndPodloveXml) {
  if (Missing("python3")) GTEST_SKIP() << "python3 is not installed";
  std::ofstream(folder_ / "ours.json", std::ios::binary) << WritePodcastJsonChapters(Title());
  std::ofstream(folder_ / "ours.xml", std::ios::binary) << WritePodloveChapters(Title());
  EXPECT_EQ(
      Run("python3 -c 'import json; d = json.load(open(\"ours.json\")); "
          "print(d[\"version\"]); [print(c[\"startTime\"], c[\"title\"], c.get(\"url\"), "
          "c.get(\"img\"), c.get(\"toc\", True), c.get(\"endTime\")) for c in d[\"chapters\"]]'"),
      "1.2.0\n0 Tom & \"Jerry\" <live> None None True None\n"
      "310.52 Глава 1 https://example.org/?a=1&b=2 https://example.org/1.jpg True None\n"
      "3723.004 Chapter 3 None None False 4200\n");
  EXPECT_EQ(
      Run("python3 -c 'import xml.etree.ElementTree as E; r = E.parse(\"ours.xml\").getroot(); "
          "n = \"{http://podlove.org/simple-chapters}\"; print(r.tag == n + \"chapters\", "
          "r.get(\"version\")); [print(c.get(\"start\"), c.get(\"title\"), c.get(\"href\"), "
          "c.get(\"image\")) for c in r.findall(n + \"chapter\")]'"),
      "True 1.2\n00:00:00.000 Tom & \"Jerry\" <live> None None\n"
      "00:05:10.520 Глава 1 https://example.org/?a=1&b=2 https://example.org/1.jpg\n"
      "01:02:03.004 Chapter 3 None None\n");
}

}  // namespace
}  // namespace markwright::testing
