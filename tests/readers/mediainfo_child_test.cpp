// The reading child driven through the DVD reader, made to misbehave by MARKWRIGHT_CHILD_TEST.
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
#include "readers/dvd_reader.h"
#include "readers/mediainfo_child.h"
#include "support/chapter_times.h"
#include "support/expect_throw_message.h"
#include "support/mediainfo_child_program.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

using namespace std::chrono_literals;

const std::string kTitleSet =
    std::string(MARKWRIGHT_SOURCE_DIR) + "/tests/fixtures/dvd/pal_chapters/VIDEO_TS/VTS_01_0.IFO";

// The child's answer as the reader makes chapters of it, or as ask takes it.
template <typename Ask>
auto ActingLike(const char* how, std::chrono::milliseconds deadline, Ask ask) {
  setenv("MARKWRIGHT_CHILD_TEST", how, 1);
  const std::unique_ptr<const char, int (*)(const char*)> unset("MARKWRIGHT_CHILD_TEST", unsetenv);
  return ask(kTitleSet, deadline);
}

TitleChapters ReadActingLike(const char* how, std::chrono::milliseconds deadline = 1s) {
  return ActingLike(how, deadline, [](const std::string& path, std::chrono::milliseconds limit) {
    return ReadDvdTitleSet(path, limit);
  });
}

TEST(MediaInfoChild, ABadChildIsStoppedAndReapedAndAGoodOneGetsNothingElse) {
  testing::ExpectThrowMessage<ReadError>(
      [] { ReadActingLike("hang"); },
      kTitleSet + ": libmediainfo did not finish reading the title set within 1 s");
  // Its whole answer does not count when it then dies by a signal.
  testing::ExpectThrowMessage<ReadError>([] { ReadActingLike("crash"); },
                                         "libmediainfo failed on the title set (is it damaged?)");
  // Far more than a pipe holds: read while the child writes.
  const testing::Times huge = testing::TimesOf(ReadActingLike("huge", 10s));
  ASSERT_EQ(huge.size(), 300'000u);
  EXPECT_EQ(huge[299'999], FormatTimestamp(299'999));
  // A descriptor left open across exec by the parent does not reach the child.
  const int inherited = open("/dev/null", O_RDONLY);
  const auto answer = [](const std::filesystem::path& path, std::chrono::milliseconds deadline) {
    return AskMediaInfoChild(kReadRequest, path, deadline);
  };
  EXPECT_EQ(ActingLike("descriptors", 1s, answer), (testing::Times{"", "", "0", "1", "2", "3"}));
  // The reader checks each time the library gives where it makes the chapter of it.
  testing::ExpectThrowMessage<ReadError>(
      [] { ReadActingLike("descriptors"); },
      kTitleSet + ": malformed timestamp \"0\": no ':' separators");
  close(inherited);
  // Every child above reaped, none left as a zombie.
  EXPECT_TRUE(waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD);
}

// A parent killed while its child hangs (markwright reading a title set) takes the child along.
TEST(MediaInfoChild, DiesWithItsParent) {
  testing::TempDir folder;
  const std::string out = (folder / "o").string();
  const char* argv[] = {"markwright", "-i",   kTitleSet.c_str(), "-o", out.c_str(), "-f",
                        "ogg",        nullptr};
  const char* environment[] = {"MARKWRIGHT_CHILD_TEST=hang", nullptr};
  pid_t parent = 0;
  ASSERT_EQ(posix_spawn(&parent, MARKWRIGHT_EXE, nullptr, nullptr, const_cast<char**>(argv),
                        const_cast<char**>(environment)),
            0);
  const std::string children =
      "/proc/" + std::to_string(parent) + "/task/" + std::to_string(parent) + "/children";
  pid_t child = 0;
  for (int i = 0; i < 500 && child == 0; ++i) {
    std::this_thread::sleep_for(10ms);
    std::ifstream(children) >> child;
  }
  ASSERT_NE(child, 0) << "markwright started no reading child";
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

}  // namespace
}  // namespace markwright
