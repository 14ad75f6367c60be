#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace markwright {

// How the reading child and its parent talk (see mediainfo_child.h).
//
// The request travels as one argument: its texts joined by line feeds, which none of them holds.
// The reply is a tag byte ('A' an answer, 'E' a failure), the payload's length (8 bytes, least
// significant first) and the payload: an answer's texts, each a 4-byte length and the bytes, or
// a failure's cause. A request whose answer comes in pieces (thumbnails, as each is decoded) is
// answered by parts first, each a reply tagged 'P' with texts as an answer's, then the reply.
// A request with input (the tags to write into a file) has it on the child's standard input,
// texts as an answer's payload without header; the child reads it before it answers.

inline constexpr std::size_t kReplyHeaderSize = 9;
// Far above any answer; a longer payload means the child has gone wrong.
inline constexpr std::uint64_t kLargestReplyPayload = 256u << 20;

std::string JoinRequest(const std::vector<std::string>& texts);
std::vector<std::string> SplitRequest(std::string_view argument);

std::string InputBytes(const std::vector<std::string>& texts);
std::optional<std::vector<std::string>> InputTexts(std::string_view bytes);

std::string AnswerReply(const std::vector<std::string>& texts);
std::string FailureReply(std::string_view cause);
std::string PartReply(const std::vector<std::string>& texts);

// What one whole reply says; nothing when the bytes are not exactly one reply.
struct ChildReply {
  bool failed = false;
  std::string cause;
  std::vector<std::string> texts;
};
std::optional<ChildReply> ParseReply(std::string_view bytes);

// The texts of the part the bytes start with, and its length in bytes; nothing while they do not
// start with a whole part.
struct ChildPart {
  std::vector<std::string> texts;
  std::size_t length = 0;
};
std::optional<ChildPart> LeadingPart(std::string_view bytes);

}  // namespace markwright
