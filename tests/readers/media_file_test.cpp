// Files that only start like media files, and a reading child that misbehaves, end in a read
// error with a message within the deadline, never in a hang or a crash.
#include <gtest/gtest.h>

#include <random>

#include "readers/chapter_limit.h"
#include "readers/matroska_file.h"
#include "readers/media_file_reader.h"
#include "support/chapter_times.h"
#include "support/expect_throw_message.h"
#include "support/matroska_builder.h"
#include "support/mediainfo_child_program.h"
#include "support/temp_dir.h"

namespace markwright::testing {
namespace {

TEST(MediaFileReader, DamagedFilesAndBadChildrenGiveReadErrors) {
  const TempDir folder;
  std::mt19937 noise(12);
  std::string bytes(20'000, '\0');
  for (char& byte : bytes) byte = static_cast<char>(noise());
  for (const std::string& magic : {std::string("\x1A\x45\xDF\xA3\xA3\x42\x86\x81\x01", 9),
                                   std::string("\0\0\0\030ftypisom", 12)}) {
    const auto file = folder.Write("x.mkv", magic + bytes);
    ExpectThrowMessage<ReadError>([&] { ReadMediaFileChapters(file); },
                                  file.string() + ": no chapters in the file");
  }
  for (const auto& [how, message] :
       {std::pair{"hang", "libmediainfo did not finish reading the file within 1 s"},
        std::pair{"crash", "libmediainfo failed on the file (is it damaged?)"}}) {
    setenv("MARKWRIGHT_CHILD_TEST", how, 1);
    SetMediaInfoChildProgram(MARKWRIGHT_CHILD_DOUBLE);
    ExpectThrowMessage<ReadError>(
        [&] { ReadMediaFileChapters(folder / "x.mkv", std::chrono::seconds(1)); }, message);
    SetMediaInfoChildProgram(MARKWRIGHT_EXE);
    unsetenv("MARKWRIGHT_CHILD_TEST");
  }
}

// An answer about a media file with these fields (name, value) from libmediainfo, or these
// chapters as libmatroska read them (start in ns, name, language).
MediaInfoAnswer Answer(std::string format, std::string duration,
                       std::vector<std::pair<std::string, std::string>> fields,
                       std::vector<StoredChapter> stored = {}) {
  MediaInfoAnswer answer{
      {std::move(format), std::move(duration)}, {}, "", "", 0, {}, {}, stored, !stored.empty()};
  for (auto& [name, value] : fields) {
    answer.field_names.push_back(std::move(name));
    answer.field_values.push_back(std::move(value));
  }
  return answer;
}

// Matroska chapters keep their names whole, ':' and all, whatever their language; starts are cut
// to whole milliseconds, as libmediainfo cut them. libmediainfo's values are whole names; a
// chapter without a name shows its time in its place there.
TEST(MediaFileReader, AnswersGiveNamesAndLanguages) {
  EXPECT_EQ(MediaFileTitle(Answer("Matroska", "4000.6", {},
                                  {{"1000999999", "ab:cd", ""},
                                   {"0", "", "pt-BR"},
                                   {"3723456000000", "en:One - Zwei", "en"}}),
                           "x.mkv"),
            (TitleChapters{{{Ms("00:00:01.000"), "ab:cd", ""},
                            {Ms("00:00:00.000"), "", "pt-BR"},
                            {Ms("01:02:03.456"), "en:One - Zwei", "en"}},
                           Ms("00:00:04.001")}));
  EXPECT_EQ(
      MediaFileTitle(
          Answer("MPEG-4", "",
                 {{"00:00:00.000", "en:One"}, {"Menu For", "1"}, {"00:00:01.000", "00:00:01.000"}}),
          "x.mp4"),
      (TitleChapters{{{Ms("00:00:00.000"), "en:One", ""}, {Ms("00:00:01.000"), "", ""}},
                     std::nullopt}));
  ExpectThrowMessage<ReadError>(
      [&] {
        MediaFileTitle(Answer("Matroska", "", {}, {{"9007199254740992", "x", ""}}), "x.mkv");
      },
      "x.mkv: libmatroska failed on the file (is it damaged?)");
  MediaInfoAnswer names_only = Answer("MPEG-4", "", {{"00:00:00.000", "One"}});
  names_only.field_values.clear();
  ExpectThrowMessage<ReadError>([&] { MediaFileTitle(names_only, "x.mp4"); },
                                "x.mp4: libmediainfo failed on the file (is it damaged?)");
}

// The default edition's top-level atoms, each with its first name and that name's language (the
// IETF tag first, else the two-letter form of ChapLanguage, none for "und"), the Info's length;
// chapters found beyond a Cluster by stepping over it, or through the SeekHead where the Cluster's
// size is unknown.
// Each menu's fields follow the earlier menus'; the first menu with chapters is read by default.
// An edition's row tells what the child left out of it.
TEST(MediaFileReader, MenusAndWhatWasLeftOutComeFromTheAnswer) {
  MediaInfoAnswer menus = Answer("MPEG-4", "", {{"Menu For", "1"}, {"00:00:01.000", "B"}},
                                 {{"", "menu", "1"}, {"", "menu", "1"}, {"", "menu", "0"}});
  menus.matroska = false;
  EXPECT_EQ(MediaFileMenuCount(menus), 3u);
  EXPECT_EQ(DefaultMediaFileMenu(menus), 1u);
  EXPECT_EQ(MediaFileTitle(menus, "x.m4b"),
            (TitleChapters{{{Ms("00:00:01.000"), "B", ""}}, std::nullopt}));
  EXPECT_TRUE(MediaFileTitle(menus, "x.m4b", 2, true).chapters.empty());
  ExpectThrowMessage<ReadError>([&] { MediaFileTitle(menus, "x.m4b", 3, true); },
                                "x.m4b: no chapters in the file");
  const MediaInfoAnswer editions =
      Answer("Matroska", "", {}, {{"", "", ""}, {"", "d", "2,1"}, {"0", "a", ""}});
  EXPECT_EQ(MediaFileTitle(editions, "x.mkv").left_out,
            (LeftOutOnReading{.other_editions = 1, .nested_chapters = 2, .other_names = 1}));
  EXPECT_EQ(MediaFileMenuCount(editions), 0u);
}

TEST(MatroskaFile, EditionsNamesLanguagesAndWhereTheChaptersAre) {
  const std::string french =
      Ebml(kChapterDisplay,
           Ebml(kChapString, "x") + Ebml(kChapLanguage, "fre") + Ebml(kChapLanguageIetf, "fr-CA"));
  const std::string chapters = Ebml(
      kChapters,
      Ebml(kEditionEntry, EbmlUint(kEditionFlagOrdered, 1) + EbmlUint(kEditionFlagHidden, 1) +
                              ChapterAtom(500'000'000, "First")) +
          Ebml(kEditionEntry,
               EbmlUint(kEditionFlagDefault, 1) +
                   ChapterAtom(1'000'999'999, "ab:cd", "und",
                               Ebml(kChapterDisplay, Ebml(kChapString, "zwei"))) +
                   ChapterAtom(1'500'000'000, "off", "ger", ChapterAtom(1'700'000'000, "nested")) +
                   Ebml(kChapterAtom, EbmlUint(kChapterTimeStart, 2'000'000'000) + french) +
                   Ebml(kChapterAtom, EbmlUint(kChapterTimeStart, 2'500'000'000))));
  const std::string info =
      Ebml(kInfo, EbmlUint(kTimestampScale, 500'000) + EbmlFloat(kDuration, 8001.2));
  const std::string cluster = Ebml(kCluster, std::string(64, '\xFF'));
  std::string unknown_size = cluster;
  unknown_size.replace(4, 8, "\x01\xFF\xFF\xFF\xFF\xFF\xFF\xFF");
  const auto seek_head = [&](std::size_t position) {
    return Ebml(kSeekHead, Ebml(kSeek, Ebml(kSeekId, BigEndian(kChapters, 4)) +
                                           EbmlUint(kSeekPosition, position)));
  };
  const std::size_t seeking = seek_head(0).size() + info.size() + unknown_size.size();
  const TempDir folder;
  const std::vector<MatroskaChapter> expected = {{1'000'999'999, "ab:cd", ""},
                                                 {1'500'000'000, "off", "de"},
                                                 {2'000'000'000, "x", "fr-CA"},
                                                 {2'500'000'000, "", ""}};
  for (const std::string& segment : {info + chapters, info + cluster + chapters,
                                     seek_head(seeking) + info + unknown_size + chapters}) {
    const auto file = ReadMatroskaBytes(MatroskaBytes("webm", segment), "x.webm");
    ASSERT_TRUE(file && DefaultEdition(*file));
    EXPECT_EQ(DefaultEdition(*file)->chapters, expected);
    EXPECT_EQ(file->editions.front().chapters.size(), 1);
    EXPECT_TRUE(file->editions.front().ordered && file->editions.front().hidden);
    EXPECT_FALSE(file->editions.back().ordered || file->editions.back().hidden);
    // Every edition reaches the parent, each after a row of its flags; the default one is read.
    const MediaInfoAnswer answer =
        AnswerMediaInfoRequest({.options = {},
                                .general = {"Format", "Duration"},
                                .video = {},
                                .menu = {},
                                .fields = {},
                                .matroska_chapters = true},
                               folder.Write("x.webm", MatroskaBytes("webm", segment)));
    ASSERT_EQ(MediaFileEditions(answer).size(), 2u);
    EXPECT_TRUE(MediaFileEditions(answer)[0].hidden && MediaFileEditions(answer)[1].is_default);
    EXPECT_EQ(MediaFileTitle(answer, "x.webm", 0, false).chapters.size(), 1u);
    EXPECT_EQ(MediaFileTitle(answer, "x.webm", std::nullopt, false).chapters.size(), 4u);
    EXPECT_DOUBLE_EQ(file->duration_milliseconds.value_or(0), 4000.6);
  }
  EXPECT_EQ(ReadMatroskaBytes(MatroskaBytes("webm", info + unknown_size + chapters), "x.webm")
                ->editions.size(),
            0);
  EXPECT_EQ(ReadMatroskaBytes("\0\0\0\030ftypisom", "x.mp4"), std::nullopt);
  EXPECT_EQ(ReadMatroskaBytes(MatroskaBytes("other", chapters), "x.mkv")->editions.size(), 0);
}

// Damage inside the chapters is a read error naming the file and the offset.
TEST(MatroskaFile, DamagedChaptersAreReadErrors) {
  const auto in_chapters = [](const std::string& atoms) {
    return MatroskaBytes("matroska", Ebml(kChapters, Ebml(kEditionEntry, atoms)));
  };
  const std::string whole =
      in_chapters(Ebml(kChapterAtom, EbmlUint(kChapterTimeStart, 0)) + ChapterAtom(1, "a"));
  // Header 30 bytes, Segment 12, Chapters 12, EditionEntry 10: the atom at 64, its start at 73.
  std::string overlong = whole;
  overlong[72] = 10;  // the atom's size, which its start runs past
  for (const auto& [bytes, message] :
       {std::pair{whole.substr(0, whole.size() - 3),
                  "x.mkv: no chapters in the file: it ends inside an element at offset 42"},
        std::pair{overlong,
                  "x.mkv: offset 73: malformed Matroska file: an element runs past the "
                  "one holding it (is it damaged?)"},
        std::pair{in_chapters(Ebml(kChapterAtom, "")),
                  "x.mkv: offset 64: malformed Matroska file: a ChapterAtom without a start"},
        std::pair{in_chapters(ChapterAtom(std::uint64_t{1} << 53)),
                  "offset 73: malformed Matroska file: a ChapterTimeStart beyond 104 days"}}) {
    ExpectThrowMessage<ReadError>([&] { ReadMatroskaBytes(bytes, "x.mkv"); }, message);
  }
}

TEST(MediaFileReader, MoreChaptersThanAnyTitleAreRefused) {
  MediaInfoAnswer answer = Answer("MPEG-4", "", {});
  answer.field_names.resize(kMaxChapters + 1, "00:00:00.000");
  answer.field_values = answer.field_names;
  ExpectThrowMessage<ReadError>([&] { MediaFileTitle(answer, "x.mp4"); },
                                "x.mp4: more than 1,000,000 chapters in the file");
  std::string atoms;
  const std::string atom = Ebml(kChapterAtom, EbmlUint(kChapterTimeStart, 0));
  atoms.reserve(atom.size() * (kMaxChapters + 1));
  for (std::size_t i = 0; i <= kMaxChapters; ++i) atoms += atom;
  ExpectThrowMessage<ReadError>(
      [&] {
        ReadMatroskaBytes(MatroskaBytes("matroska", Ebml(kChapters, Ebml(kEditionEntry, atoms))),
                          "x.mkv");
      },
      "x.mkv: more than 1,000,000 chapters in the file");
}

}  // namespace
}  // namespace markwright::testing
