#include "writers/text_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>

#include "core/error.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

namespace fs = std::filesystem;

std::size_t EntriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(WriteTextFile, LeavesExactlyTheTextsBytes) {
  testing::TempDir folder;
  const auto path = folder / "out.txt";
  WriteTextFile(path, "");
  EXPECT_TRUE(fs::exists(path));
  EXPECT_EQ(fs::file_size(path), 0u);

  folder.Write("out.txt", std::string(1000, 'x'));
  WriteTextFile(path, "CHAPTER01=00:00:00.000\r\n");
  EXPECT_EQ(testing::ReadFile(path), "CHAPTER01=00:00:00.000\r\n");
  EXPECT_EQ(EntriesIn(folder.path()), 1u);  // no temporary file left behind

  EXPECT_THROW(WriteTextFile(folder / "no-such-folder" / "out.txt", "x"), WriteError);
  EXPECT_THROW(WriteTextFile(folder.path(), "x"), WriteError);
}

TEST(WriteTextFile, KeepsTheModeOfAReplacedFileAndFollowsLinks) {
  testing::TempDir folder;
  const auto target = folder.Write("real.txt", "old");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const auto link = folder / "link.txt";
  fs::create_symlink(target, link);
  WriteTextFile(link, "new");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(testing::ReadFile(target), "new");
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// Makes every write past a few bytes fail with EFBIG, whatever rights the test runs with.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit saved_{};
  void (*old_handler_)(int) = nullptr;
};

TEST(WriteTextFile, AWriteThatFailsHalfwayLeavesTheOldFileAsItWas) {
  testing::TempDir folder;
  const auto path = folder.Write("out.txt", "old content");
  {
    FileSizeLimit limit(16);
    EXPECT_THROW(WriteTextFile(path, std::string(4096, 'n')), WriteError);
  }
  EXPECT_EQ(testing::ReadFile(path), "old content");
  EXPECT_EQ(EntriesIn(folder.path()), 1u);
}

TEST(WriteTextFile, AFailedWriteLeavesTheOldFileAsItWas) {
  testing::TempDir folder;
  const auto protected_folder = folder / "locked";
  fs::create_directory(protected_folder);
  const auto old_file = folder.Write("locked/out.txt", "old content");
  fs::permissions(protected_folder, fs::perms::owner_read | fs::perms::owner_exec);
  if (::access(protected_folder.c_str(), W_OK) == 0) {
    GTEST_SKIP() << "running with rights that ignore folder permissions";
  }
  EXPECT_THROW(WriteTextFile(old_file, "new"), WriteError);
  EXPECT_EQ(testing::ReadFile(old_file), "old content");
  EXPECT_EQ(EntriesIn(protected_folder), 1u);
}

TEST(WriteTextFile, RespectsAWriteProtectedFile) {
  testing::TempDir folder;
  const auto path = folder.Write("ro.txt", "keep me");
  fs::permissions(path, fs::perms::owner_read);
  if (::access(path.c_str(), W_OK) == 0) GTEST_SKIP() << "running with rights that ignore modes";
  EXPECT_THROW(WriteTextFile(path, "new"), WriteError);
  EXPECT_EQ(testing::ReadFile(path), "keep me");
}

}  // namespace
}  // namespace markwright
