#include "cli/progress_line.h"

#include <ostream>

#include "core/error.h"

namespace markwright {

void ProgressLine::Clear() {
  if (shown_) errors_ << "\r\033[K" << std::flush;
  shown_ = false;
}

void ProgressLine::Show(const std::string& text) {
  if (!enabled_ || std::chrono::steady_clock::now() - start_ < std::chrono::seconds(1)) return;
  errors_ << "\r" << EscapedText(text) << "\033[K" << std::flush;
  shown_ = true;
}

}  // namespace markwright
