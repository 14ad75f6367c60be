// SMPTE timecode: the labels drop-frame counting skips, round trips over a day of frames, and
// the frame's milliseconds and back.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/timecode.h"
#include "core/timestamp.h"

namespace markwright {
namespace {

std::string Label(std::int64_t frame, TimecodeBase base, bool drop_frame) {
  const Timecode timecode = FrameToTimecode(frame, base, drop_frame);
  std::string text;
  AppendTimecode(text, timecode, ':', timecode.drop_frame ? ';' : ':');
  return text;
}

std::optional<std::int64_t> FrameOf(std::string_view text, TimecodeBase base) {
  return TimecodeToFrame(*ParseTimecode(text), base);
}

TEST(Timecode, DropFrameSkipsTheFirstLabelsOfEachMinuteButTheTenth) {
  const TimecodeBase ntsc30{30, true};
  const TimecodeBase ntsc60{60, true};
  EXPECT_EQ(Label(1799, ntsc30, true), "00:00:59;29");
  EXPECT_EQ(Label(1800, ntsc30, true), "00:01:00;02");
  EXPECT_EQ(Label(17981, ntsc30, true), "00:09:59;29");
  EXPECT_EQ(Label(17982, ntsc30, true), "00:10:00;00");
  EXPECT_EQ(Label(107892, ntsc30, true), "01:00:00;00");
  EXPECT_EQ(Label(3600, ntsc60, true), "00:01:00;04");
  EXPECT_EQ(Label(35964, ntsc60, true), "00:10:00;00");
  EXPECT_EQ(Label(1800, ntsc30, false), "00:01:00:00");
  EXPECT_EQ(Label(2589407, ntsc30, true), "23:59:59;29");
  EXPECT_EQ(Label(90000, TimecodeBase{25, false}, true), "01:00:00:00");  // no dropping at 25

  EXPECT_EQ(FrameOf("00:01:00;02", ntsc30), 1800);
  EXPECT_EQ(FrameOf("00:01:00;01", ntsc30), std::nullopt);
  EXPECT_EQ(FrameOf("00:01:00;00", ntsc30), std::nullopt);
  EXPECT_EQ(FrameOf("00:01:00;03", ntsc60), std::nullopt);
  EXPECT_EQ(FrameOf("00:10:00;00", ntsc30), 17982);
  EXPECT_EQ(FrameOf("00:01:00:00", ntsc30), 1800);
  EXPECT_EQ(FrameOf("00:00:00:30", ntsc30), std::nullopt);
  EXPECT_EQ(FrameOf("00:00:60:00", ntsc30), std::nullopt);
  EXPECT_EQ(FrameOf("00:01:00;00", TimecodeBase{25, false}), 1500);
}

TEST(Timecode, FramesOfADayRoundTripThroughTheirLabelsAndTheirMilliseconds) {
  for (const double rate : {30 / 1.001, 60 / 1.001}) {
    const TimecodeBase base = *TimecodeBaseOf(rate);
    const std::int64_t day = *TimecodeToFrame({24, 0, 0, 0, true}, base);
    // Every frame of the first twenty minutes (the pattern repeats every ten), then a stride
    // prime to a minute's frames across the day: all of it would take seconds with sanitizers.
    const std::int64_t twenty_minutes = base.nominal == 30 ? 35964 : 71928;
    std::int64_t wrong = 0;
    std::int64_t previous_label = -1;
    for (std::int64_t frame = 0; frame < day; frame += frame < twenty_minutes ? 1 : 61) {
      const Timecode timecode = FrameToTimecode(frame, base, true);
      // Labels only ever go up, so no two frames share one.
      const std::int64_t label =
          ((timecode.hours * 60 + timecode.minutes) * 60 + timecode.seconds) * base.nominal +
          timecode.frames;
      wrong +=
          static_cast<int>(TimecodeToFrame(timecode, base) != frame || label <= previous_label);
      previous_label = label;
    }
    EXPECT_EQ(wrong, 0);
    // Decimal rounding is slow: a sample of frames spread over the day.
    for (std::int64_t frame = 0; frame < day; frame += 997) {
      ASSERT_EQ(TimestampToFrame(static_cast<std::int64_t>(
                                     FrameStartMilliseconds(static_cast<double>(frame), rate)),
                                 rate),
                frame);
    }
    EXPECT_EQ(day, base.nominal == 30 ? 2589408 : 5178816);
  }
}

TEST(Timecode, RatesCountWholeOrNtscFramesAndTextsParseStrictly) {
  EXPECT_EQ(TimecodeBaseOf(29.97)->nominal, 30);
  EXPECT_TRUE(TimecodeBaseOf(30000.0 / 1001)->CanDropFrames());
  EXPECT_TRUE(TimecodeBaseOf(23.976023976024)->ntsc);
  EXPECT_FALSE(TimecodeBaseOf(23.976023976024)->CanDropFrames());
  EXPECT_FALSE(TimecodeBaseOf(25)->ntsc);
  EXPECT_EQ(TimecodeBaseOf(12.5), std::nullopt);
  EXPECT_EQ(TimecodeBaseOf(0), std::nullopt);

  EXPECT_EQ(ParseTimecode("1:2:3;4"), (Timecode{1, 2, 3, 4, true}));
  EXPECT_EQ(ParseTimecode("01;02;03;04"), (Timecode{1, 2, 3, 4, true}));
  for (const char* bad : {"01:02:03", "01:02:03:04:05", "01:02:03.04", "-1:02:03:04", "01:02:03:4x",
                          "", "01::03:04"}) {
    EXPECT_EQ(ParseTimecode(bad), std::nullopt) << bad;
  }
}

}  // namespace
}  // namespace markwright
