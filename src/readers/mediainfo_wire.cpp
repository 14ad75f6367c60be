#include "readers/mediainfo_wire.h"

namespace markwright {
namespace {

constexpr char kAnswerTag = 'A';
constexpr char kFailureTag = 'E';
constexpr char kPartTag = 'P';

void AppendNumber(std::string& bytes, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint64_t NumberAt(std::string_view bytes, std::size_t offset, int size) {
  std::uint64_t value = 0;
  for (int i = 0; i < size; ++i) {
    value |= std::uint64_t{static_cast<unsigned char>(bytes[offset + i])} << (8 * i);
  }
  return value;
}

std::string Reply(char tag, std::string_view payload) {
  std::string reply(1, tag);
  AppendNumber(reply, payload.size(), 8);
  reply += payload;
  return reply;
}

std::string TextsPayload(const std::vector<std::string>& texts) {
  std::string payload;
  for (const std::string& text : texts) {
    AppendNumber(payload, text.size(), 4);
    payload += text;
  }
  return payload;
}

std::optional<std::vector<std::string>> PayloadTexts(std::string_view payload) {
  std::vector<std::string> texts;
  while (!payload.empty()) {
    if (payload.size() < 4) return std::nullopt;
    const std::uint64_t length = NumberAt(payload, 0, 4);
    if (length > payload.size() - 4) return std::nullopt;
    texts.emplace_back(payload.substr(4, length));
    payload.remove_prefix(4 + length);
  }
  return texts;
}

}  // namespace

std::string JoinRequest(const std::vector<std::string>& texts) {
  std::string argument;
  for (const std::string& text : texts) {
    if (!argument.empty()) argument += '\n';
    argument += text;
  }
  return argument;
}

std::vector<std::string> SplitRequest(std::string_view argument) {
  std::vector<std::string> texts;
  while (!argument.empty()) {
    const std::size_t end = argument.find('\n');
    texts.emplace_back(argument.substr(0, end));
    argument.remove_prefix(end == std::string_view::npos ? argument.size() : end + 1);
  }
  return texts;
}

std::string InputBytes(const std::vector<std::string>& texts) {
  return TextsPayload(texts);
}

std::optional<std::vector<std::string>> InputTexts(std::string_view bytes) {
  return PayloadTexts(bytes);
}

std::string AnswerReply(const std::vector<std::string>& texts) {
  return Reply(kAnswerTag, TextsPayload(texts));
}

std::string PartReply(const std::vector<std::string>& texts) {
  return Reply(kPartTag, TextsPayload(texts));
}

std::string FailureReply(std::string_view cause) {
  return Reply(kFailureTag, cause);
}

std::optional<ChildReply> ParseReply(std::string_view bytes) {
  if (bytes.size() < kReplyHeaderSize || NumberAt(bytes, 1, 8) != bytes.size() - kReplyHeaderSize) {
    return std::nullopt;
  }
  std::string_view payload = bytes.substr(kReplyHeaderSize);
  if (bytes.front() == kFailureTag) return ChildReply{true, std::string(payload), {}};
  if (bytes.front() != kAnswerTag) return std::nullopt;
  auto texts = PayloadTexts(payload);
  if (!texts) return std::nullopt;
  return ChildReply{false, "", std::move(*texts)};
}

std::optional<ChildPart> LeadingPart(std::string_view bytes) {
  if (bytes.size() < kReplyHeaderSize || bytes.front() != kPartTag ||
      NumberAt(bytes, 1, 8) > bytes.size() - kReplyHeaderSize) {
    return std::nullopt;
  }
  const std::size_t length = kReplyHeaderSize + NumberAt(bytes, 1, 8);
  auto texts = PayloadTexts(bytes.substr(kReplyHeaderSize, length - kReplyHeaderSize));
  if (!texts) return std::nullopt;
  return ChildPart{std::move(*texts), length};
}

}  // namespace markwright
