#include "readers/mediainfo_request.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>

#include "core/decimal.h"
#include "core/error.h"
#include "readers/audio_module.h"
#include "readers/chapter_limit.h"
#include "readers/matroska_file.h"
#include "readers/mediainfo_child.h"
#include "readers/mediainfo_library.h"
#include "readers/thumbnails.h"
#include "readers/video_module.h"

namespace markwright {
namespace {

// The request's texts: one per option, parameter and choice, each a key and what follows it.
constexpr std::string_view kOption = "option:";
constexpr std::string_view kGeneral = "general:";
constexpr std::string_view kVideo = "video:";
constexpr std::string_view kMenuWithChapters = "menu:chapters";
constexpr std::string_view kEachMenu = "menu:each";
constexpr std::string_view kFieldNames = "fields:names";
constexpr std::string_view kFieldValues = "fields:values";
constexpr std::string_view kMatroska = "matroska";
constexpr std::string_view kVideoFrames = "video-frames";
// "thumbnails:<width>:<time>,<time>..."
constexpr std::string_view kThumbnails = "thumbnails:";
constexpr std::string_view kMatroskaFlatten = "matroska:flatten";
constexpr std::string_view kMatroskaLanguage = "matroska:language=";
// "audio:<container>", and for a write "audio-write" with the tags as input.
constexpr std::string_view kAudio = "audio:";
constexpr std::string_view kAudioWrite = "audio-write";

// Before the fields in an answer's texts: the menu's two positions, the first field, the number
// of fields and whether libmatroska read the file; a stored chapter takes three texts.
constexpr std::size_t kMenuTexts = 5;
constexpr std::size_t kStoredTexts = 3;
// An audio tag: its kind, key, value, start and end.
constexpr std::size_t kAudioTagTexts = 5;

// The whole number the text starts with, after blanks; 0 when it starts with none.
std::size_t LeadingWhole(std::string_view text) {
  text = TrimBlanks(text);
  std::size_t digits = 0;
  while (digits < text.size() && digits < 15 && text[digits] >= '0' && text[digits] <= '9') {
    ++digits;
  }
  return static_cast<std::size_t>(ParseDigits(text.substr(0, digits)).value_or(0));
}

// The answer about a Matroska file libmatroska has read: the general parameters asked for that
// it knows, and every edition's chapters.
MediaInfoAnswer MatroskaAnswer(const MediaInfoRequest& request, const MatroskaFile& file) {
  MediaInfoAnswer answer;
  answer.matroska = true;
  for (const std::string& name : request.general) {
    std::string value;
    if (name == "Format") value = file.doc_type == "webm" ? "WebM" : "Matroska";
    if (name == "Duration" && file.duration_milliseconds) {
      char text[32];
      const auto written = std::to_chars(std::begin(text), std::end(text),
                                         *file.duration_milliseconds, std::chars_format::fixed, 6);
      value.assign(text, written.ptr);
    }
    answer.general.push_back(std::move(value));
  }
  answer.video.resize(request.video.size());
  for (const MatroskaEdition& edition : file.editions) {
    std::string flags;
    if (edition.is_default) flags += 'd';
    if (edition.ordered) flags += 'o';
    if (edition.hidden) flags += 'h';
    std::string left_out;
    if (edition.nested_left_out > 0 || edition.other_names > 0) {
      left_out =
          std::to_string(edition.nested_left_out) + "," + std::to_string(edition.other_names);
    }
    answer.stored.push_back({"", std::move(flags), std::move(left_out)});
    for (const MatroskaChapter& chapter : edition.chapters) {
      answer.stored.push_back(
          {std::to_string(chapter.start_nanoseconds), chapter.name, chapter.language});
    }
  }
  return answer;
}

// The width and times of a thumbnails text, after its key.
bool ReadThumbnailRequest(std::string_view text, MediaInfoRequest& request) {
  const std::size_t colon = text.find(':');
  const auto width = ParseDigits(text.substr(0, colon));
  if (colon == std::string_view::npos || !width || *width == 0 || *width > 4096) return false;
  request.thumbnail_width = static_cast<int>(*width);
  for (text.remove_prefix(colon + 1); !text.empty();) {
    const std::size_t comma = text.find(',');
    const auto time = ParseDigits(text.substr(0, comma));
    if (!time) return false;
    request.thumbnail_times.push_back(*time);
    text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
  }
  return true;
}

void AppendAudioTagTexts(const std::vector<AudioTag>& tags, std::vector<std::string>& texts) {
  for (const AudioTag& tag : tags) {
    texts.insert(texts.end(), {std::to_string(tag.kind), tag.key, tag.value,
                               std::to_string(tag.start), std::to_string(tag.end)});
  }
}

std::optional<std::int64_t> ParseInteger(const std::string& text) {
  std::int64_t number = 0;
  const auto parsed = std::from_chars(text.data(), text.data() + text.size(), number);
  if (parsed.ec != std::errc() || parsed.ptr != text.data() + text.size()) return std::nullopt;
  return number;
}

// The tags of texts from `from` on, each as AppendAudioTagTexts puts it.
std::optional<std::vector<AudioTag>> AudioTagsFromTexts(const std::vector<std::string>& texts,
                                                        std::size_t from) {
  if (from > texts.size() || (texts.size() - from) % kAudioTagTexts != 0) return std::nullopt;
  std::vector<AudioTag> tags;
  for (std::size_t i = from; i < texts.size(); i += kAudioTagTexts) {
    const auto kind = ParseInteger(texts[i]);
    const auto start = ParseInteger(texts[i + 3]);
    const auto end = ParseInteger(texts[i + 4]);
    if (!kind || *kind < kAudioVorbisField || *kind > kAudioTocChild || !start || !end) {
      return std::nullopt;
    }
    tags.push_back({static_cast<AudioTagKind>(*kind), texts[i + 1], texts[i + 2], *start, *end});
  }
  return tags;
}

}  // namespace

std::vector<std::string> RequestTexts(const MediaInfoRequest& request) {
  std::vector<std::string> texts;
  for (const auto& [name, value] : request.options) {
    std::string text(kOption);
    text.append(name).append("=").append(value);
    texts.push_back(std::move(text));
  }
  for (const std::string& name : request.general) texts.push_back(std::string(kGeneral) + name);
  for (const std::string& name : request.video) texts.push_back(std::string(kVideo) + name);
  if (request.menu == MediaInfoRequest::Menu::kFirstWithChapters) {
    texts.emplace_back(kMenuWithChapters);
  }
  if (request.menu == MediaInfoRequest::Menu::kEach) texts.emplace_back(kEachMenu);
  if (request.fields == MediaInfoRequest::Fields::kNames) texts.emplace_back(kFieldNames);
  if (request.fields == MediaInfoRequest::Fields::kNamesAndValues) texts.emplace_back(kFieldValues);
  if (request.matroska_chapters) texts.emplace_back(kMatroska);
  if (request.video_frames) texts.emplace_back(kVideoFrames);
  if (request.thumbnail_width > 0) {
    std::string text(kThumbnails);
    text.append(std::to_string(request.thumbnail_width)).append(":");
    for (std::size_t i = 0; i < request.thumbnail_times.size(); ++i) {
      text.append(i == 0 ? "" : ",").append(std::to_string(request.thumbnail_times[i]));
    }
    texts.push_back(std::move(text));
  }
  if (request.matroska_flatten_nested) texts.emplace_back(kMatroskaFlatten);
  if (!request.matroska_language.empty()) {
    texts.push_back(std::string(kMatroskaLanguage) + request.matroska_language);
  }
  if (request.audio_container != 0) {
    texts.push_back(std::string(kAudio) + std::to_string(request.audio_container));
  }
  if (request.audio_write) texts.emplace_back(kAudioWrite);
  return texts;
}

std::vector<std::string> RequestInputTexts(const MediaInfoRequest& request) {
  std::vector<std::string> texts;
  if (request.audio_write) AppendAudioTagTexts(*request.audio_write, texts);
  return texts;
}

std::optional<MediaInfoRequest> RequestFromTexts(const std::vector<std::string>& texts,
                                                 const std::vector<std::string>& input) {
  MediaInfoRequest request;
  for (const std::string_view text : texts) {
    if (text.starts_with(kOption) && text.find('=') != std::string_view::npos) {
      const std::size_t equals = text.find('=');
      request.options.emplace_back(text.substr(kOption.size(), equals - kOption.size()),
                                   text.substr(equals + 1));
    } else if (text.starts_with(kGeneral)) {
      request.general.emplace_back(text.substr(kGeneral.size()));
    } else if (text.starts_with(kVideo)) {
      request.video.emplace_back(text.substr(kVideo.size()));
    } else if (text == kMenuWithChapters) {
      request.menu = MediaInfoRequest::Menu::kFirstWithChapters;
    } else if (text == kEachMenu) {
      request.menu = MediaInfoRequest::Menu::kEach;
    } else if (text == kFieldNames) {
      request.fields = MediaInfoRequest::Fields::kNames;
    } else if (text == kFieldValues) {
      request.fields = MediaInfoRequest::Fields::kNamesAndValues;
    } else if (text == kMatroska) {
      request.matroska_chapters = true;
    } else if (text == kVideoFrames) {
      request.video_frames = true;
    } else if (text.starts_with(kThumbnails)) {
      if (!ReadThumbnailRequest(text.substr(kThumbnails.size()), request)) return std::nullopt;
    } else if (text == kMatroskaFlatten) {
      request.matroska_flatten_nested = true;
    } else if (text.starts_with(kMatroskaLanguage)) {
      request.matroska_language = text.substr(kMatroskaLanguage.size());
    } else if (text.starts_with(kAudio)) {
      const auto container = ParseDigits(text.substr(kAudio.size()));
      if (!container || *container < kAudioMp3 || *container > kAudioFlac) return std::nullopt;
      request.audio_container = static_cast<int>(*container);
    } else if (text == kAudioWrite) {
      request.audio_write = AudioTagsFromTexts(input, 0);
      if (!request.audio_write) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (!input.empty() && !request.audio_write) return std::nullopt;
  return request;
}

std::vector<std::string> AnswerTexts(const MediaInfoAnswer& answer) {
  if (answer.audio) {
    std::vector<std::string> texts = {std::to_string(answer.audio->length)};
    AppendAudioTagTexts(answer.audio->tags, texts);
    return texts;
  }
  std::vector<std::string> texts = answer.general;
  texts.insert(texts.end(), answer.video.begin(), answer.video.end());
  texts.insert(texts.end(),
               {answer.chapters_begin, answer.chapters_end, std::to_string(answer.first_field),
                std::to_string(answer.field_names.size()), answer.matroska ? "1" : "0"});
  texts.insert(texts.end(), answer.field_names.begin(), answer.field_names.end());
  texts.insert(texts.end(), answer.field_values.begin(), answer.field_values.end());
  for (const StoredChapter& chapter : answer.stored) {
    texts.insert(texts.end(), {chapter.start, chapter.name, chapter.language});
  }
  if (!answer.frames.empty()) texts.push_back(answer.frames);
  return texts;
}

std::optional<MediaInfoAnswer> AnswerFromTexts(const std::vector<std::string>& all_texts,
                                               const MediaInfoRequest& request) {
  if (request.audio_container != 0) {
    const auto length = all_texts.empty() ? std::nullopt : ParseInteger(all_texts[0]);
    auto tags = AudioTagsFromTexts(all_texts, 1);
    if (!length || !tags || (request.audio_write && !tags->empty())) return std::nullopt;
    MediaInfoAnswer answer;
    answer.audio = AudioTags{std::move(*tags), *length};
    return answer;
  }
  std::vector<std::string> frames_last;
  if (request.video_frames) {
    if (all_texts.empty() || all_texts.back().empty()) return std::nullopt;
    frames_last.assign(all_texts.begin(), all_texts.end() - 1);
  }
  const std::vector<std::string>& texts = request.video_frames ? frames_last : all_texts;
  std::size_t next = 0;
  const auto take = [&](std::size_t count) {
    std::vector<std::string> taken;
    taken.reserve(count);
    for (; count > 0; --count) taken.push_back(texts[next++]);
    return taken;
  };
  if (texts.size() < request.general.size() + request.video.size() + kMenuTexts) {
    return std::nullopt;
  }
  MediaInfoAnswer answer;
  answer.general = take(request.general.size());
  answer.video = take(request.video.size());
  answer.chapters_begin = texts[next];
  answer.chapters_end = texts[next + 1];
  const auto first = ParseDigits(texts[next + 2]);
  const auto count = ParseDigits(texts[next + 3]);
  answer.matroska = texts[next + 4] == "1";
  next += kMenuTexts;
  const std::size_t left = texts.size() - next;
  const std::size_t lists = request.fields == MediaInfoRequest::Fields::kNamesAndValues ? 2 : 1;
  if (!first || !count || static_cast<std::uint64_t>(*count) > left / lists ||
      (left - static_cast<std::size_t>(*count) * lists) % kStoredTexts != 0) {
    return std::nullopt;
  }
  answer.first_field = static_cast<std::size_t>(*first);
  answer.field_names = take(static_cast<std::size_t>(*count));
  if (lists == 2) answer.field_values = take(static_cast<std::size_t>(*count));
  while (next < texts.size()) {
    const std::vector<std::string> chapter = take(kStoredTexts);
    answer.stored.push_back({chapter[0], chapter[1], chapter[2]});
  }
  if (request.video_frames) answer.frames = all_texts.back();
  return answer;
}

std::optional<std::pair<std::size_t, std::size_t>> ChapterFieldRange(std::string_view begin,
                                                                     std::string_view end,
                                                                     std::string_view count,
                                                                     std::string_view source_name) {
  const std::size_t first = LeadingWhole(begin);
  const std::size_t last = std::max(LeadingWhole(end), LeadingWhole(count));
  if (LeadingWhole(end) <= first) return std::nullopt;
  // One field more than chapters for the field an MP4's chapter track adds.
  if (last - first > kMaxChapters + 1) CheckRoomForChapter(kMaxChapters, source_name);
  return std::pair{first, last};
}

MediaInfoAnswer AnswerMediaInfoRequest(const MediaInfoRequest& request,
                                       const std::filesystem::path& path) {
  if (request.audio_container != 0) {
    MediaInfoAnswer answer;
    if (request.audio_write) {
      WriteAudioTagsWithModule(path, request.audio_container, *request.audio_write);
      answer.audio.emplace();
    } else {
      answer.audio = ReadAudioTagsWithModule(path, request.audio_container);
    }
    return answer;
  }
  if (request.video_frames) {
    MediaInfoAnswer answer;
    answer.general.resize(request.general.size());
    answer.video.resize(request.video.size());
    if (request.thumbnail_width > 0) {
      ReadThumbnailsWithModule(
          path, request.thumbnail_times, request.thumbnail_width,
          [](const VideoThumbnail& thumbnail) { SendAnswerPart(ThumbnailTexts(thumbnail)); });
    }
    answer.frames = ReadVideoFrameListWithModule(path);
    return answer;
  }
  if (request.matroska_chapters) {
    const MatroskaReading reading{request.matroska_flatten_nested, request.matroska_language};
    if (const auto file = ReadMatroskaFile(path, reading)) return MatroskaAnswer(request, *file);
  }
  const MediaInfoLibrary* library = nullptr;
  try {
    library = &MediaInfoLibrary::Shared();
  } catch (const Error& failure) {
    throw ReadError(path.string(), "", failure.what());
  }
  const MediaInfoFile file(*library, path, request.options);
  MediaInfoAnswer answer;
  for (const std::string& name : request.general) {
    answer.general.push_back(file.GeneralParameter(name));
  }
  for (const std::string& name : request.video) answer.video.push_back(file.VideoParameter(name));

  if (request.menu == MediaInfoRequest::Menu::kEach) {
    // Each menu's chapter fields in turn, one stored row per menu telling how many are its.
    std::size_t total = 0;
    for (std::size_t menu = 0; menu < file.MenuCount(); ++menu) {
      const auto range = ChapterFieldRange(file.MenuParameter("Chapters_Pos_Begin", menu),
                                           file.MenuParameter("Chapters_Pos_End", menu),
                                           file.MenuParameter("Count", menu), path.string());
      std::size_t count = 0;
      for (std::size_t i = range ? range->first : 0; range && i < range->second; ++i, ++count) {
        if (++total > kMaxChapters + 1) CheckRoomForChapter(kMaxChapters, path.string());
        answer.field_names.push_back(file.MenuFieldName(i, menu));
        if (request.fields == MediaInfoRequest::Fields::kNamesAndValues) {
          answer.field_values.push_back(file.MenuFieldValue(i, menu));
        }
      }
      answer.stored.push_back({"", "menu", std::to_string(count)});
    }
    return answer;
  }
  std::size_t menu = 0;
  std::optional<std::pair<std::size_t, std::size_t>> fields;
  const std::size_t menus = request.menu == MediaInfoRequest::Menu::kFirst
                                ? std::min<std::size_t>(file.MenuCount(), 1)
                                : file.MenuCount();
  for (std::size_t candidate = 0; candidate < menus && !fields; ++candidate) {
    fields = ChapterFieldRange(file.MenuParameter("Chapters_Pos_Begin", candidate),
                               file.MenuParameter("Chapters_Pos_End", candidate),
                               file.MenuParameter("Count", candidate), path.string());
    if (fields) menu = candidate;
  }
  answer.chapters_begin = file.MenuParameter("Chapters_Pos_Begin", menu);
  answer.chapters_end = file.MenuParameter("Chapters_Pos_End", menu);
  if (!fields || request.fields == MediaInfoRequest::Fields::kNone) return answer;

  answer.first_field = fields->first;
  for (std::size_t i = fields->first; i < fields->second; ++i) {
    answer.field_names.push_back(file.MenuFieldName(i, menu));
    if (request.fields == MediaInfoRequest::Fields::kNamesAndValues) {
      answer.field_values.push_back(file.MenuFieldValue(i, menu));
    }
  }
  return answer;
}

}  // namespace markwright
