#pragma once

#include <string_view>

#include "core/chapter.h"

namespace markwright {

// The markers of Premiere Pro's marker export: a tab-separated table whose first line names the
// columns ("Marker Name", "Description", "In", "Out", "Duration", "Marker Type"), then one marker
// per line. Each marker of any type is a chapter at its In timecode (HH:MM:SS:FF, or HH;MM;SS;FF
// in drop-frame counting, which applies at 29.97 and 59.94), named by its Marker Name. Timecodes
// count frames at input_rate, as the sequence's own timecode does (it starts at 00:00:00:00).
// Premiere writes the file in UTF-16 with a byte-order mark; UTF-8 (else Windows-1252) is read
// too. Blank lines are skipped. Throws ReadError naming the line for a missing header column, a
// line without an In field, a malformed timecode or one no frame has, and for a table without
// markers or a rate without timecode (see TimecodeBaseOf).
TitleChapters ParsePremiereMarkers(std::string_view bytes, std::string_view source_name,
                                   double input_rate);

// Whether a text (UTF-8) starts as such a table: "Marker Name" and a tab.
bool IsPremiereMarkerTable(std::string_view text);

}  // namespace markwright
