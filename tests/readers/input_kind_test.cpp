#include "readers/input_kind.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "readers/source_file.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

TEST(DetectInputKind, ClassifiesByTheFirstFourCharactersAfterAByteOrderMark) {
  const std::pair<const char*, InputKind> cases[] = {
      {"chapter01", InputKind::kOggChapters},
      {"MPLS0200", InputKind::kBluRayPlaylist},
      {"<?xml", InputKind::kHdDvdPlaylist},
      {"ab<?", InputKind::kHdDvdPlaylist},
      {"<Pla", InputKind::kHdDvdPlaylist},
      {"DVDVIDEO-VTS", InputKind::kDvdTitleSet},
      {"0\r\n1234", InputKind::kCelltimes},
      {"9999", InputKind::kCelltimes},
      {" 123", InputKind::kUnknown},
      {"/abc", InputKind::kUnknown},
      {":abc", InputKind::kUnknown},
      {"CHA", InputKind::kUnknown},
      {"\xEF\xBB\xBF<?xml", InputKind::kHdDvdPlaylist},
      {"\xEF\xBB\xBF"
       "CHAP",
       InputKind::kOggChapters}};
  for (const auto& [head, kind] : cases) EXPECT_EQ(DetectInputKindFromHead(head), kind) << head;

  testing::TempDir folder;
  EXPECT_EQ(DetectInputKind(folder.Write("bom.txt",
                                         "\xEF\xBB\xBF"
                                         "CHAP")),
            InputKind::kOggChapters);
  for (const char* too_short : {"CHA",
                                "\xEF\xBB\xBF"
                                "CHA"}) {
    EXPECT_THROW(DetectInputKind(folder.Write("short.txt", too_short)), ReadError) << too_short;
  }
  EXPECT_THROW(DetectInputKind(folder / "missing.txt"), ReadError);
  EXPECT_THROW(DetectInputKind(folder.path()), ReadError);
}

TEST(SplitLines, EndsLinesAtCrLfCrOrLf) {
  using Lines = std::vector<std::string_view>;
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\n"), (Lines{"a", ""}));
  EXPECT_EQ(SplitLines("\n\r"), (Lines{"", ""}));
  EXPECT_EQ(SplitLines("\xEF\xBB\xBF"
                       "x"),
            (Lines{"x"}));
  EXPECT_TRUE(SplitLines("").empty());
}

}  // namespace
}  // namespace markwright
