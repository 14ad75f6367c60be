// The command line must start and run where Qt is absent: the executable links no Qt library.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_process.h"

namespace markwright {
namespace {

TEST(Executable, LinksNoQtLibrary) {
  if (!std::filesystem::exists("/usr/bin/ldd")) GTEST_SKIP() << "ldd is not installed";
  const auto result =
      testing::RunProcess("/usr/bin/ldd", {MARKWRIGHT_EXE}, std::filesystem::current_path());
  ASSERT_EQ(result.exit_status, 0) << result.errors;
  EXPECT_THAT(result.output, ::testing::HasSubstr("libc.so"));
  EXPECT_THAT(result.output, ::testing::Not(::testing::HasSubstr("Qt")));
}

}  // namespace
}  // namespace markwright
