#include "readers/hddvd_reader.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/timestamp.h"
#include "readers/source_file.h"

namespace markwright {
namespace {

constexpr std::string_view kOpeningTag = "<ChapterList>";
constexpr std::string_view kClosingTag = "</ChapterList>";
constexpr std::string_view kChapterAttribute = "titleTimeBegin";
// The timecode starts right after titleTimeBegin=" and is HH:MM:SS:FF.
constexpr std::size_t kTimecodeOffset = kChapterAttribute.size() + 2;
constexpr std::size_t kTimecodeLength = 11;

// A block's text and where it starts in the whole text, for messages.
struct Block {
  std::string_view text;
  std::size_t start = 0;
};

std::string AtLineOf(std::string_view text, std::size_t position) {
  const std::string_view before = text.substr(0, position);
  return AtLine(1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n')));
}

// The chapter-list blocks in text order; empty when the text has neither tag. Each
// "<ChapterList>" pairs with the first "</ChapterList>" after it. Blocks never overlap, which
// keeps every search linear in the text's length.
std::vector<Block> ChapterListBlocks(std::string_view text, std::string_view source_name) {
  std::vector<Block> blocks;
  std::size_t opening = text.find(kOpeningTag);
  const std::size_t first_closing = text.find(kClosingTag);
  if (opening == std::string_view::npos && first_closing == std::string_view::npos) return blocks;
  if (first_closing < opening) {
    throw ReadError(source_name, AtLineOf(text, first_closing),
                    "</ChapterList> without a <ChapterList> before it");
  }
  while (opening != std::string_view::npos) {
    const std::size_t start = opening + kOpeningTag.size();
    const std::size_t closing = text.find(kClosingTag, start);
    if (closing == std::string_view::npos) {
      // Like a stray closing tag after the last block, a last opening tag that is never closed
      // is left alone once a chapter list has been read.
      if (blocks.empty()) {
        throw ReadError(source_name, AtLineOf(text, opening), "<ChapterList> is never closed");
      }
      break;
    }
    const std::size_t next = text.find(kOpeningTag, start);
    if (next < closing) {
      throw ReadError(source_name, AtLineOf(text, next),
                      "<ChapterList> inside another chapter list");
    }
    blocks.push_back({text.substr(start, closing - start), start});
    opening = next;
  }
  return blocks;
}

const Block& TitleBlock(const std::vector<Block>& blocks, std::string_view source_name,
                        std::int32_t title) {
  if (title < 1 || static_cast<std::size_t>(title) > blocks.size()) {
    throw ReadError(source_name, "",
                    "there is no title " + std::to_string(title) + " (the playlist has " +
                        std::to_string(blocks.size()) + ")");
  }
  return blocks[static_cast<std::size_t>(title - 1)];
}

std::vector<std::size_t> ChapterPositions(std::string_view block) {
  std::vector<std::size_t> positions;
  for (std::size_t p = block.find(kChapterAttribute); p != std::string_view::npos;
       p = block.find(kChapterAttribute, p + 1)) {
    positions.push_back(p);
  }
  return positions;
}

std::optional<std::int64_t> TwoDigits(std::string_view text, std::size_t at) {
  const char tens = text[at];
  const char ones = text[at + 1];
  if (tens < '0' || tens > '9' || ones < '0' || ones > '9') return std::nullopt;
  return (tens - '0') * 10 + (ones - '0');
}

// HH:MM:SS:FF at 60 frames a second as milliseconds, the frame part truncated.
std::optional<std::int64_t> TimecodeMilliseconds(std::string_view timecode) {
  if (timecode.size() != kTimecodeLength || timecode[2] != ':' || timecode[5] != ':' ||
      timecode[8] != ':') {
    return std::nullopt;
  }
  const auto hours = TwoDigits(timecode, 0);
  const auto minutes = TwoDigits(timecode, 3);
  const auto seconds = TwoDigits(timecode, 6);
  const auto frames = TwoDigits(timecode, 9);
  if (!hours || !minutes || !seconds || !frames) return std::nullopt;
  return *hours * 3600000 + *minutes * 60000 + *seconds * 1000 + *frames * 1000 / 60;
}

}  // namespace

std::int32_t CountHdDvdTitlesInText(std::string_view text, std::string_view source_name) {
  return static_cast<std::int32_t>(ChapterListBlocks(text, source_name).size());
}

std::int32_t CountHdDvdChaptersInText(std::string_view text, std::string_view source_name,
                                      std::int32_t title) {
  const std::vector<Block> blocks = ChapterListBlocks(text, source_name);
  if (blocks.empty()) return 0;
  return static_cast<std::int32_t>(
      ChapterPositions(TitleBlock(blocks, source_name, title).text).size());
}

ChapterList ParseHdDvdPlaylist(std::string_view text, std::string_view source_name,
                               std::int32_t title) {
  const std::vector<Block> blocks = ChapterListBlocks(text, source_name);
  if (blocks.empty()) throw ReadError(source_name, "", "no chapter list found");
  const Block& block = TitleBlock(blocks, source_name, title);
  ChapterList chapters;
  for (const std::size_t position : ChapterPositions(block.text)) {
    const std::string_view timecode = block.text.substr(position).substr(
        std::min(kTimecodeOffset, block.text.size() - position), kTimecodeLength);
    const auto milliseconds = TimecodeMilliseconds(timecode);
    if (!milliseconds) {
      throw ReadError(
          source_name, AtLineOf(text, block.start + position),
          "expected titleTimeBegin=\"HH:MM:SS:FF\", found " +
              QuotedExcerpt(block.text.substr(position, kTimecodeOffset + kTimecodeLength)));
    }
    // The disc's clock runs 1.001 times too fast for its 24/1.001 video: stretch the times.
    chapters.push_back(RetimeTimestamp(FormatTimestamp(*milliseconds), 24, 24 / 1.001));
  }
  return chapters;
}

std::int32_t ChooseHdDvdTitleInText(std::string_view text, std::string_view source_name) {
  const std::vector<Block> blocks = ChapterListBlocks(text, source_name);
  std::int32_t chosen = 0;
  std::size_t most = 0;
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const std::size_t count = ChapterPositions(blocks[i].text).size();
    // Strictly more: on a tie the earlier title stays chosen, and the scan goes on.
    if (chosen == 0 || count > most) {
      chosen = static_cast<std::int32_t>(i + 1);
      most = count;
    }
  }
  return chosen;
}

std::int32_t CountHdDvdTitles(const std::filesystem::path& path) {
  return CountHdDvdTitlesInText(ReadSourceFile(path), path.string());
}

std::int32_t CountHdDvdChapters(const std::filesystem::path& path, std::int32_t title) {
  return CountHdDvdChaptersInText(ReadSourceFile(path), path.string(), title);
}

ChapterList ReadHdDvdPlaylist(const std::filesystem::path& path, std::int32_t title) {
  return ParseHdDvdPlaylist(ReadSourceFile(path), path.string(), title);
}

std::int32_t ChooseHdDvdTitle(const std::filesystem::path& path) {
  return ChooseHdDvdTitleInText(ReadSourceFile(path), path.string());
}

}  // namespace markwright
