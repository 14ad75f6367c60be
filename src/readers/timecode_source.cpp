#include "readers/timecode_source.h"

#include <string>

#include "core/decimal.h"
#include "core/error.h"
#include "readers/source_file.h"

namespace markwright {

TimecodeBase InputTimecodeBase(double input_rate, std::string_view source_name) {
  const auto base = TimecodeBaseOf(input_rate);
  if (!base) {
    throw ReadError(
        source_name, "",
        "timecodes need a whole or NTSC input rate (-infps), not " + FormatDecimal15(input_rate));
  }
  return *base;
}

std::int64_t SourceTimecodeFrame(std::string_view text, TimecodeBase base, bool force_drop_frame,
                                 std::string_view source_name, std::size_t line_number,
                                 Timecode* parsed) {
  auto timecode = ParseTimecode(text);
  if (!timecode) {
    throw ReadError(source_name, AtLine(line_number), "malformed timecode " + QuotedExcerpt(text));
  }
  timecode->drop_frame = timecode->drop_frame || force_drop_frame;
  const auto frame = TimecodeToFrame(*timecode, base);
  if (!frame) {
    const bool dropping = timecode->drop_frame && base.CanDropFrames();
    throw ReadError(source_name, AtLine(line_number),
                    "timecode " + QuotedExcerpt(text) + " names no frame in " +
                        (dropping ? "drop-frame" : "non-drop") + " counting at " +
                        std::to_string(base.nominal) + " frames a second");
  }
  if (parsed != nullptr) *parsed = *timecode;
  return *frame;
}

}  // namespace markwright
