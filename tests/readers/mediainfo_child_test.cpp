// The reading child's parent side, driven through the readers with a stand-in child that
// misbehaves as MARKWRIGHT_CHILD_TEST says; what travels between the two.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <memory>
#include <thread>

#include "core/timestamp.h"
#include "readers/chapter_limit.h"
#include "readers/dvd_reader.h"
#include "readers/media_file_reader.h"
#include "readers/mediainfo_wire.h"
#include "readers/thumbnails.h"
#include "support/chapter_times.h"
#include "support/expect_throw_message.h"
#include "support/mediainfo_child_program.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

using namespace std::chrono_literals;

const std::string kTitleSet =
    std::string(MARKWRIGHT_SOURCE_DIR) + "/tests/fixtures/dvd/pal_chapters/VIDEO_TS/VTS_01_0.IFO";

// Sets MARKWRIGHT_CHILD_TEST while it lives, and with a stand-in child when asked.
class ActingLike {
 public:
  ActingLike(const char* how, const char* program = MARKWRIGHT_CHILD_DOUBLE) {
    setenv("MARKWRIGHT_CHILD_TEST", how, 1);
    SetMediaInfoChildProgram(program);
  }
  ~ActingLike() {
    unsetenv("MARKWRIGHT_CHILD_TEST");
    SetMediaInfoChildProgram(MARKWRIGHT_EXE);
  }
};

testing::Times ReadActingLike(const char* how, std::chrono::milliseconds deadline = 1s) {
  const ActingLike acting(how);
  return testing::TimesOf(ReadDvdTitleSet(kTitleSet, deadline));
}

