// The real executable in window mode: the main window comes up on the offscreen platform and
// closes cleanly; without its module or a display the program says so and ends.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using testing::RunProcess;

// Sets or removes environment variables for one test and puts the old values back.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(const std::map<std::string, std::optional<std::string>>& values) {
    for (const auto& [name, value] : values) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
      Apply(name, value);
    }
  }
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) Apply(name, value);
  }

 private:
  static void Apply(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
      ::setenv(name.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }
  std::map<std::string, std::optional<std::string>> saved_;
};

bool WindowModuleBuilt() {
  return fs::exists(fs::path(MARKWRIGHT_EXE).parent_path() / "libmarkwright_ui.so");
}

TEST(WindowMode, MainWindowAppearsAndQuitsCleanly) {
  if (!WindowModuleBuilt()) GTEST_SKIP() << "built without the window module";
  ScopedEnvironment environment({{"QT_QPA_PLATFORM", "offscreen"}, {"MARKWRIGHT_SMOKE_TEST", "1"}});
  testing::TempDir folder;
  const auto plain = testing::RunMarkwright({}, folder.path());
  EXPECT_EQ(plain.exit_status, 0) << plain.errors;
  EXPECT_EQ(plain.output, "Form1: Markwright\nList1: 0 chapter(s)\n");

  // The desktop entry's form opens the file it was given.
  const auto opened = testing::RunMarkwright(
      {"--window", (fs::path(MARKWRIGHT_SOURCE_DIR) / "samples/movie-chapters.txt").string()},
      folder.path());
  EXPECT_EQ(opened.exit_status, 0) << opened.errors;
  EXPECT_EQ(opened.output, "Form1: Markwright\nList1: 5 chapter(s)\n");
}

TEST(WindowMode, MissingModuleOrDisplayIsToldWithItsOwnStatus) {
  testing::TempDir folder;
  const fs::path alone = folder / "markwright";
  fs::copy_file(MARKWRIGHT_EXE, alone);
  {
    ScopedEnvironment environment(
        {{"QT_QPA_PLATFORM", "offscreen"}, {"MARKWRIGHT_SMOKE_TEST", std::nullopt}});
    const auto result = RunProcess(alone.string(), {}, folder.path());
    EXPECT_EQ(result.exit_status, 3);
    EXPECT_THAT(result.errors,
                HasSubstr("the window cannot be opened: cannot find libmarkwright_ui.so"));
    // The command line does not need the module.
    EXPECT_EQ(RunProcess(alone.string(), {"--version"}, folder.path()).exit_status, 0);
  }
  if (!WindowModuleBuilt()) return;
  ScopedEnvironment no_display({{"QT_QPA_PLATFORM", std::nullopt},
                                {"DISPLAY", std::nullopt},
                                {"WAYLAND_DISPLAY", std::nullopt}});
  const auto result = testing::RunMarkwright({}, folder.path());
  EXPECT_EQ(result.exit_status, 3);
  EXPECT_THAT(result.errors, HasSubstr("no display"));
  EXPECT_EQ(result.output, "");
}

}  // namespace
}  // namespace markwright
