#pragma once

#include <QString>
#include <cstddef>
#include <string>
#include <string_view>

namespace markwright::ui {

// The most characters of one line that a list row, a label or a message box shows. A chapter name
// may be megabytes long (one WebVTT cue, one OGG line); laying out that much text would freeze the
// window for many seconds, and nobody reads past a few hundred characters of it anyway.
inline constexpr std::size_t kLongestShownLine = 300;

// The text as shown on one line: whole when it has at most kLongestShownLine characters, else its
// beginning and its end with "…" between, so that a message keeps both the file it names and the
// cause it ends with. Characters are counted as UTF-8 sequences and never cut in two. Only what
// is shown is cut: the chapters keep their whole names and are written whole.
std::string ShortenedLine(std::string_view text);

// The text with each line (up to its LF) shortened as ShortenedLine does.
std::string ShortenedLines(std::string_view text);

// A message as a message box shows it: control characters and bytes that are not UTF-8 written
// as \xNN, as the command line writes them, so that no file name or file content can garble the
// box, and each line shortened as ShortenedLine does. Only the CR LF line ends the window's own
// messages are laid out with stay line ends.
QString MessageText(std::string_view text);

}  // namespace markwright::ui
