#include "ui/message_text.h"

#include <string>

#include "core/error.h"

namespace markwright::ui {

QString MessageText(std::string_view text) {
  std::string shown;
  for (std::size_t end = text.find("\r\n"); end != std::string_view::npos;
       end = text.find("\r\n")) {
    shown += EscapedText(text.substr(0, end)) + "\r\n";
    text.remove_prefix(end + 2);
  }
  shown += EscapedText(text);
  return QString::fromStdString(shown);
}

}  // namespace markwright::ui