TEST(MediaInfoChild, ABadChildIsStoppedAndReapedAndAGoodOneGetsNothingElse) {
  testing::ExpectThrowMessage<ReadError>(
      [] { ReadActingLike("hang"); },
      kTitleSet + ": libmediainfo did not finish reading the title set within 1 s");
  // Its own read error is passed on; its whole answer does not count when it then dies by a
  // signal.
  testing::ExpectThrowMessage<ReadError>([] { ReadActingLike("refuse"); },
                                         kTitleSet + ": no chapters here, says the child");
  testing::ExpectThrowMessage<ReadError>([] { ReadActingLike("crash"); },
                                         "libmediainfo failed on the title set (is it damaged?)");
  // Far more than a pipe holds: read while the child writes.
  {
    const ActingLike acting("huge");
    const testing::Times huge = testing::TimesOf(ReadMediaFileChapters(kTitleSet, 10s));
    ASSERT_EQ(huge.size(), 300'000u);
    EXPECT_EQ(huge[299'999], FormatTimestamp(299'999));
  }
  // A descriptor left open across exec by the parent does not reach the child.
  const int inherited = open("/dev/null", O_RDONLY);
  EXPECT_EQ(ReadActingLike("descriptors"),
            (testing::Times{"00:00:00.000", "00:00:00.001", "00:00:00.002", "00:00:00.003"}));
  close(inherited);
  // Every child above reaped, none left as a zombie.
  EXPECT_TRUE(waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD);
}

// The program itself has no way to make its child misbehave.
TEST(MediaInfoChild, TheProgramsChildHasNoTestSwitch) {
  testing::TempDir folder;
  const ActingLike acting("hang", MARKWRIGHT_EXE);
  const auto run = testing::RunProcess(
      MARKWRIGHT_EXE, {"-i", kTitleSet, "-o", (folder / "o").string(), "-f", "ogg"}, folder.path());
  EXPECT_EQ(run.exit_status, 0) << run.errors;
  EXPECT_EQ(testing::ReadFile(folder / "o").substr(0, 24), "CHAPTER01=00:00:00.000\r\n");
}

// A parent killed while its child hangs takes the child along.
TEST(MediaInfoChild, DiesWithItsParent) {
  const char* argv[] = {"double", "parent", kTitleSet.c_str(), nullptr};
  const char* environment[] = {"MARKWRIGHT_CHILD_TEST=hang", nullptr};
  pid_t parent = 0;
  ASSERT_EQ(posix_spawn(&parent, MARKWRIGHT_CHILD_DOUBLE, nullptr, nullptr,
                        const_cast<char**>(argv), const_cast<char**>(environment)),
            0);
  const std::string children =
      "/proc/" + std::to_string(parent) + "/task/" + std::to_string(parent) + "/children";
  pid_t child = 0;
  for (int i = 0; i < 500 && child == 0; ++i) {
    std::this_thread::sleep_for(10ms);
    std::ifstream(children) >> child;
  }
  ASSERT_NE(child, 0) << "the parent started no reading child";
  kill(parent, SIGKILL);
  waitpid(parent, nullptr, 0);
  // Gone, or a zombie waiting for whoever took it in.
  const std::string stat = "/proc/" + std::to_string(child) + "/stat";
  std::string field, state;
  for (int i = 0; i < 500 && std::ifstream(stat) >> field >> field >> state && state != "Z"; ++i) {
    std::this_thread::sleep_for(10ms);
  }
  const bool dead = !std::filesystem::exists(stat) || state == "Z";
  EXPECT_TRUE(dead);
  if (!dead) kill(child, SIGKILL);
}

TEST(MediaInfoChild, RequestsAndAnswersTravelWholeOrNotAtAll) {
  const MediaInfoRequest request{.options = {{"ParseSpeed", "0"}},
                                 .general = {"Format", "Duration"},
                                 .video = {"Standard"},
                                 .menu = MediaInfoRequest::Menu::kEach,
                                 .fields = MediaInfoRequest::Fields::kNamesAndValues,
                                 .matroska_chapters = true,
                                 .matroska_flatten_nested = true,
                                 .matroska_language = "de-CH"};
  EXPECT_EQ(RequestFromTexts(SplitRequest(JoinRequest(RequestTexts(request)))), request);
  EXPECT_EQ(RequestFromTexts({"general:Format", "fields:everything"}), std::nullopt);
  const MediaInfoAnswer answer{
      {"Matroska", ""},   {"PAL"}, "94", "96", 94, {"a", ""}, {"en:b", "c"},
      {{"0", "b", "en"}}, true};
  EXPECT_EQ(AnswerFromTexts(AnswerTexts(answer), request), answer);
  std::vector<std::string> texts = AnswerTexts(answer);
  texts.pop_back();
  EXPECT_EQ(AnswerFromTexts(texts, request), std::nullopt);
  texts = AnswerTexts(answer);
  texts[6] = "3";  // more fields than sent
  EXPECT_EQ(AnswerFromTexts(texts, request), std::nullopt);
  const auto reply = ParseReply(AnswerReply({"x", ""}));
  ASSERT_TRUE(reply && !reply->failed);
  EXPECT_EQ(reply->texts, (std::vector<std::string>{"x", ""}));
  EXPECT_EQ(ParseReply(AnswerReply({"x"}).substr(0, 12)), std::nullopt);
  // Audio tags to write travel as input, any byte in them; the answer read back is the tags.
  MediaInfoRequest audio;
  audio.audio_container = kAudioMp3;
  audio.audio_write = {{kAudioChapterFrame, "c\n1", std::string("\0\n", 2), 1, -1}};
  EXPECT_EQ(RequestFromTexts(SplitRequest(JoinRequest(RequestTexts(audio))),
                             *InputTexts(InputBytes(RequestInputTexts(audio)))),
            audio);
  EXPECT_EQ(RequestFromTexts({"audio:1", "audio-write"}, {"2", "c", "t", "1"}), std::nullopt);
  MediaInfoAnswer tags;
  tags.audio = AudioTags{*audio.audio_write, 5000};
  audio.audio_write.reset();
  EXPECT_EQ(AnswerFromTexts(AnswerTexts(tags), audio), tags);
  // Thumbnails: the request's times, and parts before the answer, each taken once whole.
  MediaInfoRequest pictures;
  pictures.video_frames = true;
  pictures.thumbnail_times = {0, 9'999'999'999};
  pictures.thumbnail_width = 160;
  EXPECT_EQ(RequestFromTexts(SplitRequest(JoinRequest(RequestTexts(pictures)))), pictures);
  EXPECT_EQ(RequestFromTexts({"thumbnails:160:1,,2"}), std::nullopt);
  EXPECT_EQ(RequestFromTexts({"thumbnails:0:1"}), std::nullopt);
  const unsigned char rgb[6] = {1, 2, 3, 4, 5, 6};
  const std::string stream = PartReply(ThumbnailTexts({1, 40.5, 1, 1, 2, rgb})) + AnswerReply({});
  const auto part = LeadingPart(stream);
  ASSERT_TRUE(part.has_value());
  EXPECT_EQ(LeadingPart(stream.substr(0, part->length - 1)), std::nullopt);
  EXPECT_EQ(LeadingPart(stream.substr(part->length)), std::nullopt);
  EXPECT_EQ(ThumbnailFromTexts(part->texts, 1, 2),
            (Thumbnail{1, 40.5, true, 1, 2, {1, 2, 3, 4, 5, 6}}));
  EXPECT_EQ(ThumbnailFromTexts(part->texts, 1, 1), std::nullopt);  // no second time asked for
  EXPECT_EQ(ThumbnailFromTexts(part->texts, 2, 2), std::nullopt);  // not as wide as asked
}

// The fields the child reads, and the chapter limit there rather than a silent stop.
TEST(MediaInfoChild, ChapterFieldsAreThoseOfTheMenusPositions) {
  using Range = std::optional<std::pair<std::size_t, std::size_t>>;
  EXPECT_EQ(ChapterFieldRange("94", "99", "99", "x"), (Range{{94, 99}}));
  EXPECT_EQ(ChapterFieldRange(" 94 ", "96 fields", "97", "x"), (Range{{94, 97}}));
  EXPECT_EQ(ChapterFieldRange("", "", "90", "x"), std::nullopt);
  EXPECT_EQ(ChapterFieldRange("94", "94", "94", "x"), std::nullopt);
  EXPECT_EQ(ChapterFieldRange("0", std::to_string(kMaxChapters + 1), "", "x"),
            (Range{{0, kMaxChapters + 1}}));
  testing::ExpectThrowMessage<ReadError>(
      [] { ChapterFieldRange("94", std::to_string(kMaxChapters + 96), "", "x.mkv"); },
      "x.mkv: more than 1,000,000 chapters in the file");
}

}  // namespace
}  // namespace markwright
