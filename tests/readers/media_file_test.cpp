// Files that only start like media files, and a reading child that misbehaves, end in a read
// error with a message within the deadline, never in a hang or a crash.
#include <gtest/gtest.h>

#include <random>

#include "readers/chapter_limit.h"
#include "readers/media_file_reader.h"
#include "support/expect_throw_message.h"
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
            (TitleChapters{{{"00:00:01.000", "ab:cd", ""},
                            {"00:00:00.000", "", "pt-BR"},
                            {"01:02:03.456", "en:One - Zwei", "en"}},
                           "00:00:04.001"}));
  EXPECT_EQ(
      MediaFileTitle(
          Answer("MPEG-4", "",
                 {{"00:00:00.000", "en:One"}, {"Menu For", "1"}, {"00:00:01.000", "00:00:01.000"}}),
          "x.mp4"),
      (TitleChapters{{{"00:00:00.000", "en:One", ""}, {"00:00:01.000", "", ""}}, ""}));
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

TEST(MediaFileReader, MoreChaptersThanAnyTitleAreRefused) {
  MediaInfoAnswer answer = Answer("MPEG-4", "", {});
  answer.field_names.resize(kMaxChapters + 1, "00:00:00.000");
  answer.field_values = answer.field_names;
  ExpectThrowMessage<ReadError>([&] { MediaFileTitle(answer, "x.mp4"); },
                                "x.mp4: more than 1,000,000 chapters in the file");
}

}  // namespace
}  // namespace markwright::testing
