// ffmpeg and mutagen read the chapters we write into MP3, Opus, FLAC and Ogg Vorbis files, whose
// audio and other tags stay as they were; the chapters ffmpeg writes into them read back.
#include <fstream>

#include <tuple>

#include "peers/peer_fixture.h"
#include "support/temp_dir.h"

namespace markwright::testing {
namespace {

using AudioPeer = PeerTest;

TEST_F(AudioPeer, FfmpegAndMutagenReadOurChaptersAndTheAudioStaysTheSame) {
  if (Missing("ffmpeg ffprobe /usr/bin/python3")) GTEST_SKIP() << "ffmpeg is not installed";
  std::ofstream(folder_ / "theirs.ffmeta", std::ios::binary)
      << ";FFMETADATA1\ntitle=Song\nartist=Band\n[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\nEND=2000\n"
         "title=Theirs one\n[CHAPTER]\nTIMEBASE=1/1000\nSTART=2000\nEND=5000\ntitle=Theirs two\n";
  std::ofstream(folder_ / "ours.txt", std::ios::binary)
      << "CHAPTER01=00:00:00.000\nCHAPTER01NAME=Intro\nCHAPTER02=00:00:01.500\n"
         "CHAPTER02NAME=Überraschung 日本\nCHAPTER03=00:00:03.250\nCHAPTER03NAME=The End; a=b\n";
  const std::string mark = "'" MARKWRIGHT_EXE "'";
  for (const auto& [file, codec, key] :
       {std::tuple{"x.mp3", "", "ID3"}, std::tuple{"x.opus", "", "VorbisComment"},
        std::tuple{"x.flac", "", "VorbisComment"},
        std::tuple{"x.ogg", "-c:a libvorbis", "VorbisComment"}}) {
    SCOPED_TRACE(file);
    const std::string name = file;
    Run("ffmpeg -v error -f lavfi -i sine=d=5 -i theirs.ffmeta -map 0 -map_metadata 1 "
        "-map_chapters 1 " +
        std::string(codec) + " " + name);
    // ffmpeg 5.1 writes the chapters of MP3 and Opus files only; mutagen writes the comments.
    if (!name.ends_with(".mp3") && !name.ends_with(".opus")) {
      Run("/usr/bin/python3 -c \"import mutagen\nf = mutagen.File('" + name +
          "')\nf.update(CHAPTER001='00:00:00.000', CHAPTER001NAME='Theirs one', "
          "CHAPTER002='00:00:02.000', CHAPTER002NAME='Theirs two')\nf.save()\"");
    }
    Run(mark + " -i " + name + " -o theirs.txt -f OGG");
    EXPECT_EQ(ReadFile(folder_ / "theirs.txt"),
              "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=Theirs one\r\n"
              "CHAPTER02=00:00:02.000\r\nCHAPTER02NAME=Theirs two\r\n");
    const std::string md5 = "ffmpeg -v error -i " + name + " -map 0:a -c copy -f md5 -";
    const std::string audio = Run(md5);
    Run(mark + " -i ours.txt -o " + name + " -f " + key);
    EXPECT_EQ(Run(md5), audio);
    EXPECT_EQ(Run("ffprobe -v error -show_entries chapter=start_time:chapter_tags=title -of "
                  "csv=p=0 " +
                  name),
              "0.000000,Intro\n1.500000,Überraschung 日本\n3.250000,The End; a=b\n");
    // Vorbis comment names are read without regard to case; TagLib writes them in upper case.
    EXPECT_EQ(Run("ffprobe -v error -show_entries format_tags=title,artist:stream_tags=title,"
                  "artist -of default=nw=1:nk=1 " +
                  name + " | sort | tr -d '\\n'"),
              "BandSong");
  }
  EXPECT_EQ(Run("/usr/bin/python3 -c \"from mutagen.id3 import ID3\nt = ID3('x.mp3')\n"
                "print([(c.element_id, c.child_element_ids, int(c.flags)) for c in "
                "t.getall('CTOC')])\nprint([(c.element_id, c.start_time, str(c.sub_frames['TIT2']))"
                " for c in t.getall('CHAP')])\""),
            "[('toc', ['chp0', 'chp1', 'chp2'], 3)]\n[('chp0', 0, 'Intro'), ('chp1', 1500, "
            "'Überraschung 日本'), ('chp2', 3250, 'The End; a=b')]\n");
}

}  // namespace
}  // namespace markwright::testing
