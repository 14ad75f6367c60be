#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audio/audio_entry.h"

namespace markwright {

// How an audio file holds its audio, from its first bytes: an ID3v2 tag or an MPEG audio frame
// header (MP3), an Ogg page whose first packet is a Vorbis or Opus header, or the FLAC signature;
// 0 for anything else.
int AudioContainerOfHead(std::string_view head);

// Where the file ends when it ends inside the ID3v2 tag its head starts with (the tag's size as
// its header gives it); nullopt for a whole tag or none.
std::optional<std::uintmax_t> Id3TagCutAt(const std::filesystem::path& path, std::string_view head);

// The chapter tags of the audio file, read by TagLib in the reading child (mediainfo_child.h),
// so that a file that crashes TagLib (chapter frames nested until its stack overflows) or keeps
// it busy (given up after 10 s) ends with a message. Throws ReadError naming the file when the
// audio module cannot be loaded, TagLib cannot read the file or the child fails.
AudioTags ReadAudioTags(const std::filesystem::path& path, int container);

// Replaces the file's chapter tags with these, through TagLib in the reading child as
// ReadAudioTags reads; the file is changed in place, so callers give it a copy. Throws Error
// with the cause when that fails.
void WriteAudioTags(const std::filesystem::path& path, int container,
                    const std::vector<AudioTag>& tags);

// In the reading child: the same with the audio module (audio/audio_entry.h), loaded on first
// use from beside the executable (a build tree) or from its module folder once installed. Each
// throws ReadError naming the file, with TagLib's cause or why the module cannot be loaded.
AudioTags ReadAudioTagsWithModule(const std::filesystem::path& path, int container);
void WriteAudioTagsWithModule(const std::filesystem::path& path, int container,
                              const std::vector<AudioTag>& tags);

}  // namespace markwright
