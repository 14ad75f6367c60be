// Files that only start like media files, and a reading child that misbehaves, end in a read
// error with a message within the deadline, never in a hang or a crash.
#include <gtest/gtest.h>

#include <random>

#include "readers/chapter_limit.h"
#include "readers/media_file_reader.h"
#include "support/chapter_times.h"
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
    ExpectThrowMessage<ReadError>(
        [&] { ReadMediaFileChapters(folder / "x.mkv", std::chrono::seconds(1)); }, message);
    unsetenv("MARKWRIGHT_CHILD_TEST");
  }
}

// What libmediainfo 22.12 gives for chapters mkvmerge stored: no language for "und", the time for
// a chapter without a name, a BCP 47 tag, several names, a name with ':' of its own.
TEST(MediaFileReader, LibraryValuesGiveNamesAndLanguages) {
  EXPECT_EQ(MediaFileTitle({"Matroska", "4000.6", "00:00:00.000", "und", "Menu For", "1",
                            "00:00:01.000", "00:00:01.000", "00:00:01.500", "pt-BR:x - y: z",
                            "00:00:02.000", "en:One - de:Zwei", "01:02:03.456", "haw:a:b"},
                           "x.mkv"),
            (TitleChapters{{{Ms("00:00:00.000"), "und", ""},
                            {Ms("00:00:01.000"), "", ""},
                            {Ms("00:00:01.500"), "x - y: z", "pt-BR"},
                            {Ms("00:00:02.000"), "One", "en"},
                            {Ms("01:02:03.456"), "a:b", "haw"}},
                           Ms("00:00:04.001")}));
  // Only Matroska names carry a language.
  EXPECT_EQ(MediaFileTitle({"MPEG-4", "", "00:00:00.000", "en:One"}, "x.mp4"),
            (TitleChapters{{{Ms("00:00:00.000"), "en:One", ""}}, std::nullopt}));
}

TEST(MediaFileReader, MoreChaptersThanAnyTitleAreRefused) {
  std::vector<std::string> texts = {"MPEG-4", ""};
  texts.resize(texts.size() + 2 * (kMaxChapters + 1), "00:00:00.000");
  ExpectThrowMessage<ReadError>([&] { MediaFileTitle(texts, "x.mp4"); },
                                "x.mp4: more than 1,000,000 chapters in the file");
}

}  // namespace
}  // namespace markwright::testing
