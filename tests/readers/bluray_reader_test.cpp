#include "readers/bluray_reader.h"

#include <gtest/gtest.h>

#include "expect_read_error.h"
#include "support/playlist_builders.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

using testing::BuildMpls;
using testing::ExpectReadError;
using testing::MplsMarkSectionOffset;
using testing::MplsPlaylist;

ChapterList Parse(const MplsPlaylist& playlist) {
  return ParseBluRayPlaylist(BuildMpls(playlist), "00000.mpls");
}

TEST(BluRayPlaylist, MarksBecomeChaptersOnThePlaylistTimeline) {
  // One play item starting at 10 minutes on its clock.
  EXPECT_EQ(Parse({{{27'000'000, 40'000'000}}, {{0, 27'000'000}, {0, 29'745'045}}}),
            (ChapterList{"00:00:00.000", "00:01:01.001"}));
  // A mark 3 s into the second play item comes after the whole first one (100 s).
  EXPECT_EQ(Parse({{{900'000, 5'400'000}, {45'000'000, 90'000'000}},
                   {{0, 900'000}, {1, 45'000'000 + 135'000}, {1, 45'000'000 + 135'000}}}),
            (ChapterList{"00:00:00.000", "00:01:43.000", "00:01:43.000"}));
  // Without marks there are no chapters.
  EXPECT_EQ(Parse({{{0, 45'000}}, {}}), ChapterList{});
}

TEST(BluRayPlaylist, TheFirstMarkAndLaterEntryMarksAreChapters) {
  const MplsPlaylist playlist = {{{0, 10'000'000}},
                                 {{0, 45'000, 2}, {0, 90'000, 1}, {0, 135'000, 2}, {0, 180'000}}};
  EXPECT_EQ(Parse(playlist), (ChapterList{"00:00:01.000", "00:00:02.000", "00:00:04.000"}));

  testing::TempDir folder;
  const auto path = folder.Write("00001.mpls", BuildMpls(playlist));
  EXPECT_EQ(CountBluRayChapters(path), 3);
  EXPECT_EQ(ReadBluRayPlaylist(path).size(), 3u);
}

TEST(BluRayPlaylist, TicksRoundToTheNearestMillisecond) {
  EXPECT_EQ(BluRayTicksToTimestamp(162'000'000), "01:00:00.000");
  EXPECT_EQ(BluRayTicksToTimestamp(22), "00:00:00.000");
  EXPECT_EQ(BluRayTicksToTimestamp(23), "00:00:00.001");
  EXPECT_EQ(BluRayTicksToTimestamp(44'999), "00:00:01.000");
  EXPECT_EQ(BluRayTicksToTimestamp(2'147'483'647), "13:15:21.859");
  // A mark before its play item's IN time starts at 0.
  EXPECT_EQ(BluRayTicksToTimestamp(-45'000), "00:00:00.000");
  EXPECT_EQ(Parse({{{900'000, 5'400'000}}, {{0, 45'000}}}), ChapterList{"00:00:00.000"});
}

TEST(BluRayPlaylist, EveryCutThroughTheFileIsATruncation) {
  const std::string bytes = BuildMpls({{{0, 45'000}, {0, 90'000}}, {{0, 0}, {1, 45'000}}});
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    SCOPED_TRACE(length);
    ExpectReadError(
        [&] { return ParseBluRayPlaylist(std::string_view(bytes).substr(0, length), "cut.mpls"); },
        "cut.mpls", "truncated playlist at offset ");
  }
}

TEST(BluRayPlaylist, DamagedFieldsFailWithTheirOffset) {
  const std::string good = BuildMpls({{{0, 45'000}, {0, 90'000}}, {{0, 0}, {1, 45'000}}});
  const std::size_t marks = MplsMarkSectionOffset(2) + 6;
  const auto damaged = [&](std::size_t offset, std::uint64_t value, std::size_t width) {
    std::string bytes = good;
    testing::PutBigEndian(bytes, offset, value, width);
    return [bytes] { return ParseBluRayPlaylist(bytes, "bad.mpls"); };
  };
  ExpectReadError(damaged(testing::kMplsPlayListStart + 6, 0, 2), "bad.mpls",
                  "offset 46: the playlist has no play items");
  ExpectReadError(damaged(marks + 14 + 2, 2, 2), "bad.mpls",
                  "mark 2 refers to play item 3, but the playlist has 2");
  ExpectReadError(damaged(testing::kMplsPlayListOffsetField, 0x8000'0000, 4), "bad.mpls",
                  "offset 8: value out of range");
  ExpectReadError(damaged(marks + 2, 0x8000, 2), "bad.mpls", "value out of range");
  ExpectReadError(damaged(testing::kMplsMarkOffsetField, 0x7FFF'FFFF, 4), "bad.mpls",
                  "truncated playlist at offset 2147483651");
  // A play-item length that sends the next item past the end of the file.
  ExpectReadError(damaged(testing::kMplsPlayListStart + 10, 0x7FFF, 2), "bad.mpls",
                  "truncated playlist at offset");
  // Two play items of 2^31 - 1 ticks each put the second beyond the 32-bit timeline.
  ExpectReadError(
      [] {
        return Parse({{{0, 0x7FFF'FFFF}, {0, 0x7FFF'FFFF}}, {{0, 0}}});
      },
      "00000.mpls", "playlist time out of range");
}

TEST(BluRayPlaylist, FileFailuresNameTheFile) {
  testing::TempDir folder;
  const auto path = folder.Write("short.mpls", "MPLS0200");
  ExpectReadError([&] { return ReadBluRayPlaylist(path); }, path.string(),
                  "truncated playlist at offset 8");
  EXPECT_THROW(CountBluRayChapters(path), ReadError);
  const auto missing = folder / "missing.mpls";
  ExpectReadError([&] { return ReadBluRayPlaylist(missing); }, missing.string(), "cannot open");
}

}  // namespace
}  // namespace markwright
