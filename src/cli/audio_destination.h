#pragma once

#include <filesystem>

#include "core/chapter_list.h"
#include "writers/format_table.h"

namespace markwright {

// Puts the chapters into the existing audio file as the format's tags (ID3 chapter frames into an
// MP3 file, Vorbis comments into an Ogg Vorbis, Opus or FLAC file), replacing its chapter tags
// and keeping its audio and other tags. The change is made on a copy renamed over the file, so a
// failure leaves the file as it was. Throws WriteError, before anything is changed, when the
// file does not exist or is not such an audio file.
void WriteChaptersIntoAudioFile(const std::filesystem::path& path, InPlaceTags tags,
                                const TitleChapters& retimed_chapters);

}  // namespace markwright
