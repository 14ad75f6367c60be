#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace markwright {

// The argument text from the program's arguments, joined by one blank. An argument that does not
// start with "-" and holds a blank or a quote is enclosed in quotes so it stays one value:
// double quotes, or single quotes when it holds a double quote (and both, pieced together, when
// it holds both).
std::string JoinArguments(const std::vector<std::string_view>& arguments);

// Cuts the text into tokens at each delimiter that stands outside quotes at the start of the
// text or after a blank. Tokens are trimmed; the quotes that open and close a quoted section are
// removed, an unpaired quote stays. Empty tokens are dropped; without any token the result is
// one empty text.
std::vector<std::string> SplitOutsideQuotes(std::string_view text, char delimiter);

// The value of an option (name without its "-", letter case ignored) in the argument text, or ""
// when it is absent. Each token belongs to the longest option name it begins with (i, o, f,
// infps, outfps) and an option takes the first token that belongs to it; the value is the rest of
// the token after the name, trimmed, so "-id:/a.txt" gives "d:/a.txt" for i.
std::string GetOption(std::string_view argument_text, std::string_view name);

// The same, telling an option that is absent (nullopt) from one given without a value ("").
std::optional<std::string> FindOption(std::string_view argument_text, std::string_view name);

// The classic options of one conversion, each read once from the argument text.
struct ConversionOptions {
  std::string input;                       // -i, "" when absent
  std::string format_key;                  // -f, "" when absent
  std::optional<std::string> output;       // -o: nullopt when absent, "" when given without a value
  std::optional<std::string> input_rate;   // -infps, as -o
  std::optional<std::string> output_rate;  // -outfps, as -o
  std::string timecodes;       // the long option --timecodes: the output video's timestamp file
  std::string timecodes_in;    // --timecodes-in: the frame-numbered source's timestamp file
  std::string video{};         // --video: the output video itself, for its frames and key frames
  bool snap = false;           // --snap: chapters moved onto the video's key frames
  std::int64_t tolerance = 0;  // --tolerance: how far --snap moves a chapter, in frames
  bool quiet = false;          // --quiet: the notes on what was written are not printed
};
ConversionOptions ReadConversionOptions(std::string_view argument_text);

// The value of an option whose absence has a default (-o, -infps, -outfps; name without its "-"):
// "" when it is absent. Throws Refusal naming the option when it is given without a value (last,
// or ""), which would otherwise quietly take that default.
std::string ValueOrAbsent(const std::optional<std::string>& value, std::string_view name);

}  // namespace markwright
