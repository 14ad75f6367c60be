#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

extern char** environ;

namespace markwright::testing {

struct ProcessResult {
  int exit_status = -1;  // -1 when the process did not start or did not exit normally
  std::string output;    // standard output
  std::string errors;    // standard error
};

// Runs the program with the arguments in the folder and waits for it; standard input is empty.
inline ProcessResult RunProcess(const std::string& program, std::vector<std::string> arguments,
                                const std::filesystem::path& folder) {
  const TempDir capture;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, (capture / "1").c_str(), O_WRONLY | O_CREAT, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, (capture / "2").c_str(), O_WRONLY | O_CREAT, 0600);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  arguments.insert(arguments.begin(), program);
  std::vector<char*> argv;
  for (auto& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  ProcessResult result;
  pid_t pid = 0;
  int status = 0;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0 &&
      waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
    result.exit_status = WEXITSTATUS(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  result.output = ReadFile(capture / "1");
  result.errors = ReadFile(capture / "2");
  return result;
}

// Runs the built markwright executable.
inline ProcessResult RunMarkwright(const std::vector<std::string>& arguments,
                                   const std::filesystem::path& folder) {
  return RunProcess(MARKWRIGHT_EXE, arguments, folder);
}

}  // namespace markwright::testing
