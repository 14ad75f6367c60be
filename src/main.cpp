// Started with arguments, Markwright converts one file and exits; without, it opens its window.
#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string_view>
#include <vector>

#include "cli/command_line.h"
#include "cli/options.h"
#include "core/error.h"
#include "readers/mediainfo_child.h"
#include "ui/window_entry.h"
#include "writers/text_file.h"

#ifndef MARKWRIGHT_UI_MODULE_DIR
#define MARKWRIGHT_UI_MODULE_DIR "../lib/markwright"
#endif

namespace {

std::filesystem::path ProgramFolder() {
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path() : executable.parent_path();
}

// Loads the window module (beside the program in a build tree, in its library folder once
// installed) and runs it. The module stays loaded until the process ends: Qt's exit handlers
// live in it.
int RunWindowMode(const char* program_path, const char* open_path) {
  const std::filesystem::path folder = ProgramFolder();
  const std::filesystem::path candidates[] = {
      folder / markwright::kWindowModuleFileName,
      folder / MARKWRIGHT_UI_MODULE_DIR / markwright::kWindowModuleFileName,
  };
  std::string problem = "cannot find " + std::string(markwright::kWindowModuleFileName) + " in " +
                        folder.string() + " or " + candidates[1].parent_path().string();
  for (const auto& candidate : candidates) {
    std::error_code error;
    if (!std::filesystem::exists(candidate, error)) continue;
    void* module = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
      problem = ::dlerror();  // Qt itself is missing, most likely
      break;
    }
    const auto entry =
        reinterpret_cast<markwright::WindowEntry>(::dlsym(module, markwright::kWindowEntryName));
    if (entry == nullptr) {
      problem = candidate.string() + " is not a Markwright window module";
      break;
    }
    return entry(program_path, open_path);
  }
  std::cerr << "Markwright: the window cannot be opened: " << problem << "\n"
            << "The command line works without it; see markwright --help.\n";
  return static_cast<int>(markwright::ExitStatus::kWindowUnavailable);
}

}  // namespace

int main(int argc, char** argv) {
  // First of all: a process started only to read a title set for its parent.
  if (argc > 1 && argv[1] == markwright::kMediaInfoChildArgument) {
    return markwright::RunMediaInfoChild(argc, argv);
  }
  markwright::RemoveTemporaryFileOnInterrupt();
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  // The desktop entry starts the window with the file the user opened it with.
  if (!arguments.empty() && arguments.front() == "--window") {
    return RunWindowMode(argv[0], arguments.size() > 1 ? argv[2] : nullptr);
  }
  if (markwright::JoinArguments(arguments).empty()) return RunWindowMode(argv[0], nullptr);
  return static_cast<int>(markwright::RunCommandLine(arguments, ProgramFolder(), std::cout,
                                                     std::cerr, ::isatty(STDERR_FILENO) == 1));
}
