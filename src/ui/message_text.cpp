#include "ui/message_text.h"

#include <algorithm>

#include "core/error.h"

namespace markwright::ui {
namespace {

bool IsContinuation(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0u) == 0x80;
}

// The bytes of the character at text[at]: a lead byte with the continuation bytes it announces
// and that follow it, or one byte alone (invalid UTF-8 counts byte by byte, as it is escaped).
std::size_t CharacterLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t announced = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  std::size_t length = 1;
  while (length < announced && at + length < text.size() && IsContinuation(text[at + length])) {
    ++length;
  }
  return length;
}

// Where the character after the first count characters from begin begins; text.size() when
// fewer follow.
std::size_t AfterCharacters(std::string_view text, std::size_t begin, std::size_t count) {
  std::size_t at = begin;
  for (; at < text.size() && count > 0; --count) at += CharacterLength(text, at);
  return at;
}

}  // namespace

std::string ShortenedLine(std::string_view text) {
  // Two characters in three from the beginning, the rest from the end.
  constexpr std::size_t kHead = kLongestShownLine * 2 / 3;
  constexpr std::size_t kTail = kLongestShownLine - kHead - 1;  // one for the "…"
  if (AfterCharacters(text, 0, kLongestShownLine) == text.size()) return std::string(text);
  const std::size_t head_end = AfterCharacters(text, 0, kHead);
  // The tail's characters take at most four bytes each: count them from a character's start
  // that near the end, then pass over the ones too many.
  std::size_t tail_begin = std::max(head_end, text.size() - std::min(text.size(), 4 * kTail));
  for (int step = 0; step < 3 && tail_begin < text.size() && IsContinuation(text[tail_begin]);
       ++step) {
    ++tail_begin;
  }
  std::size_t characters = 0;
  for (std::size_t at = tail_begin; at < text.size(); at += CharacterLength(text, at)) {
    ++characters;
  }
  if (characters > kTail) tail_begin = AfterCharacters(text, tail_begin, characters - kTail);
  return std::string(text.substr(0, head_end)) + "…" + std::string(text.substr(tail_begin));
}

std::string ShortenedLines(std::string_view text) {
  std::string shown;
  for (std::size_t end = text.find('\n'); end != std::string_view::npos; end = text.find('\n')) {
    shown += ShortenedLine(text.substr(0, end)) + '\n';
    text.remove_prefix(end + 1);
  }
  return shown + ShortenedLine(text);
}

QString MessageText(std::string_view text) {
  std::string shown;
  for (std::size_t end = text.find("\r\n"); end != std::string_view::npos;
       end = text.find("\r\n")) {
    shown += EscapedText(ShortenedLine(text.substr(0, end))) + "\r\n";
    text.remove_prefix(end + 2);
  }
  shown += EscapedText(ShortenedLine(text));
  return QString::fromStdString(shown);
}

}  // namespace markwright::ui
