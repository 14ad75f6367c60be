#include "readers/input_kind.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "readers/source_file.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

TEST(DetectInputKind, ClassifiesByTheFirstFourCharacters) {
  EXPECT_EQ(DetectInputKindFromHead("CHAPTER01=00:00:00.000"), InputKind::kOggChapters);
  EXPECT_EQ(DetectInputKindFromHead("chapter01"), InputKind::kOggChapters);
  EXPECT_EQ(DetectInputKindFromHead("MPLS0200"), InputKind::kBluRayPlaylist);
  EXPECT_EQ(DetectInputKindFromHead("<?xml version"), InputKind::kHdDvdPlaylist);
  EXPECT_EQ(DetectInputKindFromHead("ab<?"), InputKind::kHdDvdPlaylist);
  EXPECT_EQ(DetectInputKindFromHead("<Pla"), InputKind::kHdDvdPlaylist);
  EXPECT_EQ(DetectInputKindFromHead("DVDVIDEO-VTS"), InputKind::kDvdTitleSet);
  EXPECT_EQ(DetectInputKindFromHead("0\r\n1234"), InputKind::kCelltimes);
  EXPECT_EQ(DetectInputKindFromHead("1234\r\n"), InputKind::kCelltimes);
  EXPECT_EQ(DetectInputKindFromHead(" 123"), InputKind::kUnknown);
  EXPECT_EQ(DetectInputKindFromHead("xyzw"), InputKind::kUnknown);
  EXPECT_EQ(DetectInputKindFromHead("CHA"), InputKind::kUnknown);
}

TEST(DetectInputKind, LooksPastAByteOrderMark) {
  EXPECT_EQ(DetectInputKindFromHead("\xEF\xBB\xBF"
                                    "CHAPTER01"),
            InputKind::kOggChapters);
  EXPECT_EQ(DetectInputKindFromHead("\xEF\xBB\xBF"
                                    "<?xml"),
            InputKind::kHdDvdPlaylist);
  testing::TempDir folder;
  EXPECT_EQ(DetectInputKind(folder.Write("bom.txt",
                                         "\xEF\xBB\xBF"
                                         "CHAP")),
            InputKind::kOggChapters);
  EXPECT_THROW(DetectInputKind(folder.Write("bom-short.txt",
                                            "\xEF\xBB\xBF"
                                            "CHA")),
               ReadError);
}

TEST(DetectInputKind, FailsOnFilesItCannotClassify) {
  testing::TempDir folder;
  EXPECT_EQ(DetectInputKind(folder.Write("x.mpls", "MPLS0200")), InputKind::kBluRayPlaylist);
  EXPECT_THROW(DetectInputKind(folder.Write("short.txt", "CHA")), ReadError);
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
