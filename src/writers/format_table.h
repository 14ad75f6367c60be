#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/chapter_list.h"

namespace markwright {

// A writer turns the re-timed chapters into the whole output text. It reads nothing but its
// arguments. input_rate_text is the input rate as the user gave it: a window list label such as
// "23.976", or the command line's normalised decimal such as "23.976023976024".
using FormatWriter = std::string (*)(const ChapterList& retimed_chapters, double output_rate,
                                     std::string_view input_rate_text);

struct DestinationFormat {
  std::string_view display_name;       // shown in the format window
  std::string_view key;                // the value of -f
  std::string_view default_file_name;  // proposed by the save dialog
  std::string_view filter;             // "description|pattern" for the save dialog
  FormatWriter writer;
};

// The twelve formats, in the order of the format window's list.
extern const std::array<DestinationFormat, 12> kDestinationFormats;

// The row whose display name is exactly the text; nullptr when there is none.
const DestinationFormat* FindFormatByDisplayName(std::string_view display_name);

// The first row whose key equals the text when both are upper-cased; nullptr when there is none.
const DestinationFormat* FindFormatByKey(std::string_view key);

// Runs the row's writer. Throws Refusal when the writer cannot express the input rate.
std::string BuildFormatText(const DestinationFormat& format, const ChapterList& retimed_chapters,
                            double output_rate, std::string_view input_rate_text);

}  // namespace markwright
