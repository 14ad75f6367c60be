#include "readers/audio_file_reader.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/error.h"
#include "core/timestamp.h"
#include "readers/chapter_limit.h"
#include "readers/input_kind.h"
#include "readers/source_file.h"

namespace markwright {
namespace {

void Add(TitleChapters& title, std::int64_t start, std::string name, std::string_view source_name) {
  CheckRoomForChapter(title.chapters.size(), source_name);
  title.chapters.push_back(Chapter{start, std::move(name), {}});
}

// Walks a table of contents depth first: each child that is a chapter frame is added, a child
// that is another table is walked in its place (each table once, so a loop of tables ends; tables
// nested deeper than any real file nests them are passed over, so a crafted chain of them cannot
// exhaust the stack: their frames still follow by start time).
void WalkToc(const std::string& toc, const std::multimap<std::string, std::string>& children,
             const std::map<std::string, const AudioTag*>& frames, std::set<std::string>& walked,
             std::vector<const AudioTag*>& order, int depth = 0) {
  constexpr int kDeepestTable = 16;
  if (depth > kDeepestTable || !walked.insert(toc).second) return;
  const auto [first, last] = children.equal_range(toc);
  for (auto child = first; child != last; ++child) {
    if (const auto frame = frames.find(child->second); frame != frames.end()) {
      order.push_back(frame->second);
    } else if (children.contains(child->second)) {
      WalkToc(child->second, children, frames, walked, order, depth + 1);
    }
  }
}

std::vector<const AudioTag*> Id3Order(const std::vector<AudioTag>& tags) {
  std::multimap<std::string, std::string> children;
  std::map<std::string, const AudioTag*> frames;
  std::vector<const AudioTag*> by_start;
  std::string top;
  for (const AudioTag& tag : tags) {
    if (tag.kind == kAudioTocChild) {
      children.emplace(tag.key, tag.value);
      if (top.empty()) top = tag.key;
    } else if (tag.kind == kAudioChapterFrame) {
      frames.emplace(tag.key, &tag);
      by_start.push_back(&tag);
    }
  }
  // The first top-level table, else the first table.
  for (const AudioTag& tag : tags) {
    if (tag.kind == kAudioTocChild && tag.start == 1) {
      top = tag.key;
      break;
    }
  }
  std::vector<const AudioTag*> order;
  std::set<std::string> walked;
  if (!top.empty()) WalkToc(top, children, frames, walked, order);
  // Frames no table reaches follow by start time, so none is lost.
  std::ranges::stable_sort(by_start, {}, &AudioTag::start);
  const std::set<const AudioTag*> listed(order.begin(), order.end());
  for (const AudioTag* frame : by_start) {
    if (!listed.contains(frame)) order.push_back(frame);
  }
  return order;
}

// The number of a CHAPTERnnn or CHAPTERnnnNAME field and whether it is the name; nullopt for
// another field.
struct VorbisField {
  std::string number;  // without leading zeros, so "007" and "7" are one chapter
  bool name = false;
};
std::optional<VorbisField> ChapterField(std::string_view key) {
  if (!key.starts_with("CHAPTER")) return std::nullopt;
  key.remove_prefix(7);
  const std::size_t digits = std::min(key.find_first_not_of("0123456789"), key.size());
  const std::string_view rest = key.substr(digits);
  if (digits == 0 || (!rest.empty() && rest != "NAME")) return std::nullopt;
  std::string_view number = key.substr(0, digits);
  while (number.size() > 1 && number.front() == '0') number.remove_prefix(1);
  return VorbisField{std::string(number), !rest.empty()};
}

// A comment's time has seconds with a decimal fraction ("0:01:02.5" is 62.5 s): its fraction as
// three digits, cut after the third, for ParseTimestamp, which reads them as milliseconds.
std::string WholeMilliseconds(std::string_view value) {
  std::string text(value);
  const std::size_t dot = text.rfind('.');
  if (dot == std::string::npos) return text + ".000";
  std::string fraction = text.substr(dot + 1);
  if (fraction.find_first_not_of("0123456789") != std::string::npos) return text;
  fraction.resize(3, '0');
  return text.substr(0, dot + 1) + fraction;
}

}  // namespace

TitleChapters AudioChapters(const AudioTags& tags, std::string_view source_name) {
  TitleChapters title;
  if (tags.length >= 0) title.length = tags.length;
  for (const AudioTag* frame : Id3Order(tags.tags)) {
    Add(title, frame->start, frame->value, source_name);
  }
  // Numbers compare by length first, then as text: numeric order without overflow.
  const auto numeric = [](const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  };
  std::map<std::string, std::pair<const AudioTag*, std::string>, decltype(numeric)> fields(numeric);
  for (const AudioTag& tag : tags.tags) {
    if (tag.kind != kAudioVorbisField) continue;
    const auto field = ChapterField(tag.key);
    if (!field) continue;
    auto& [time, name] = fields[field->number];
    if (field->name && name.empty()) name = tag.value;
    if (!field->name && time == nullptr) time = &tag;
  }
  for (const auto& [number, field] : fields) {
    const AudioTag* time = field.first;
    if (time == nullptr) continue;
    std::int64_t start = PlainTimestampMilliseconds(time->value);
    if (start < 0) {
      try {
        start = ParseTimestamp(WholeMilliseconds(time->value));
      } catch (const Error&) {
        throw ReadError(source_name, "comment " + time->key,
                        "malformed time " + QuotedText(time->value) + " (HH:MM:SS.mmm expected)");
      }
    }
    Add(title, start, field.second, source_name);
  }
  if (title.chapters.empty()) throw ReadError(source_name, "", "no chapters in the file");
  return title;
}

TitleChapters ReadAudioFileChapters(const std::filesystem::path& path) {
  const std::string head = ReadSourceHead(path, kDetectionHeadSize);
  const int container = AudioContainerOfHead(head);
  if (container == 0) {
    throw ReadError(path.string(), "", "not an MP3, Ogg Vorbis, Opus or FLAC file");
  }
  // TagLib reads what there is of a tag cut short; its chapters would be lost without a word.
  if (const auto cut = Id3TagCutAt(path, head)) {
    throw ReadError(path.string(), AtOffset(*cut), "the file ends inside its ID3 tag");
  }
  return AudioChapters(ReadAudioTags(path, container), path.string());
}

}  // namespace markwright
