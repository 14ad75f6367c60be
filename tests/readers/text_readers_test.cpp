// Detection and the two plain-text readers, for what the cases in tests/cases cannot reach.
#include <gtest/gtest.h>

#include "readers/celltimes_reader.h"
#include "readers/input_kind.h"
#include "readers/ogg_reader.h"
#include "readers/source_file.h"
#include "support/expect_throw_message.h"
#include "support/temp_dir.h"

namespace markwright {
namespace {

using testing::ExpectThrowMessage;
const std::string kBom = "\xEF\xBB\xBF";

TEST(DetectInputKind, ClassifiesByTheFirstFourCharactersAfterAByteOrderMark) {
  const std::pair<const char*, InputKind> cases[] = {
      {"chapter01", InputKind::kOggChapters}, {"mpls", InputKind::kBluRayPlaylist},
      {"ab<?", InputKind::kHdDvdPlaylist},    {"<Pla", InputKind::kHdDvdPlaylist},
      {"dvdv", InputKind::kDvdTitleSet},      {"0\r\n1", InputKind::kCelltimes},
      {"9999", InputKind::kCelltimes},        {" 123", InputKind::kUnknown},
      {"/abc", InputKind::kUnknown},          {":abc", InputKind::kUnknown},
      {"CHA", InputKind::kUnknown},           {"\xEF\xBB\xBF<?xm", InputKind::kHdDvdPlaylist}};
  for (const auto& [head, kind] : cases) EXPECT_EQ(DetectInputKindFromHead(head), kind) << head;
  testing::TempDir folder;
  EXPECT_EQ(DetectInputKind(folder.Write("a", kBom + "CHAP")), InputKind::kOggChapters);
  EXPECT_THROW(DetectInputKind(folder.Write("b", kBom + "CHA")), ReadError);
  EXPECT_THROW(DetectInputKind(folder.Write("c", "CHA")), ReadError);
  EXPECT_THROW(DetectInputKind(folder / "missing"), ReadError);
  EXPECT_THROW(DetectInputKind(folder.path()), ReadError);
}

TEST(SplitLines, EndsLinesAtCrLfCrOrLf) {
  using Lines = std::vector<std::string_view>;
  // LF then CR is two line ends; CR LF is one.
  EXPECT_EQ(SplitLines(kBom + "a\r\nb\rc\nd\n\r\r\n"), (Lines{"a", "b", "c", "d", "", ""}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(OggReader, EveryMalformedTimeNamesItsLine) {
  for (const char* bad :
       {"CHAPTER01=00:00:00\n", "CHAPTER01=00:0:00.000\n", "CHAPTER01=\n", "CHAPTER01=00:00:00.\n",
        "CHAPTER01=00:00:60.000\n", "CHAPTER01=-1:00:00.000\n", "CHAPTER01=00:00:00.000 x\n",
        "CHAPTER01=00:61:00.000\n", "CHAPTER01=2000000001:00:00.000\n"}) {
    ExpectThrowMessage<ReadError>([&] { ParseOggChapters(bad, "in.txt"); },
                                  "in.txt: line 1: expected a time H:MM:SS.fff after CHAPTER01=");
  }
  ExpectThrowMessage<ReadError>([] { ParseOggChapters("", "in.txt"); }, "in.txt: no chapters");
  testing::TempDir folder;
  ExpectThrowMessage<ReadError>([&] { ReadOggChapters(folder / "missing.txt"); },
                                (folder / "missing.txt").string() + ": cannot open: No such file");
  ExpectThrowMessage<ReadError>([&] { ReadOggChapters(folder.path()); }, "is a folder");
}

TEST(Celltimes, ALineThatIsNotAFrameNumberOrARateOfZeroFails) {
  const auto parse = [](std::string_view text, double rate) {
    return ParseCelltimes(text, "cells.txt", rate);
  };
  EXPECT_EQ(parse("", 25), ChapterList{});
  for (const char* text : {"0\n-24\n", "0\n24 frames\n", "0\n1e400\n", "0\nnan\n"}) {
    ExpectThrowMessage<ReadError>([&] { parse(text, 25); }, "cells.txt: line 2: expected a frame");
  }
  ExpectThrowMessage<ReadError>([&] { parse("0\n", 0); }, "frame rate");
}

}  // namespace
}  // namespace markwright
