#pragma once

#include <optional>
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

// A chapter name in UTF-8 from bytes of unknown encoding: the bytes themselves when they are
// well-formed UTF-8, else the bytes read as Windows-1252.
std::string Utf8Name(std::string_view bytes);

// An XML text in UTF-8, line ends and markup where they were: decoded from UTF-16 when it starts
// with that byte-order mark, from Latin-1 or Windows-1252 when its declaration names one of them,
// and otherwise read as Utf8Name reads a name (a text that is not UTF-8 throughout is
// Windows-1252). nullopt when the bytes already are that text, so that no copy is made.
std::optional<std::string> XmlTextInUtf8(std::string_view bytes);

// The text with each byte that begins no well-formed UTF-8 sequence replaced by U+FFFD. An XML
// library writes a character reference to no character (&#xD800;, &#x110000;) into its text as
// such bytes.
std::string ReplaceInvalidUtf8(std::string_view text);

// The text of an XML attribute value with its character references decoded: &amp; &lt; &gt;
// &quot; &apos;, &#N; and &#xH;. A reference of another form, or to no character XML allows,
// stays as written.
std::string DecodeXmlReferences(std::string_view text);

}  // namespace markwright
