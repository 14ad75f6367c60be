#pragma once

#include <string>
#include <string_view>

namespace markwright {

// The command-line help, its lines joined by line_end: CR LF in the window's message box, LF on
// a terminal. No line end follows the last line.
std::string HelpText(std::string_view line_end);

// The formats beyond the twelve that HelpText lists, one "key: display name" line each (every
// line ended by line_end), under a heading of their own.
std::string MoreFormatsHelp(std::string_view line_end);

}  // namespace markwright
