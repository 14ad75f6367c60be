#pragma once

// The contract between the markwright executable and the window module it loads at run time.
// Plain C++ on purpose: the executable includes this without knowing anything of Qt.

namespace markwright {

// The module's file name, and the exported function the executable looks up in it.
inline constexpr const char* kWindowModuleFileName = "libmarkwright_ui.so";
inline constexpr const char* kWindowEntryName = "markwright_run_window";

// Runs the window mode until its last window closes and returns the exit status
// (ExitStatus::kWindowUnavailable when it cannot start). open_path,
// when not null, is a file or disc folder to open at once, as if it had been dropped.
using WindowEntry = int (*)(const char* program_path, const char* open_path);

}  // namespace markwright
