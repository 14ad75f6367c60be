#include "core/error.h"

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
  const auto byte = [&text](std::size_t index) { return static_cast<unsigned char>(text[index]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return lead >= 0x20 && lead != 0x7F ? 1 : 0;
  std::size_t length = 0;
  char32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07u;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t index = 1; index < length; ++index) {
    if ((byte(index) & 0xC0u) != 0x80) return 0;
    code = (code << 6) | (byte(index) & 0x3Fu);
  }
  constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
  const bool valid = code >= kShortest[length] && code <= 0x10FFFF &&
                     (code < 0xD800 || code > 0xDFFF) && (code < 0x80 || code > 0x9F);
  return valid ? length : 0;
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
