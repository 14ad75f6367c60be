#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chapter_edit.h"

namespace markwright {

// The GNU-style options (--name, --name=value, --name value) and the arguments left for the
// classic -i -o -f -infps -outfps text. They are taken out before that text is built, so they
// cannot change how a classic command line is read.
struct LongOptions {
  std::vector<std::string_view> classic_arguments;
  bool help = false;
  bool version = false;
  bool list = false;
  bool json = false;
  bool all = false;
  std::optional<std::string> stream;
  std::vector<ChapterEditRequest> edits;  // in the order given
  std::string timecodes;                  // --timecodes FILE, "" when absent
  std::string timecodes_in;               // --timecodes-in FILE, "" when absent
  bool flatten_nested = false;            // --nested=flatten
  std::string language;                   // --language TAG, "" when absent
  std::string video;                      // --video FILE, "" when absent
  bool check = false;                     // --check: chapters against the video's key frames
  bool snap = false;                      // --snap: chapters moved onto key frames
  std::int64_t tolerance = 0;             // --tolerance N, in frames
  bool quiet = false;                     // --quiet: no notes on what a conversion loses

  bool AnyConversionOption() const {
    return list || json || all || stream.has_value() || !edits.empty() || flatten_nested ||
           !language.empty();
  }
};

// Splits the arguments. Throws Refusal for an unknown --option, a long option without its value,
// and a classic option (-o, -outfps, ...) given as its own argument and followed by one that
// begins with "-": such a value would otherwise be read as the next option and the run would go
// on with the default.
LongOptions SplitLongOptions(const std::vector<std::string_view>& arguments);

// The help section for these options, shown after the classic help text.
std::string LongOptionsHelp();

}  // namespace markwright
