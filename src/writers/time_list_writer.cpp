#include "writers/time_list_writer.h"

#include <cstdint>
#include <string_view>

#include "core/error.h"
#include "writers/chapter_label.h"
#include "writers/text_lines.h"

namespace markwright {
namespace {

constexpr std::int64_t kShortestChapterSeconds = 10;

// Whole seconds, truncated: the value the written time shows.
std::int64_t Seconds(std::int64_t milliseconds) {
  return milliseconds / 1000;
}

std::string TimeText(std::int64_t seconds, bool with_hours) {
  std::string text;
  if (with_hours) {
    text = std::to_string(seconds / 3600) + ":";
    AppendTwoDigits(text, seconds / 60 % 60);
  } else {
    text = std::to_string(seconds / 60);
  }
  text += ':';
  AppendTwoDigits(text, seconds % 60);
  return text;
}

bool ReachesAnHour(const TitleChapters& title) {
  for (const Chapter& chapter : title.chapters) {
    if (Seconds(chapter.start) >= 3600) return true;
  }
  return false;
}

}  // namespace

std::string WriteTimeList(const TitleChapters& title) {
  const bool with_hours = ReachesAnHour(title);
  std::string text;
  for (std::size_t index = 0; index < title.chapters.size(); ++index) {
    text += TimeText(Seconds(title.chapters[index].start), with_hours) + " " +
            ChapterLabel(title.chapters[index], index) + "\n";
  }
  return text;
}

std::vector<std::string> TimeListNotes(const TitleChapters& title) {
  std::vector<std::string> notes;
  const auto& chapters = title.chapters;
  if (!chapters.empty() && Seconds(chapters.front().start) != 0) {
    notes.push_back("the first chapter starts at " +
                    TimeText(Seconds(chapters.front().start), ReachesAnHour(title)) +
                    "; video sites want the first at 0:00");
  }
  if (chapters.size() < 3) {
    notes.push_back("the list has " + std::to_string(chapters.size()) +
                    (chapters.size() == 1 ? " chapter" : " chapters") +
                    "; video sites want at least 3");
  }
  for (std::size_t index = 0; index < chapters.size(); ++index) {
    const bool last = index + 1 == chapters.size();
    if (last && !title.length) break;
    const std::int64_t seconds =
        Seconds(last ? *title.length : chapters[index + 1].start) - Seconds(chapters[index].start);
    if (seconds >= kShortestChapterSeconds) continue;
    // A note is a message: a name's control characters must not reach the terminal or the
    // window as they are.
    notes.push_back("chapter " + std::to_string(index + 1) + " \"" +
                    EscapedText(ChapterLabel(chapters[index], index)) + "\" lasts " +
                    std::to_string(seconds) + " s; video sites want at least " +
                    std::to_string(kShortestChapterSeconds) + " s");
  }
  return notes;
}

}  // namespace markwright
