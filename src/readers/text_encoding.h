#pragma once

#include <string>
#include <string_view>

namespace markwright {

// Appends the code point (at most U+10FFFF, no surrogate) in UTF-8. A larger value, as a
// library's wide text may hold, still takes four bytes: the lead byte keeps its three value bits.
void AppendUtf8(std::string& text, char32_t code);

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// The bytes read as Windows-1252, the code page of chapter files made by older Windows tools, in
// UTF-8. The five bytes that code page leaves undefined stand for the C1 controls of the same
// number, as Windows maps them.
std::string Windows1252ToUtf8(std::string_view bytes);

// The text of an XML attribute value with its character references decoded: &amp; &lt; &gt;
// &quot; &apos;, &#N; and &#xH;. A reference of another form, or to no character XML allows,
// stays as written.
std::string DecodeXmlReferences(std::string_view text);

}  // namespace markwright
