#pragma once

#include <string>
#include <string_view>

namespace markwright {

// The command-line help, its lines joined by line_end: CR LF in the window's message box, LF on
// a terminal. No line end follows the last line.
std::string HelpText(std::string_view line_end);

// What follows HelpText in --help and the window's Help box: the formats HelpText does not list
// (Muxman and the newer ones), one "key: display name" line each, then the input kinds the same
// way, each list under a heading of its own, then the long options; every line is ended by
// line_end.
std::string MoreFormatsHelp(std::string_view line_end);

}  // namespace markwright
