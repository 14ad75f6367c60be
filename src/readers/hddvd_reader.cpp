#include "readers/hddvd_reader.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "core/error.h"
#include "core/timestamp.h"
#include "readers/chapter_limit.h"
#include "readers/source_file.h"
#include "readers/text_encoding.h"

namespace markwright {
namespace {

constexpr std::string_view kOpeningTag = "<ChapterList>";
constexpr std::string_view kClosingTag = "</ChapterList>";
constexpr std::string_view kChapterAttribute = "titleTimeBegin";
// The timecode starts right after titleTimeBegin=" and is HH:MM:SS:FF.
constexpr std::size_t kTimecodeOffset = kChapterAttribute.size() + 2;
constexpr std::size_t kTimecodeLength = 11;
constexpr std::string_view kNameAttribute = "displayName";
constexpr std::string_view kDurationAttribute = "titleDuration=\"";

// Line numbers of positions met in increasing order, so that the whole text is counted once.
class LineCounter {
 public:
  explicit LineCounter(std::string_view text) : text_(text) {}

  std::size_t LineAt(std::size_t position) {
    line_ += static_cast<std::size_t>(
        std::count(text_.begin() + counted_, text_.begin() + position, '\n'));
    counted_ = position;
    return line_;
  }

 private:
  std::string_view text_;
  std::size_t counted_ = 0;
  std::size_t line_ = 1;
};

// An attribute value as XML reads it before references: each line end (CR LF, CR or LF) and tab
// written in it is one blank.
std::string NormalizedBlanks(std::string_view value) {
  std::string text;
  text.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
    text += c == '\r' || c == '\n' || c == '\t' ? ' ' : c;
  }
  return text;
}

// The displayName of each start tag in a title's text, found for positions met in increasing
// order. Each tag is read once, attribute by attribute as XML writes them (either quote, blanks
// around '=', any '>' inside a value), so the whole text is read in one pass.
class StartTagNames {
 public:
  explicit StartTagNames(std::string_view block) : block_(block), next_open_(block.find('<')) {}

  // The displayName of the start tag that holds position p; empty when p is in none or the tag
  // has none. XML allows an attribute once in a tag; of the chapters a malformed tag repeats, only
  // the first is named, so that a long name is not copied for each.
  std::string NameAt(std::size_t p) {
    std::size_t open = std::string_view::npos;
    for (; next_open_ <= p; next_open_ = block_.find('<', next_open_ + 1)) open = next_open_;
    // A '<' inside the tag read last (in a value, which XML does not allow) starts no tag.
    if (open != std::string_view::npos && (tag_end_ == 0 || open >= tag_end_)) Read(open);
    if (tag_end_ == 0 || p >= tag_end_) return {};
    return std::exchange(name_, {});
  }

 private:
  static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

  void Read(std::size_t open) {
    name_.clear();
    std::size_t at = open + 1;
    const auto skip_blanks = [&] {
      while (at < block_.size() && IsBlank(block_[at])) ++at;
    };
    const auto end_of_name = [&] {
      at = std::min(block_.find_first_of(" \t\r\n=/<>\"'", at), block_.size());
    };
    end_of_name();  // the element's name
    bool named = false;
    for (skip_blanks(); at < block_.size(); skip_blanks()) {
      const std::size_t attribute = at;
      end_of_name();
      const std::string_view key = block_.substr(attribute, at - attribute);
      skip_blanks();
      if (key.empty() || at == block_.size() || block_[at] != '=') break;
      ++at;
      skip_blanks();
      if (at == block_.size() || (block_[at] != '"' && block_[at] != '\'')) break;
      const std::size_t value = at + 1;
      at = std::min(block_.find(block_[at], value), block_.size());
      if (key == kNameAttribute && !named) {
        name_ = DecodeXmlReferences(NormalizedBlanks(block_.substr(value, at - value)));
        named = true;
      }
      at = std::min(at + 1, block_.size());
    }
    // The tag ends after its '>'; a malformed one there or before the next '<'.
    const std::size_t stop = block_.find_first_of("<>", at);
    tag_end_ = stop == std::string_view::npos ? block_.size()
               : block_[stop] == '>'          ? stop + 1
                                              : stop;
  }

