#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

extern char** environ;

namespace markwright::testing {

struct ProcessResult {
  int exit_status = -1;  // -1 when the process did not exit normally
  std::string output;    // standard output
  std::string errors;    // standard error
};

// Runs the program with the arguments in the folder and waits for it; standard input is empty.
inline ProcessResult RunProcess(const std::string& program,
                                const std::vector<std::string>& arguments,
                                const std::filesystem::path& folder) {
  TempDir capture;
  const std::string output_path = (capture / "stdout").string();
  const std::string errors_path = (capture / "stderr").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, output_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, errors_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());

  std::vector<char*> argv;
  std::string program_copy = program;
  argv.push_back(program_copy.data());
  std::vector<std::string> copies = arguments;
  for (auto& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);

  ProcessResult result;
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  result.output = ReadFile(output_path);
  result.errors = ReadFile(errors_path);
  return result;
}

// Runs the built markwright executable.
inline ProcessResult RunMarkwright(const std::vector<std::string>& arguments,
                                   const std::filesystem::path& folder) {
  return RunProcess(MARKWRIGHT_EXE, arguments, folder);
}

}  // namespace markwright::testing
