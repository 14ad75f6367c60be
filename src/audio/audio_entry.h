#pragma once

// The contract between markwright and its audio module (libmarkwright_audio.so), which holds the
// TagLib code and is loaded, by the reading child only, when an audio file is read or written, so
// that a run that reads no audio never loads TagLib. Plain C types cross it: each side keeps its
// own C++ objects.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" {

// One entry of an audio file's chapter tags, as the module reads or writes it. The texts are
// UTF-8, not terminated, valid for the call only.
struct MarkwrightAudioTag {
  int kind;  // a markwright::AudioTagKind
  const char* key;
  std::size_t key_size;
  const char* value;
  std::size_t value_size;
  std::int64_t start_ms;  // a chapter frame's start; a table of contents: 1 when top-level
  std::int64_t end_ms;    // a chapter frame's end; -1 on write: the end of the audio
};

using MarkwrightAudioTagSink = void (*)(void* context, const MarkwrightAudioTag* tag);
}

namespace markwright {

// What an entry is. Vorbis comment fields: key and value of each field whose name begins with
// CHAPTER. ID3 chapter frames (CHAP): key the element ID, value the embedded title (TIT2), with
// start and end. ID3 tables of contents (CTOC): one entry per child, key the table's element ID,
// value the child's.
enum AudioTagKind : int {
  kAudioVorbisField = 1,
  kAudioChapterFrame = 2,
  kAudioTocChild = 3,
};

// How the file holds its audio, from its first bytes (the caller's detection).
enum AudioContainer : int {
  kAudioMp3 = 1,
  kAudioOggVorbis = 2,
  kAudioOpus = 3,
  kAudioFlac = 4,
};

// One entry as markwright keeps it, owning its texts.
struct AudioTag {
  AudioTagKind kind = kAudioVorbisField;
  std::string key;
  std::string value;
  std::int64_t start = 0;
  std::int64_t end = 0;

  bool operator==(const AudioTag&) const = default;
};

// A file's chapter tags as read, with the audio's length in milliseconds (-1 when unknown).
struct AudioTags {
  std::vector<AudioTag> tags;
  std::int64_t length = -1;

  bool operator==(const AudioTags&) const = default;
};

inline constexpr const char* kAudioModuleFileName = "libmarkwright_audio.so";
inline constexpr const char* kAudioReadEntryName = "markwright_read_audio_tags";
inline constexpr const char* kAudioWriteEntryName = "markwright_write_audio_tags";

// Reads the chapter tags of the file: calls sink once per entry and sets *length_ms to the
// audio's length (-1 when unknown). Returns 0, or 1 with the cause in error (NUL-terminated, cut
// to error_size).
using AudioReadEntry = int (*)(const char* path, int container, MarkwrightAudioTagSink sink,
                               void* context, std::int64_t* length_ms, char* error,
                               std::size_t error_size);

// Replaces the file's chapter tags with the entries (ID3 chapter frames for MP3, Vorbis comment
// fields otherwise) and saves the file; every other tag stays. An ID3 table of contents listing
// the chapter frames in their order is written with them (tables of 255 below it for more).
// Returns as AudioReadEntry does.
using AudioWriteEntry = int (*)(const char* path, int container, const MarkwrightAudioTag* tags,
                                std::size_t count, char* error, std::size_t error_size);

}  // namespace markwright
