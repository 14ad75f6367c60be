#include "writers/cue_writer.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "writers/chapter_label.h"
#include "writers/text_lines.h"

namespace markwright {
namespace {

constexpr std::size_t kMostTracks = 99;
constexpr std::int64_t kFramesPerMinute = 4500;  // 75 frames a second

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? '\'' : c;
  return quoted + "\"";
}

std::string FileType(std::string_view name) {
  std::string extension(name.substr(std::min(name.rfind('.'), name.size())));
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".mp3") return "MP3";
  if (extension == ".aif" || extension == ".aiff") return "AIFF";
  return "WAVE";
}

// mm:ss:ff at the nearest frame, a tie (a time 20 ms past a multiple of 40) going to the even one.
std::string IndexTime(std::int64_t milliseconds) {
  std::int64_t frames = milliseconds * 3 / 40;
  const std::int64_t rest = milliseconds * 3 % 40;
  if (rest > 20 || (rest == 20 && frames % 2 == 1)) ++frames;
  std::string text = TwoDigits(frames / kFramesPerMinute) + ":";
  AppendTwoDigits(text, frames / 75 % 60);
  text += ':';
  AppendTwoDigits(text, frames % 75);
  return text;
}

}  // namespace

std::string WriteCueSheet(const TitleChapters& title) {
  if (title.chapters.empty()) throw NoChaptersToWrite("CUE sheets");
  if (title.chapters.size() > kMostTracks) {
    throw Refusal("a CUE sheet holds at most 99 tracks, and the source has " +
                  std::to_string(title.chapters.size()) + " chapters");
  }
  const std::string file = title.media_file.empty() ? "audio.wav" : title.media_file;
  std::string text;
  AppendOnOneLine(text, "FILE " + Quoted(file) + " " + FileType(file));
  text += '\n';
  for (std::size_t index = 0; index < title.chapters.size(); ++index) {
    const Chapter& chapter = title.chapters[index];
    text += "  TRACK " + TwoDigits(static_cast<long long>(index) + 1) + " AUDIO\n";
    text += "    TITLE " + Quoted(ChapterLabel(chapter, index)) + "\n";
    text += "    INDEX 01 " + IndexTime(chapter.start) + "\n";
  }
  return text;
}

}  // namespace markwright
