#include "core/error.h"

#include "core/utf8.h"

namespace markwright {
namespace {

std::string Compose(std::string_view path, std::string_view where, std::string_view cause) {
  std::string text(path);
  if (!where.empty()) {
    text += ": ";
    text += where;
  }
  text += ": ";
  text += cause;
  return text;
}

// The length of the UTF-8 sequence at the start of text that is a printable character, or 0 for a
// control character (C0, DEL, C1) or a byte that does not begin a valid sequence.
std::size_t PrintableLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text.front());
  if (lead < 0x80) return lead >= 0x20 && lead != 0x7F ? 1 : 0;
  const std::size_t length = Utf8SequenceLength(text);
  // U+0080 to U+009F, the C1 controls: C2 80 to C2 9F.
  if (length == 2 && lead == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0) return 0;
  return length;
}

// Appends the text escaped, up to longest characters (an escaped byte counts as one); the
// part left over.
std::string_view AppendEscaped(std::string& out, std::string_view text, std::size_t longest) {
  constexpr char kHex[] = "0123456789abcdef";
  std::size_t characters = 0;
  while (!text.empty() && characters < longest) {
    const std::size_t length = PrintableLength(text);
    if (length == 0) {
      const auto byte = static_cast<unsigned char>(text.front());
      out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xFu]};
      text.remove_prefix(1);
    } else {
      out += text.substr(0, length);
      text.remove_prefix(length);
    }
    ++characters;
  }
  return text;
}

}  // namespace

std::string QuotedText(std::string_view text) {
  std::string quoted = "\"";
  if (!AppendEscaped(quoted, text, 60).empty()) quoted += "…";
  quoted += '"';
  return quoted;
}

std::string EscapedText(std::string_view text) {
  std::string escaped;
  AppendEscaped(escaped, text, std::string_view::npos);
  return escaped;
}

ReadError::ReadError(std::string_view path, std::string_view where, std::string_view cause)
    : Error(Compose(path, where, cause)), path_(path), cause_(cause) {}

std::string AtLine(std::size_t line_number) {
  return "line " + std::to_string(line_number);
}

std::string AtOffset(std::size_t offset) {
  return "offset " + std::to_string(offset);
}

}  // namespace markwright
