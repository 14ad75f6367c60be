#pragma once

// What every check against a real program needs: a work folder of its own in the build folder
// (left behind for a look), whether the programs are installed, and commands that must succeed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_process.h"

namespace markwright::testing {

class PeerTest : public ::testing::Test {
 protected:
  PeerTest() {
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }

  // Whether one of the programs (separated by blanks) is not on PATH.
  static bool Missing(const std::string& programs) {
    return RunProcess("/bin/sh",
                      {"-c", "for p in " + programs + "; do command -v $p || exit 1; done"}, "/")
               .exit_status != 0;
  }

  // Runs a shell command line in the folder, which must succeed; its standard output.
  std::string Run(const std::string& command) {
    const auto run = RunProcess("/bin/sh", {"-c", "set -e; " + command}, folder_);
    EXPECT_EQ(run.exit_status, 0) << command << ":\n" << run.output << run.errors;
    return run.output;
  }

  const std::filesystem::path folder_ =
      std::filesystem::path(MARKWRIGHT_PEERS_WORK_DIR) /
      ::testing::UnitTest::GetInstance()->current_test_info()->name();
};

}  // namespace markwright::testing
