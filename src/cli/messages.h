#pragma once

#include <exception>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"

namespace markwright {

// A message as the terminal shows it: paths, values and file content in it may hold anything, so
// each line is escaped (EscapedText); only the CR LF line ends a message is laid out with (as a
// message box takes it) stay, as line feeds.
std::string ShownMessage(std::string_view message);

// "Markwright: <message>" on its own line.
void PrintMessage(std::ostream& errors, std::string_view message);

// Notes on a list that was still written, such as a rule of video sites it breaks: "Markwright:
// note: <prefix><note>", one line each.
void PrintNotes(std::ostream& errors, const std::vector<std::string>& notes,
                std::string_view prefix = {});

// Reports the failure that ends a run and gives its exit status: kRefused for a Refusal, kFailed
// for anything else.
ExitStatus ReportFailure(std::ostream& errors, const std::exception& failure);

}  // namespace markwright
