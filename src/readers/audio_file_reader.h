#pragma once

#include <filesystem>
#include <string_view>

#include "core/chapter.h"
#include "readers/audio_module.h"

namespace markwright {

// The chapters of an MP3, Ogg Vorbis, Opus or FLAC file, read with TagLib in the audio module,
// and the audio's length. Throws ReadError naming the file when it is none of these, TagLib
// cannot read it or it holds no chapters.
TitleChapters ReadAudioFileChapters(const std::filesystem::path& path);

// The chapters the tags hold. ID3 chapter frames (CHAP) come in the order of the top-level table
// of contents (CTOC; the first table when none is top-level; a child table is walked where it is
// listed), then the frames no table lists by start time; each is named by its embedded title.
// Vorbis comments CHAPTERnnn=HH:MM:SS.mmm (seconds with a decimal fraction, cut to whole
// milliseconds) with their CHAPTERnnnNAME come in the order of their numbers; a name without a
// time is passed over. Throws ReadError "no chapters in the file" when
// there are none, and for a time that is no timestamp.
TitleChapters AudioChapters(const AudioTags& tags, std::string_view source_name);

}  // namespace markwright