  std::string_view block_;
  std::size_t next_open_;
  std::size_t tag_end_ = 0;  // one past the tag read last; 0 before the first
  std::string name_;         // until a chapter takes it
};

HdDvdTitle DecodeTitle(std::string_view block, std::size_t block_start, LineCounter& lines,
                       std::string_view source_name) {
  HdDvdTitle title;
  StartTagNames names(block);
  for (std::size_t p = block.find(kChapterAttribute); p != std::string_view::npos;
       p = block.find(kChapterAttribute, p + 1)) {
    CheckRoomForChapter(title.chapters.size(), source_name);
    title.chapters.push_back({std::string(block.substr(p, kTimecodeOffset + kTimecodeLength)),
                              lines.LineAt(block_start + p), names.NameAt(p)});
  }
  return title;
}

// The titleDuration of the element whose content starts at the chapter list: the last one
// between the end of the previous title and the list's opening tag.
std::string TitleDuration(std::string_view text, std::size_t previous_end, std::size_t opening) {
  const std::string_view before = text.substr(previous_end, opening - previous_end);
  const std::size_t at = before.rfind(kDurationAttribute);
  if (at == std::string_view::npos) return {};
  return std::string(before.substr(at + kDurationAttribute.size(), kTimecodeLength));
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

// The disc's clock runs 1.001 times too fast for its 24/1.001 video: the times are stretched.
std::int64_t DiscTime(std::int64_t milliseconds) {
  return RetimeMilliseconds(milliseconds, 24, 24 / 1.001);
}

}  // namespace

HdDvdPlaylist DecodeHdDvdPlaylist(std::string_view bytes, std::string_view source_name) {
  // Searched in UTF-8 whatever the file's encoding, so that names arrive in UTF-8; the markup
  // searched for is ASCII and stands where it stood.
  const std::optional<std::string> decoded = XmlTextInUtf8(bytes);
  const std::string_view text = decoded ? *decoded : bytes;
  HdDvdPlaylist playlist;
  LineCounter lines(text);
  std::size_t opening = text.find(kOpeningTag);
  const std::size_t first_closing = text.find(kClosingTag);
  if (first_closing < opening) {
    throw ReadError(source_name, AtLine(lines.LineAt(first_closing)),
                    "</ChapterList> without a <ChapterList> before it");
  }
  // Each title ends at the first closing tag after its opening tag. Titles never overlap, which
  // keeps every search linear in the text's length.
  std::size_t previous_end = 0;
  while (opening != std::string_view::npos) {
    const std::size_t start = opening + kOpeningTag.size();
    const std::size_t closing = text.find(kClosingTag, start);
    if (closing == std::string_view::npos) {
      if (playlist.titles.empty()) {
        throw ReadError(source_name, AtLine(lines.LineAt(opening)),
                        "<ChapterList> is never closed");
      }
      break;
    }
    const std::size_t next = text.find(kOpeningTag, start);
    if (next < closing) {
      throw ReadError(source_name, AtLine(lines.LineAt(next)),
                      "<ChapterList> inside another chapter list");
    }
    playlist.titles.push_back(
        DecodeTitle(text.substr(start, closing - start), start, lines, source_name));
    playlist.titles.back().duration = TitleDuration(text, previous_end, opening);
    previous_end = closing;
    opening = next;
  }
  return playlist;
}

HdDvdPlaylist ReadHdDvdPlaylist(const std::filesystem::path& path) {
  return DecodeHdDvdPlaylist(ReadSourceFile(path), path.string());
}

std::int32_t ChooseHdDvdTitle(const HdDvdPlaylist& playlist) {
  std::int32_t chosen = 0;
  std::size_t most = 0;
  for (std::size_t i = 0; i < playlist.titles.size(); ++i) {
    const std::size_t count = playlist.titles[i].chapters.size();
    // Strictly more: on a tie the earlier title stays chosen, and the search goes on.
    if (chosen == 0 || count > most) {
      chosen = static_cast<std::int32_t>(i + 1);
      most = count;
    }
  }
  return chosen;
}

TitleChapters HdDvdTitleChapters(const HdDvdPlaylist& playlist, std::int32_t title,
                                 std::string_view source_name) {
  if (playlist.titles.empty()) throw ReadError(source_name, "", "no chapter list found");
  if (title < 1 || static_cast<std::size_t>(title) > playlist.titles.size()) {
    throw ReadError(source_name, "",
                    "there is no title " + std::to_string(title) + " (the playlist has " +
                        std::to_string(playlist.titles.size()) + ")");
  }
  const HdDvdTitle& chosen = playlist.titles[static_cast<std::size_t>(title - 1)];
  if (chosen.chapters.empty()) {
    throw ReadError(source_name, "", "title " + std::to_string(title) + " has no chapters");
  }
  TitleChapters chapters;
  for (const HdDvdChapter& chapter : chosen.chapters) {
    const std::string_view written = chapter.written;
    const auto milliseconds =
        TimecodeMilliseconds(written.substr(std::min(kTimecodeOffset, written.size())));
    if (!milliseconds) {
      throw ReadError(source_name, AtLine(chapter.line),
                      "expected titleTimeBegin=\"HH:MM:SS:FF\", found " + QuotedExcerpt(written));
    }
    chapters.chapters.push_back({DiscTime(*milliseconds), chapter.name, {}});
  }
  if (const auto length = TimecodeMilliseconds(chosen.duration)) {
    chapters.length = DiscTime(*length);
  }
  return chapters;
}

}  // namespace markwright
