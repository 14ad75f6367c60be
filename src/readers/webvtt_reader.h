#pragma once

#include <string_view>

#include "core/chapter.h"

namespace markwright {

// The chapters of a WebVTT file: the first line is "WEBVTT" (after a byte-order mark), alone or
// followed by a blank or a tab; each cue's start is a chapter, named by the cue's first text line
// with its tags left out and its character references (&amp; &lt; &gt; &nbsp; &#N; ...) decoded;
// a file that is not UTF-8 throughout is read as Windows-1252.
// Header lines, cue identifiers, cue settings and NOTE, STYLE and REGION blocks are passed over.
// The length is the last cue's end. Throws ReadError naming path and the line for a missing
// signature, a block that is not a cue, a malformed cue timing, or no cue at all.
TitleChapters ParseWebVtt(std::string_view text, std::string_view path);

}  // namespace markwright
