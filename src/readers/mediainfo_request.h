#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "audio/audio_entry.h"

namespace markwright {

// What a reader may ask the reading child (see mediainfo_child.h) about one file: libmediainfo's
// fields, as texts, for the reader to interpret. The child knows no reader.
struct MediaInfoRequest {
  // The library's options (name, value), set before the file is opened.
  std::vector<std::pair<std::string, std::string>> options;
  // Parameters of the whole file ("Format", "Duration") and of its first video stream.
  std::vector<std::string> general;
  std::vector<std::string> video;
  // Which menu stream: the first, the first whose chapter positions enclose fields, or each menu
  // in turn (see MediaInfoAnswer::stored).
  enum class Menu { kFirst, kFirstWithChapters, kEach };
  Menu menu = Menu::kFirst;
  // The menu's chapter fields: none (its positions only), their names, or names and values.
  enum class Fields { kNone, kNames, kNamesAndValues };
  Fields fields = Fields::kNone;
  // A Matroska or WebM file is read with libmatroska instead of libmediainfo: the general
  // parameters "Format" and "Duration" as libmediainfo names them, and its default edition's
  // chapters (MediaInfoAnswer::matroska).
  bool matroska_chapters = false;
  // The frames of the first video stream, read with libavformat (video_frames.h) instead of
  // anything above: MediaInfoAnswer::frames.
  bool video_frames = false;
  // With video_frames: the frames shown at these times (milliseconds from the first frame),
  // thumbnail_width pixels wide, each sent as a part (thumbnails.h) as soon as it is decoded,
  // before the answer.
  std::vector<std::int64_t> thumbnail_times{};
  int thumbnail_width{};
  // How libmatroska reads the chapter atoms: nested ones too, and the name in which language
  // (letters, digits and "-" only, as a language tag has).
  bool matroska_flatten_nested = false;
  std::string matroska_language = {};
  // An audio file's chapter tags, with TagLib (readers/audio_module.h) instead of anything above:
  // read (MediaInfoAnswer::audio) from a file of this AudioContainer, or replaced in the file by
  // audio_write. The tags to write travel as the request's input (RequestInputTexts).
  int audio_container{};
  std::optional<std::vector<AudioTag>> audio_write{};

  bool operator==(const MediaInfoRequest&) const = default;
};

// One chapter of a Matroska file (see matroska_file.h): its start in nanoseconds, its name and
// its language, empty for none. Each edition's chapters follow a row with an empty start whose
// name holds the edition's set flags as letters (d default, o ordered, h hidden) and whose
// language, when something was not read, "N,M": N nested chapters left out, M chapters named in
// further displays.
struct StoredChapter {
  std::string start;
  std::string name;
  std::string language;

  bool operator==(const StoredChapter&) const = default;
};

struct MediaInfoAnswer {
  std::vector<std::string> general;
  std::vector<std::string> video;
  // The menu's "Chapters_Pos_Begin" and "Chapters_Pos_End", as the library gives them.
  std::string chapters_begin;
  std::string chapters_end;
  // The names (and values) of the fields from first_field on; empty texts where there is none.
  std::size_t first_field = 0;
  std::vector<std::string> field_names;
  std::vector<std::string> field_values;
  // With Menu::kEach (libmediainfo), one row per menu instead: name "menu", language the number
  // of its chapter fields, which follow those of the menus before it in the field lists.
  std::vector<StoredChapter> stored;
  // True when libmatroska read the file: its chapters are in stored, and there are no fields.
  bool matroska = false;
  // For a video_frames request: the frame list of ReadVideoFrameList, the answer's last text.
  std::string frames{};
  // For an audio request: the tags read, none after a write.
  std::optional<AudioTags> audio{};

  bool operator==(const MediaInfoAnswer&) const = default;
};

// Both as the texts that travel between the processes, and back; nothing for texts that are not
// one (given the request, for an answer). A request's input (mediainfo_wire.h) is texts of its
// own: the tags to write, which may be long and hold any byte.
std::vector<std::string> RequestTexts(const MediaInfoRequest& request);
std::vector<std::string> RequestInputTexts(const MediaInfoRequest& request);
std::optional<MediaInfoRequest> RequestFromTexts(const std::vector<std::string>& texts,
                                                 const std::vector<std::string>& input = {});
std::vector<std::string> AnswerTexts(const MediaInfoAnswer& answer);
std::optional<MediaInfoAnswer> AnswerFromTexts(const std::vector<std::string>& texts,
                                               const MediaInfoRequest& request);

// The fields [first, end) that hold a menu's chapters, from the texts of its "Chapters_Pos_Begin",
// "Chapters_Pos_End" and "Count" (in an MP4's chapter track the library adds a field after noting
// the positions, so up to the last field); each read as the whole number it starts with. Nothing
// when that encloses no field; ReadError "more than 1,000,000 chapters in the file" naming
// source_name when it encloses more fields than a title may have chapters.
std::optional<std::pair<std::size_t, std::size_t>> ChapterFieldRange(std::string_view begin,
                                                                     std::string_view end,
                                                                     std::string_view count,
                                                                     std::string_view source_name);

// The reading child's side: asks libmediainfo, or reads a Matroska file with libmatroska, a
// video with the video module or an audio file's tags with the audio module where the request
// says so. Throws ReadError naming the file when the library cannot be loaded, as
// ChapterFieldRange does, and as ReadMatroskaFile does.
MediaInfoAnswer AnswerMediaInfoRequest(const MediaInfoRequest& request,
                                       const std::filesystem::path& path);

}  // namespace markwright
