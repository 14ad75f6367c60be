#include "readers/text_encoding.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <pugixml.hpp>
#include <utility>

#include "core/utf8.h"

namespace markwright {
namespace {

// The code points of 0x80 to 0x9F; the rest of the upper half is Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// "&#x" and eight hexadecimal digits, then the ';'.
constexpr std::size_t kLongestReference = 12;

// Bytes read one per character: Windows-1252, or Latin-1 whose 0x80 to 0x9F are the C1 controls.
std::string SingleByteToUtf8(std::string_view bytes, bool windows_1252) {
  std::string text;
  text.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    AppendUtf8(text,
               windows_1252 && byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte);
  }
  return text;
}

// UTF-16 after its byte-order mark; a lone surrogate becomes U+FFFD, an odd last byte is dropped.
std::string Utf16ToUtf8(std::string_view bytes, bool big_endian) {
  std::string text;
  text.reserve(bytes.size());
  const auto unit = [&](std::size_t at) {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return static_cast<char32_t>(big_endian ? first << 8 | second : second << 8 | first);
  };
  for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
    char32_t code = unit(at);
    if (code >= 0xD800 && code <= 0xDBFF && at + 3 < bytes.size() && unit(at + 2) >= 0xDC00 &&
        unit(at + 2) <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (unit(at + 2) - 0xDC00);
      at += 2;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    AppendUtf8(text, code);
  }
  return text;
}

// The encoding the XML declaration at the start of the text names, in lower case; empty when
// there is none.
std::string DeclaredEncoding(std::string_view text) {
  if (!text.starts_with("<?xml")) return {};
  // The declaration alone: whatever follows it is not needed here.
  const std::size_t end = text.find("?>");
  const std::string_view declaration =
      text.substr(0, end == std::string_view::npos ? end : end + 2);
  pugi::xml_document document;
  document.load_buffer(declaration.data(), declaration.size(), pugi::parse_declaration,
                       pugi::encoding_utf8);
  std::string name = document.first_child().attribute("encoding").value();
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name;
}

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

std::string ReplaceInvalidUtf8(std::string_view text) {
  if (IsValidUtf8(text)) return std::string(text);
  std::string valid;
  valid.reserve(text.size() + 8);
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Utf8SequenceLength(text.substr(at));
    if (length == 0) {
      AppendUtf8(valid, 0xFFFD);
      ++at;
      continue;
    }
    valid.append(text.substr(at, length));
    at += length;
  }
  return valid;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  return SingleByteToUtf8(bytes, true);
}

std::string Utf8Name(std::string_view bytes) {
  return IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
}

std::optional<std::string> XmlTextInUtf8(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    return Utf16ToUtf8(bytes.substr(2), bytes[0] == '\xFE');
  }
  const std::string_view text = bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
  const std::string encoding = DeclaredEncoding(text);
  if (encoding == "iso-8859-1" || encoding == "latin1" || encoding == "iso_8859-1" ||
      encoding == "l1") {
    return SingleByteToUtf8(text, false);
  }
  if (encoding == "windows-1252" || encoding == "cp1252" || !IsValidUtf8(text)) {
    return Windows1252ToUtf8(text);
  }
  return std::nullopt;
}

std::string DecodeXmlReferences(std::string_view text) {
  static constexpr std::array<std::pair<std::string_view, char>, 5> kNamed = {
      {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}}};
  std::string decoded;
  decoded.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    // No reference is longer than &#x and eight digits: the ';' is looked for that far only, so
    // a long run of '&' costs no more than other text.
    const std::size_t semicolon = text[at] == '&'
                                      ? text.substr(0, at + kLongestReference).find(';', at)
                                      : std::string_view::npos;
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
