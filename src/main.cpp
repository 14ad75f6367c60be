// Started with arguments, Markwright converts one file and exits; without, it opens its window.
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string_view>
#include <vector>

#include "cli/convert.h"
#include "cli/help_text.h"
#include "cli/options.h"

namespace {

std::filesystem::path ProgramFolder() {
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path() : executable.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const std::string argument_text = markwright::JoinArguments(arguments);
  if (argument_text.empty()) {
    std::cout << markwright::HelpText("\n") << '\n';
    return 0;
  }
  return markwright::RunCommandLine(argument_text, ProgramFolder(), std::cout, std::cerr);
}
