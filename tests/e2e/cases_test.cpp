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

namespace markwright::testing {
namespace {

namespace fs = std::filesystem;
using Files = std::map<fs::path, std::string>;

const fs::path kCases = fs::path(MARKWRIGHT_SOURCE_DIR) / "tests/cases";

// Every folder is a case but those whose name starts with "_" (_inputs holds files that cases
// link to instead of keeping a copy each).
std::set<std::string> CaseNames() {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(kCases))
    if (entry.is_directory() && !entry.path().filename().string().starts_with('_'))
      names.insert(entry.path().filename());
  return names;
}

std::string Substitute(std::string text, const std::string& run_folder) {
  for (const auto& [key, value] : {std::pair<std::string, std::string>{"{dir}", run_folder},
                                   {"{source}", MARKWRIGHT_SOURCE_DIR},
                                   {"{realdata}", MARKWRIGHT_REALDATA_DIR},
                                   {"{version}", kVersionText}}) {
    for (auto at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size()))
      text.replace(at, key.size(), value);
  }
  return text;
}

Files Snapshot(const fs::path& folder) {
  Files files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) files[fs::relative(entry, folder)] = ReadFile(entry);
  return files;
}

class Case : public ::testing::TestWithParam<std::string> {};

TEST_P(Case, RunsAsWritten) {
  const fs::path source = kCases / GetParam();
  if (ReadFile(source / "args").find("{realdata}") != std::string::npos &&
      !fs::exists(MARKWRIGHT_REALDATA_DIR))
    GTEST_SKIP() << "no real-world samples at " << MARKWRIGHT_REALDATA_DIR;
  TempDir run;
  const auto wanted = [&](const char* name, const char* otherwise = "") {
    return fs::exists(source / name) ? Substitute(ReadFile(source / name), run.path()) : otherwise;
  };
  // Inputs are copied as files: a link to a shared input (../_inputs/...) becomes a plain copy.
  for (const auto& entry : fs::directory_iterator(source)) {
    const fs::path name = entry.path().filename();
    if (!std::set<fs::path>{"args", "expected", "status", "stdout", "stderr"}.contains(name))
      fs::copy(entry, run.path() / name, fs::copy_options::recursive);
  }
  std::vector<std::string> arguments;
  std::istringstream lines(wanted("args"));
  for (std::string line; std::getline(lines, line);) arguments.push_back(line);

  const Files before = Snapshot(run.path());
  const auto result = RunMarkwright(arguments, run.path());
  EXPECT_EQ(result.exit_status, std::stoi(wanted("status", "0")));
  EXPECT_EQ(result.errors, wanted("stderr"));
  EXPECT_EQ(result.output, wanted("stdout"));
  // What the run created or changed: exactly the expected file, or nothing at all.
  Files written = Snapshot(run.path());
  std::erase_if(written, [&](const auto& file) {
    const auto old = before.find(file.first);
    return old != before.end() && old->second == file.second;
  });
  if (!fs::exists(source / "expected")) {
    EXPECT_TRUE(written.empty()) << "wrote " << written.begin()->first;
  } else {
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written.begin()->second, ReadFile(source / "expected"));
    const auto mode = fs::status(run.path() / written.begin()->first).permissions();
    EXPECT_EQ(mode & fs::perms::owner_all, fs::perms::owner_read | fs::perms::owner_write);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, Case, ::testing::ValuesIn(CaseNames()), [](const auto& info) {
  std::string name = info.param;
  std::ranges::replace_if(
      name, [](unsigned char c) { return !std::isalnum(c); }, '_');
  return name;
});

}  // namespace
}  // namespace markwright::testing
