#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace markwright {

// SMPTE timecode HH:MM:SS:FF, as editing software labels frames. The frame field counts the
// nominal rate: the rate itself for a whole rate (24, 25, 30, 50, 60), the rate x 1.001 for the
// NTSC rates (23.976 counts 24, 29.97 counts 30, 59.94 counts 60). Non-drop counting gives every
// frame the next label; drop-frame counting (29.97 and 59.94 only, written with ';') skips the
// labels of frames 0 and 1 (0 to 3 at 59.94) at the start of each minute except every tenth, so
// that the labels keep pace with the clock: 01:00:00;00 is 107892 frames at 29.97, 3596.4 s.

// The frame count of a timecode's seconds at a rate.
struct TimecodeBase {
  int nominal = 0;    // frames a timecode second holds: 24, 25, 30, 60...
  bool ntsc = false;  // the real rate is nominal / 1.001

  // Whether drop-frame counting exists at this rate: 29.97 and 59.94.
  bool CanDropFrames() const { return ntsc && (nominal == 30 || nominal == 60); }
};

// The base of a rate within 0.01 frames a second of a whole rate from 1 to 999, or of such a
// rate / 1.001 (the command line's 29.97 and 30000/1001 alike); nullopt for any other rate.
std::optional<TimecodeBase> TimecodeBaseOf(double rate);

// One timecode's fields.
struct Timecode {
  std::int64_t hours = 0;
  int minutes = 0;
  int seconds = 0;
  int frames = 0;
  bool drop_frame = false;

  bool operator==(const Timecode&) const = default;
};

// The label of a frame counted from 0 (00:00:00:00); hours are not wrapped at 24. Drop-frame
// counting only where base.CanDropFrames().
Timecode FrameToTimecode(std::int64_t frame, TimecodeBase base, bool drop_frame);

// The frame of a label; nullopt for one that does not exist: minutes or seconds above 59, a frame
// field at or above the nominal rate, or in drop-frame counting one of the skipped labels
// (00:01:00;00, 00:01:00;01 at 29.97).
std::optional<std::int64_t> TimecodeToFrame(const Timecode& timecode, TimecodeBase base);

// "HH:MM:SS:FF", or with separators as given (";" for the last in an EDL's drop-frame timecode,
// all three for Premiere's). Two digits per field at least; hours and frames widen as needed.
void AppendTimecode(std::string& text, const Timecode& timecode, char clock_separator = ':',
                    char frame_separator = ':');

// The fields of HH:MM:SS:FF (one or more digits each), each separator ':' or ';', drop_frame set
// when any of them is ';'. nullopt for any other text. The fields are not checked against a rate:
// TimecodeToFrame does that.
std::optional<Timecode> ParseTimecode(std::string_view text);

}  // namespace markwright
