#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace markwright::testing {

// The program's path on PATH; empty when it is not installed.
inline std::filesystem::path FindProgram(std::string_view name) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const auto candidate = std::filesystem::path(folder.empty() ? "." : folder) / name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

// An empty folder for the current test's files in the build folder, left behind for a look
// after a failure and emptied when the test runs again.
inline std::filesystem::path FreshWorkFolder() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const auto folder = std::filesystem::path(MARKWRIGHT_PEERS_WORK_DIR) /
                      (std::string(test->test_suite_name()) + "." + test->name());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

// An OGG chapter text with the times, the form every conversion here starts from.
inline std::string OggChapterText(const std::vector<std::string>& times) {
  std::string text;
  for (std::size_t index = 0; index < times.size(); ++index) {
    const std::string number = (index < 9 ? "0" : "") + std::to_string(index + 1);
    text += "CHAPTER" + number + "=" + times[index] + "\r\nCHAPTER" + number + "NAME=\r\n";
  }
  return text;
}

// Runs the program in the folder; the result carries its exit status and output.
inline ProcessResult RunPeer(const std::filesystem::path& program,
                             const std::vector<std::string>& arguments,
                             const std::filesystem::path& folder) {
  return RunProcess(program.string(), arguments, folder);
}

// A failure message with what the program said.
inline std::string Said(const ProcessResult& run) {
  return "exit status " + std::to_string(run.exit_status) + "\n" + run.output + run.errors;
}

// Writes chapters.txt with the times into the folder and converts it with markwright into out.txt
// in the format; returns out.txt's content, or "" after a failed conversion.
inline std::string ConvertChapters(const std::filesystem::path& folder,
                                   const std::vector<std::string>& times, std::string_view key,
                                   std::string_view input_rate, std::string_view output_rate) {
  std::ofstream(folder / "chapters.txt", std::ios::binary) << OggChapterText(times);
  const auto run =
      RunMarkwright({"-i", "chapters.txt", "-o", "out.txt", "-f", std::string(key), "-infps",
                     std::string(input_rate), "-outfps", std::string(output_rate)},
                    folder);
  EXPECT_EQ(run.exit_status, 0) << Said(run);
  return ReadFile(folder / "out.txt");
}

}  // namespace markwright::testing
