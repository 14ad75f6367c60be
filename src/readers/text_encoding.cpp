#include "readers/text_encoding.h"

#include <array>
#include <cstdint>
#include <utility>

#include "core/utf8.h"

namespace markwright {
namespace {

// The code points of 0x80 to 0x9F; the rest of the upper half is Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

void AppendUtf8(std::string& text, char32_t code) {
  if (code < 0x80) {
    text += static_cast<char>(code);
  } else if (code < 0x800) {
    text += static_cast<char>(0xC0 | (code >> 6));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    text += static_cast<char>(0xE0 | (code >> 12));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | ((code >> 18) & 0x07));
    text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t length = Utf8SequenceLength(bytes.substr(at));
    if (length == 0) return false;
    at += length;
  }
  return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    AppendUtf8(text, byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte);
  }
  return text;
}

std::string DecodeXmlReferences(std::string_view text) {
  static constexpr std::array<std::pair<std::string_view, char>, 5> kNamed = {
      {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}}};
  std::string decoded;
  decoded.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t semicolon = text[at] == '&' ? text.find(';', at) : std::string_view::npos;
    if (semicolon == std::string_view::npos) {
      decoded += text[at++];
      continue;
    }
    const std::string_view reference = text.substr(at + 1, semicolon - at - 1);
    bool known = false;
    for (const auto& [name, character] : kNamed) {
      if (reference == name) {
        decoded += character;
        known = true;
      }
    }
    if (!known && reference.size() > 1 && reference[0] == '#') {
      const bool hex = reference[1] == 'x';
      const std::string_view digits = reference.substr(hex ? 2 : 1);
      std::uint32_t code = 0;
      bool valid = !digits.empty() && digits.size() <= 8;
      for (const char c : digits) {
        const int value = c >= '0' && c <= '9'          ? c - '0'
                          : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                        : -1;
        if (value < 0) valid = false;
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(value < 0 ? 0 : value);
      }
      // XML 1.0 allows tab, line ends and everything from a blank up, surrogates aside.
      valid = valid && (code == 0x9 || code == 0xA || code == 0xD || code >= 0x20) &&
              code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
      if (valid) {
        AppendUtf8(decoded, code);
        known = true;
      }
    }
    if (!known) {
      decoded += text[at++];
      continue;
    }
    at = semicolon + 1;
  }
  return decoded;
}

}  // namespace markwright
