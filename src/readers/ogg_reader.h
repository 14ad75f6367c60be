#pragma once

#include <filesystem>
#include <string_view>

#include "core/chapter_list.h"

namespace markwright {

// The chapters of an OGG chapter text (CHAPTERnn=H:MM:SS.fff lines), in file order and canonical
// form, each named by the CHAPTERnnNAME= line of its number (the text after the first '='),
// before or after its chapter line; a name line without its chapter and other KEY=VALUE lines
// are passed over. A text that is not
// valid UTF-8 is read as Windows-1252. Throws ReadError naming source_name and the line for a
// line that is not KEY=VALUE, a malformed time, or a text without any chapter line, and when it
// holds more than kMaxChapters chapters.
TitleChapters ParseOggChapters(std::string_view text, std::string_view source_name);

class SourceLineReader;

// ParseOggChapters on the lines of a file, read one at a time.
TitleChapters ParseOggLineReader(SourceLineReader& lines, std::string_view source_name);

// ParseOggLineReader on the file's lines.
TitleChapters ReadOggChapters(const std::filesystem::path& path);

}  // namespace markwright
