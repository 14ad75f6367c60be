#pragma once

#include <QString>
#include <string_view>

namespace markwright::ui {

// A message as a message box shows it: control characters and bytes that are not UTF-8 written
// as \xNN, as the command line writes them, so that no file name or file content can garble the
// box. Only the CR LF line ends the window's own messages are laid out with stay line ends.
QString MessageText(std::string_view text);

}  // namespace markwright::ui
