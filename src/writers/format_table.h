#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/chapter_list.h"
#include "core/frame_times.h"
#include "writers/format_holds.h"

namespace markwright {

// A writer turns the re-timed chapters (with their names and the title's length) into the whole
// output text. It reads nothing but its arguments. The clock gives the frames of the output video:
// the output rate, or the frames of a timestamp file. input_rate_text is the input rate as the user
// gave it: a window list label such as "23.976", or the command line's normalised decimal such as
// "23.976023976024".
using FormatWriter = std::string (*)(const TitleChapters& retimed_chapters,
                                     const FrameClock& output_clock,
                                     std::string_view input_rate_text);

// The remarks a format has on a list it still writes (a rule of the place the text goes to that
// the list breaks), one line each.
using FormatNotes = std::vector<std::string> (*)(const TitleChapters& retimed_chapters);

// A format stored into an existing audio file instead of written as a file of its own: the
// conversion edits that file in place (WriteChaptersIntoAudioFile), and the writer's text only
// says so.
enum class InPlaceTags { kNone, kId3, kVorbisComment };

struct DestinationFormat {
  std::string_view display_name;       // shown in the format window
  std::string_view key;                // the value of -f
  std::string_view default_file_name;  // proposed by the save dialog
  std::string_view filter;             // "description|pattern" for the save dialog
  FormatWriter writer;
  FormatNotes notes = nullptr;  // none for most formats
  FormatHolds holds = {};       // what it holds beyond the starts; bare times when not set
  InPlaceTags in_place = InPlaceTags::kNone;
};

// The formats in the order of the format window's list: the twelve classic ones, then Matroska
// XML, ffmpeg metadata, WebVTT, the plain time list, ffmpeg's key-frame list, the editing
// software's markers, Podlove and Podcasting 2.0 chapters, CUE sheets, Audacity labels and the
// chapter tags of audio files (ID3, Vorbis comments).
inline constexpr std::size_t kClassicFormatCount = 12;
extern const std::array<DestinationFormat, 25> kDestinationFormats;

// The row whose display name is exactly the text; nullptr when there is none.
const DestinationFormat* FindFormatByDisplayName(std::string_view display_name);

// The first row whose key equals the text when both are upper-cased; nullptr when there is none.
const DestinationFormat* FindFormatByKey(std::string_view key);

// Runs the row's writer. Throws Refusal when the writer cannot express the input rate, or the
// format cannot hold the list (Matroska XML without chapters).
std::string BuildFormatText(const DestinationFormat& format, const TitleChapters& retimed_chapters,
                            const FrameClock& output_clock, std::string_view input_rate_text);

// What a conversion to the row's format loses of the list (see LossNotes), then the row's own
// notes on it; empty when there is nothing to say.
std::vector<std::string> FormatNotesFor(const DestinationFormat& format,
                                        const TitleChapters& retimed_chapters);

}  // namespace markwright
