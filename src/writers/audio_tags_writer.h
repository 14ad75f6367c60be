#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "audio/audio_entry.h"
#include "core/chapter_list.h"
#include "core/frame_times.h"

namespace markwright {

// ID3 chapter frames for the chapters, in their order: element IDs chp0, chp1 ..., each named by
// its title, ending where the next chapter starts and the last at the end of the audio (-1).
// Throws Error for a start beyond the 32-bit milliseconds of a frame, and for more than 65,025
// chapters (255 tables of contents of 255).
std::vector<AudioTag> Id3ChapterTags(const TitleChapters& retimed_chapters);

// Vorbis comment fields for the chapters: CHAPTER001=HH:MM:SS.mmm, and CHAPTER001NAME=name when
// the chapter has a name; numbers of three digits, more from the thousandth chapter on.
std::vector<AudioTag> VorbisChapterTags(const TitleChapters& retimed_chapters);

// The formats' texts: a line saying that they go into an existing audio file (there is no text
// file of them to preview).
std::string WriteId3Note(const TitleChapters&, const FrameClock&, std::string_view);
std::string WriteVorbisCommentNote(const TitleChapters&, const FrameClock&, std::string_view);

}  // namespace markwright
