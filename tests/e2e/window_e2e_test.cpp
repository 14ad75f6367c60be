// The real executable in window mode: the main window comes up on the offscreen platform and
// closes cleanly; without its module or a display the program says so and ends with status 3.
#include <gtest/gtest.h>

#include "support/run_process.h"

namespace markwright::testing {
namespace {

namespace fs = std::filesystem;

// Runs the program through env(1), which first sets ("NAME=value") or removes ("-u" NAME).
ProcessResult RunWith(std::vector<std::string> settings, const fs::path& program,
                      const std::vector<std::string>& arguments = {}) {
  settings.push_back(program);
  settings.insert(settings.end(), arguments.begin(), arguments.end());
  return RunProcess("/usr/bin/env", settings, fs::temp_directory_path());
}

TEST(WindowMode, OpensAndQuitsOrSaysWhyItCannot) {
  TempDir folder;
  fs::copy_file(MARKWRIGHT_EXE, folder / "markwright");  // without the module beside it
  const auto alone = RunWith({"QT_QPA_PLATFORM=offscreen"}, folder / "markwright");
  EXPECT_EQ(alone.exit_status, 3);
  EXPECT_NE(alone.errors.find("cannot find libmarkwright_ui.so"), std::string::npos);
  EXPECT_EQ(RunWith({}, folder / "markwright", {"--version"}).exit_status, 0);
  if (!fs::exists(fs::path(MARKWRIGHT_EXE).parent_path() / "libmarkwright_ui.so")) return;

  const auto no_display =
      RunWith({"-u", "QT_QPA_PLATFORM", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY"}, MARKWRIGHT_EXE);
  EXPECT_EQ(no_display.exit_status, 3);
  EXPECT_NE(no_display.errors.find("no display"), std::string::npos) << no_display.errors;
  const std::vector<std::string> offscreen{"QT_QPA_PLATFORM=offscreen", "MARKWRIGHT_SMOKE_TEST=1"};
  EXPECT_EQ(RunWith(offscreen, MARKWRIGHT_EXE).output, "Form1: Markwright\nList1: 0 chapter(s)\n");
  const fs::path sample = fs::path(MARKWRIGHT_SOURCE_DIR) / "samples/movie-chapters.txt";
  const auto opened = RunWith(offscreen, MARKWRIGHT_EXE, {"--window", sample});
  EXPECT_EQ(opened.exit_status, 0) << opened.errors;
  EXPECT_EQ(opened.output,
            "Form1: movie-chapters.txt (5 chapters) - Markwright\nList1: 5 chapter(s)\n");
}

}  // namespace
}  // namespace markwright::testing
