#include "readers/bluray_reader.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/chapter_times.h"
#include "support/expect_throw_message.h"
#include "support/playlist_builders.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

using testing::BuildMpls;
using testing::ExpectThrowMessage;

testing::Times Parse(const std::string& bytes) {
  return testing::TimesOf(ParseBluRayPlaylist(bytes, "00000.mpls"));
}

// Play items of 1 and 2 s at 50 and 72; the mark section at 94, its two marks at 100 and 114.
const std::string kTwoItems = BuildMpls({{{0, 45'000}, {0, 90'000}}, {{0, 0}, {1, 45'000}}});

TEST(BluRayPlaylist, MarksBecomeChaptersOnThePlaylistTimeline) {
  // One play item starting at 10 minutes on its clock.
  EXPECT_EQ(Parse(BuildMpls({{{27'000'000, 40'000'000}}, {{0, 27'000'000}, {0, 29'745'045}}})),
            (testing::Times{"00:00:00.000", "00:01:01.001"}));
  // A mark 3 s into the second play item comes after the whole first one (100 s); equal marks
  // stay, and a mark before its play item's IN time starts at 0.
  EXPECT_EQ(Parse(BuildMpls({{{900'000, 5'400'000}, {45'000'000, 90'000'000}},
                             {{0, 0}, {1, 45'135'000}, {1, 45'135'000}}})),
            (testing::Times{"00:00:00.000", "00:01:43.000", "00:01:43.000"}));
  EXPECT_EQ(Parse(BuildMpls({{{0, 45'000}}, {}})), testing::Times{});
  // The first mark counts whatever its type; later ones only as entry marks (type 1).
  const std::string typed =
      BuildMpls({{{0, 10'000'000}}, {{0, 45'000, 2}, {0, 90'000}, {0, 135'000, 2}, {0, 180'000}}});
  EXPECT_EQ(Parse(typed), (testing::Times{"00:00:01.000", "00:00:02.000", "00:00:04.000"}));
  testing::TempDir folder;
  EXPECT_EQ(CountBluRayChapters(folder.Write("00001.mpls", typed)), 3);
  const auto cut = folder.Write("00002.mpls", "MPLS0200");
  ExpectThrowMessage<ReadError>([&] { ReadBluRayPlaylist(cut); },
                                cut.string() + ": truncated playlist at offset 8");
}

TEST(BluRayPlaylist, TicksRoundToTheNearestMillisecond) {
  EXPECT_EQ(BluRayTicksToMilliseconds(162'000'000), 3'600'000);
  EXPECT_EQ(BluRayTicksToMilliseconds(22), 0);
  EXPECT_EQ(BluRayTicksToMilliseconds(23), 1);
  EXPECT_EQ(BluRayTicksToMilliseconds(44'999), 1000);
  EXPECT_EQ(BluRayTicksToMilliseconds(2'147'483'647), 47'721'859);  // 13:15:21.859
  EXPECT_EQ(BluRayTicksToMilliseconds(-45'000), 0);
}

TEST(BluRayPlaylist, OnlyKnownVersionsAreRead) {
  for (const char* version : {"0100", "0300"}) {
    std::string bytes = kTwoItems;
    bytes.replace(4, 4, version);
    EXPECT_EQ(Parse(bytes).size(), 2u) << version;
  }
}

TEST(BluRayPlaylist, DamagedOrCutFilesFailWithTheOffset) {
  // Offset, value and width of the damage, and the message.
  const std::tuple<std::size_t, std::uint64_t, std::size_t, const char*> damages[] = {
      {0, 'X', 1, "00000.mpls: not a Blu-ray playlist"},
      {4, 0x30'34'30'30, 4, "not a Blu-ray playlist of a known version (0100, 0200 or 0300)"},
      {46, 0, 2, "the playlist has no play items at offset 46"},
      {50, 19, 2, "truncated play item at offset 50 (length 19, 20 or more needed)"},
      {50, 0x7FFF, 2, "truncated playlist at offset 50"},
      {94, 29, 4, "truncated mark section at offset 94 (length 29, 30 needed for 2 marks)"},
      {116, 2, 2, "mark 2 refers to play item 3 at offset 116 (the playlist has 2)"},
      {8, 0x8000'0000, 4, "value out of range at offset 8 (2147483648, 2^31 or more)"},
      {102, 0x8000, 2, "value out of range at offset 102 (32768, 2^15 or more)"},
      {12, 0x7FFF'FFFF, 4, "truncated playlist at offset 2147483647"}};
  for (const auto& [offset, value, width, message] : damages) {
    std::string bytes = kTwoItems;
    testing::PutBigEndian(bytes, offset, value, width);
    ExpectThrowMessage<ReadError>([&] { Parse(bytes); }, message);
  }
  for (std::size_t length = 0; length < kTwoItems.size(); ++length) {
    ExpectThrowMessage<ReadError>([&] { Parse(kTwoItems.substr(0, length)); },
                                  "00000.mpls: truncated playlist at offset ");
  }
  // A play item cut short is named by its own offset, not by the field that runs out first.
  ExpectThrowMessage<ReadError>([&] { Parse(kTwoItems.substr(0, 93)); },
                                "00000.mpls: truncated playlist at offset 72");
  // Two play items of 2^31 - 1 ticks each put the second beyond the 32-bit timeline.
  ExpectThrowMessage<ReadError>(
      [] {
        Parse(BuildMpls({{{0, 0x7FFF'FFFF}, {0, 0x7FFF'FFFF}}, {{0, 0}}}));
      },
      "playlist time out of range at offset 72");
}

}  // namespace
}  // namespace markwright
