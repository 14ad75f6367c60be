// Runs every case folder under tests/cases through the built program (layout: README.md there).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "markwright/version.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using Files = std::map<fs::path, std::string>;

const fs::path kCases = fs::path(MARKWRIGHT_SOURCE_DIR) / "tests" / "cases";
const std::set<fs::path> kControlFiles = {"args", "expected", "status", "stdout", "stderr"};

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kCases)) {
    if (entry.is_directory()) names.push_back(entry.path().filename().string());
  }
  std::ranges::sort(names);
  return names;
}

std::string Substitute(std::string text, const fs::path& run_folder) {
  const std::pair<std::string, std::string> values[] = {{"{dir}", run_folder.string()},
                                                        {"{source}", MARKWRIGHT_SOURCE_DIR},
                                                        {"{realdata}", MARKWRIGHT_REALDATA_DIR},
                                                        {"{version}", kVersionText}};
  for (const auto& [key, value] : values) {
    for (auto at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size()))
      text.replace(at, key.size(), value);
  }
  return text;
}

Files Snapshot(const fs::path& folder) {
  Files files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files[fs::relative(entry, folder)] = ReadFile(entry);
  }
  return files;
}

class Case : public ::testing::TestWithParam<std::string> {};

TEST_P(Case, RunsAsWritten) {
  const fs::path source = kCases / GetParam();
  const std::string args = ReadFile(source / "args");
  if (args.find("{realdata}") != std::string::npos && !fs::exists(MARKWRIGHT_REALDATA_DIR))
    GTEST_SKIP() << "no real-world samples at " << MARKWRIGHT_REALDATA_DIR;
  testing::TempDir run;
  for (const auto& entry : fs::directory_iterator(source)) {
    if (!kControlFiles.contains(entry.path().filename()))
      fs::copy(entry, run / entry.path().filename().string(), fs::copy_options::recursive);
  }
  std::vector<std::string> arguments;
  std::istringstream lines(args);
  for (std::string line; std::getline(lines, line);)
    arguments.push_back(Substitute(line, run.path()));
  const auto wanted = [&](const char* name, const char* otherwise) {
    return fs::exists(source / name) ? Substitute(ReadFile(source / name), run.path()) : otherwise;
  };

  const Files before = Snapshot(run.path());
  const auto result = testing::RunMarkwright(arguments, run.path());
  EXPECT_EQ(result.exit_status, std::stoi(wanted("status", "0")));
  EXPECT_EQ(result.errors, wanted("stderr", ""));
  EXPECT_EQ(result.output, wanted("stdout", ""));
  // What the run created or changed: exactly the expected file, or nothing at all.
  Files written;
  for (const auto& [path, bytes] : Snapshot(run.path())) {
    if (const auto old = before.find(path); old == before.end() || old->second != bytes)
      written.emplace(path, bytes);
  }
  if (!fs::exists(source / "expected")) {
    EXPECT_TRUE(written.empty()) << "wrote " << written.begin()->first;
  } else {
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written.begin()->second, ReadFile(source / "expected"));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, Case, ::testing::ValuesIn(CaseNames()), [](const auto& info) {
  std::string name = info.param;
  std::ranges::replace_if(
      name, [](unsigned char c) { return !std::isalnum(c); }, '_');
  return name;
});

}  // namespace
}  // namespace markwright
