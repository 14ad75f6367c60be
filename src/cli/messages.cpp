#include "cli/messages.h"

#include <ostream>

namespace markwright {

std::string ShownMessage(std::string_view message) {
  std::string shown;
  for (auto end = message.find("\r\n"); end != std::string_view::npos; end = message.find("\r\n")) {
    shown += EscapedText(message.substr(0, end)) + '\n';
    message.remove_prefix(end + 2);
  }
  return shown + EscapedText(message);
}

void PrintMessage(std::ostream& errors, std::string_view message) {
  errors << "Markwright: " << ShownMessage(message) << '\n';
}

void PrintNotes(std::ostream& errors, const std::vector<std::string>& notes,
                std::string_view prefix) {
  for (const std::string& note : notes) {
    PrintMessage(errors, "note: " + std::string(prefix) + note);
  }
}

ExitStatus ReportFailure(std::ostream& errors, const std::exception& failure) {
  PrintMessage(errors, failure.what());
  return dynamic_cast<const Refusal*>(&failure) != nullptr ? ExitStatus::kRefused
                                                           : ExitStatus::kFailed;
}

}  // namespace markwright
