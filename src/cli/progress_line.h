#pragma once

#include <chrono>
#include <iosfwd>
#include <string>

namespace markwright {

// A line on a terminal's standard error while a long run goes on; nothing for the first second,
// nothing when errors is not a terminal, and the line is cleared at the end.
class ProgressLine {
 public:
  ProgressLine(std::ostream& errors, bool enabled) : errors_(errors), enabled_(enabled) {}
  ~ProgressLine() { Clear(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  bool Enabled() const { return enabled_; }

  // Before any other line goes to the terminal.
  void Clear();

  void Show(const std::string& text);

 private:
  std::ostream& errors_;
  bool enabled_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace markwright
