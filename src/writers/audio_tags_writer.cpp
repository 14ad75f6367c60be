#include "writers/audio_tags_writer.h"

#include <cstdint>

#include "core/error.h"
#include "core/timestamp.h"

namespace markwright {

std::vector<AudioTag> Id3ChapterTags(const TitleChapters& retimed_chapters) {
  // A frame holds its times as 32-bit milliseconds, 0xFFFFFFFF meaning none.
  constexpr std::int64_t kLargestTime = 0xFFFFFFFE;
  const std::vector<Chapter>& chapters = retimed_chapters.chapters;
  // The frames' tables of contents list at most 255 tables of 255 chapters each.
  constexpr std::size_t kMostChapters = std::size_t{255} * 255;
  if (chapters.size() > kMostChapters) {
    throw Error("ID3 chapters hold at most 65,025 chapters, and there are " +
                std::to_string(chapters.size()));
  }
  std::vector<AudioTag> tags;
  tags.reserve(chapters.size());
  for (std::size_t i = 0; i < chapters.size(); ++i) {
    const std::int64_t start = chapters[i].start;
    if (start > kLargestTime) {
      throw Error("chapter " + std::to_string(i + 1) + " starts at " + FormatTimestamp(start) +
                  ", later than an ID3 chapter frame can hold");
    }
    const std::int64_t end = i + 1 < chapters.size() ? chapters[i + 1].start : -1;
    tags.push_back({kAudioChapterFrame, "chp" + std::to_string(i), chapters[i].name, start,
                    end > kLargestTime ? kLargestTime : end});
  }
  return tags;
}

std::vector<AudioTag> VorbisChapterTags(const TitleChapters& retimed_chapters) {
  std::vector<AudioTag> tags;
  std::size_t number = 0;
  for (const Chapter& chapter : retimed_chapters.chapters) {
    std::string key = std::to_string(++number);
    key.insert(0, key.size() < 3 ? 3 - key.size() : 0, '0');
    key.insert(0, "CHAPTER");
    tags.push_back({kAudioVorbisField, key, FormatTimestamp(chapter.start)});
    if (!chapter.name.empty()) tags.push_back({kAudioVorbisField, key + "NAME", chapter.name});
  }
  return tags;
}

std::string WriteId3Note(const TitleChapters&, const FrameClock&, std::string_view) {
  return "ID3 chapters go into an existing MP3 file: Save asks for it, and its audio and other "
         "tags stay as they are.\n";
}

std::string WriteVorbisCommentNote(const TitleChapters&, const FrameClock&, std::string_view) {
  return "Vorbis comment chapters go into an existing Ogg Vorbis, Opus or FLAC file: Save asks "
         "for it, and its audio and other tags stay as they are.\n";
}

}  // namespace markwright
