// mkvmerge and ffmpeg take our Matroska chapter XML and ffmpeg metadata, names included, and
// what mkvextract and ffmpeg write from their files reads back as the chapters we wrote; names
// of a Latin-1 file reach mkvmerge through our XML as they do from that file; ffprobe and we read
// the same numbers from hand-made metadata files.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "core/timestamp.h"
#include "peers/peer_fixture.h"
#include "readers/ffmetadata_reader.h"
#include "readers/matroska_xml_reader.h"
#include "readers/ogg_reader.h"
#include "support/chapter_times.h"
#include "writers/ffmetadata_writer.h"
#include "writers/matroska_xml_writer.h"

namespace markwright::testing {
namespace {

// Names that need escaping in one format or the other, non-Latin letters and no name, in time
// order, since both tools order chapters by time.
const TitleChapters kTitle{{{Ms("00:00:00.000"), "Tom & Jerry <live> \"q\" 'a'", ""},
                            {Ms("00:00:01.500"), "a=b;c#d\\e\nf", ""},
                            {Ms("00:00:02.001"), "", ""},
                            {Ms("00:00:03.250"), "Глава 日本語 Ünïcode", ""}},
                           Ms("00:00:04.000")};

using NamedFormatsPeer = PeerTest;

TEST_F(NamedFormatsPeer, MkvmergeTakesOurXmlAndMkvextractGivesItBack) {
  if (Missing("mkvmerge mkvextract")) GTEST_SKIP() << "MKVToolNix is not installed";
  std::ofstream(folder_ / "ours.xml", std::ios::binary) << WriteMatroskaChapters(kTitle);
  Run("mkvmerge -o x.mks --chapters ours.xml");
  EXPECT_EQ(ParseMatroskaChapters(Run("mkvextract x.mks chapters -"), "x"), kTitle);
  // The OGG form mkvextract writes carries the times and the names, one line each; a nameless
  // chapter gets mkvextract's own placeholder there.
  TitleChapters one_line = kTitle;
  one_line.chapters[1].name = "a=b;c#d\\e f";
  one_line.length.reset();
  std::ofstream(folder_ / "one_line.xml", std::ios::binary) << WriteMatroskaChapters(one_line);
  Run("mkvmerge -o y.mks --chapters one_line.xml");
  TitleChapters simple = ParseOggChapters(Run("mkvextract y.mks chapters --simple -"), "simple");
  ASSERT_EQ(simple.chapters.size(), 4u);
  simple.chapters[2].name.clear();
  EXPECT_EQ(simple, one_line);
}

TEST_F(NamedFormatsPeer, MkvmergeReadsOurXmlOfALatin1FileAsItReadsThatFile) {
  if (Missing("mkvmerge mkvextract")) GTEST_SKIP() << "MKVToolNix is not installed";
  const std::string latin1 =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<Chapters><EditionEntry><ChapterAtom>\n"
      "<ChapterTimeStart>00:00:00.000000000</ChapterTimeStart>\n"
      "<ChapterDisplay><ChapterString>Caf\xE9 \xBB\xA9\xAB</ChapterString></ChapterDisplay>\n"
      "</ChapterAtom></EditionEntry></Chapters>\n";
  std::ofstream(folder_ / "latin1.xml", std::ios::binary) << latin1;
  std::ofstream(folder_ / "ours.xml", std::ios::binary)
      << WriteMatroskaChapters(ParseMatroskaChapters(latin1, "latin1.xml"));
  Run("mkvmerge -o theirs.mks --chapters latin1.xml");
  Run("mkvmerge -o ours.mks --chapters ours.xml");
  // mkvmerge gives a chapter without a language its own default; we write "und".
  for (const char* file : {"theirs.mks", "ours.mks"}) {
    const auto read =
        ParseMatroskaChapters(Run("mkvextract " + std::string(file) + " chapters -"), file);
    EXPECT_EQ(read.chapters.at(0).name, "Caf\xC3\xA9 \xC2\xBB\xC2\xA9\xC2\xAB") << file;
  }
}

TEST_F(NamedFormatsPeer, FfmpegTakesOurMetadataAndGivesItBack) {
  if (Missing("ffmpeg ffprobe")) GTEST_SKIP() << "ffmpeg is not installed";
  std::ofstream(folder_ / "ours.ffmeta", std::ios::binary) << WriteFfmetadata(kTitle);
  Run("ffmpeg -v error -f lavfi -i anullsrc=d=5 -i ours.ffmeta -map 0 -map_chapters 1 -c:a "
      "pcm_s16le x.mkv");
  const std::string probed = Run("ffprobe -v error -show_chapters -of json x.mkv");
  std::size_t at = 0;
  for (const std::string_view expected :
       {R"("start_time": "0.000000")", R"("end_time": "1.500000")",
        R"("title": "Tom & Jerry <live> \"q\" 'a'")", R"("start_time": "1.500000")",
        R"("end_time": "2.001000")", R"("title": "a=b;c#d\\e\nf")", R"("start_time": "2.001000")",
        R"("end_time": "3.250000")", R"("start_time": "3.250000")", R"("end_time": "4.000000")",
        R"("title": "Глава 日本語 Ünïcode")"}) {
    at = probed.find(expected, at);
    ASSERT_NE(at, std::string::npos) << expected << " not in order in\n" << probed;
  }
  // Four chapters, three with tags: the nameless one has no title, not an empty one.
  EXPECT_EQ(std::count(probed.begin(), probed.end(), '{'), 1 + 4 + 3) << probed;
  const std::string back = Run("ffmpeg -v error -i x.mkv -f ffmetadata -");
  EXPECT_EQ(ParseFfmetadata(back, "ffmpeg"), kTitle);
}

// Each chapter ffprobe lists as "start,end" in seconds, as our timestamps (to the millisecond),
// the start of each and the latest end as the length.
TitleChapters Probed(const std::string& csv) {
  const auto milliseconds = [](const std::string& seconds) {
    return std::int64_t{std::llround(std::stod(seconds) * 1000)};
  };
  TitleChapters title;
  std::istringstream lines(csv);
  for (std::string line; std::getline(lines, line);) {
    const auto comma = line.find(',');
    title.chapters.push_back({milliseconds(line.substr(0, comma)), "", ""});
    const std::int64_t end = milliseconds(line.substr(comma + 1));
    if (!title.length || end > *title.length) title.length = end;
  }
  return title;
}

TEST_F(NamedFormatsPeer, FfprobeAndWeReadTheSameNumbersFromHandMadeMetadata) {
  if (Missing("ffprobe")) GTEST_SKIP() << "ffmpeg is not installed";
  // Blanks around numbers, signs, fractions and units after them, as hand-made files have them.
  std::ofstream(folder_ / "hand.ffmeta", std::ios::binary)
      << ";FFMETADATA1\n[CHAPTER]\nTIMEBASE=1/1000 \nSTART= 45000\nEND=1065451.0\n"
         "[CHAPTER]\nTIMEBASE= 1/ 90000 (PAL)\nSTART=+95891040 \nEND=\t96000000ms\n"
         "[CHAPTER]\nSTART=1066667000000\r\nEND=1070000000000\r\n";
  const std::string csv =
      Run("ffprobe -v error -show_entries chapter=start_time,end_time -of csv=p=0 hand.ffmeta");
  TitleChapters probed = Probed(csv);
  probed.left_out.end_times = 1;  // the first chapter ends long after the second starts
  ASSERT_EQ(probed.chapters.size(), 3u) << csv;
  std::ostringstream bytes;
  bytes << std::ifstream(folder_ / "hand.ffmeta", std::ios::binary).rdbuf();
  EXPECT_EQ(ParseFfmetadata(bytes.str(), "hand"), probed);
}

TEST_F(NamedFormatsPeer, FfprobeTakesOurMetadataOfAListOutOfOrder) {
  if (Missing("ffprobe")) GTEST_SKIP() << "ffmpeg is not installed";
  // ffmpeg refuses the whole file when one chapter ends before it starts.
  const TitleChapters out_of_order{{{Ms("00:00:10.000"), "b", ""},
                                    {Ms("00:00:00.000"), "a", ""},
                                    {Ms("00:00:30.000"), "d", ""},
                                    {Ms("00:00:20.000"), "c", ""}},
                                   Ms("00:00:40.000")};
  std::ofstream(folder_ / "ours.ffmeta", std::ios::binary) << WriteFfmetadata(out_of_order);
  EXPECT_EQ(Run("ffprobe -v error -show_entries chapter=start_time,end_time -of csv=p=0 "
                "ours.ffmeta"),
            "10.000000,20.000000\n0.000000,10.000000\n30.000000,40.000000\n"
            "20.000000,30.000000\n");
}

}  // namespace
}  // namespace markwright::testing
