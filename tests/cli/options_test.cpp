#include "cli/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace markwright {
namespace {

using Tokens = std::vector<std::string>;

TEST(JoinArguments, QuotesOnlyValuesThatWouldFallApart) {
  EXPECT_EQ(JoinArguments({"-i", "in.txt", "-f", "ogg"}), "-i in.txt -f ogg");
  EXPECT_EQ(JoinArguments({"-i", "My Movie.txt"}), "-i \"My Movie.txt\"");
  EXPECT_EQ(JoinArguments({"-i", "Bob's.txt"}), "-i \"Bob's.txt\"");
  EXPECT_EQ(JoinArguments({"-i", "say \"hi\".txt"}), "-i 'say \"hi\".txt'");
  EXPECT_EQ(JoinArguments({"-iMy Movie.txt"}), "-iMy Movie.txt");
  EXPECT_EQ(JoinArguments({}), "");
}

TEST(SplitOutsideQuotes, CutsOnlyAtADashThatStartsAWord) {
  EXPECT_EQ(SplitOutsideQuotes("-i in.txt -o out.txt", '-'), (Tokens{"i in.txt", "o out.txt"}));
  EXPECT_EQ(SplitOutsideQuotes("-i my-file.txt -f ogg", '-'), (Tokens{"i my-file.txt", "f ogg"}));
  EXPECT_EQ(SplitOutsideQuotes("-i \"a -b.txt\" -f x", '-'), (Tokens{"i a -b.txt", "f x"}));
  EXPECT_EQ(SplitOutsideQuotes("-i 'a -b.txt'", '-'), (Tokens{"i a -b.txt"}));
  EXPECT_EQ(SplitOutsideQuotes("in.txt", '-'), (Tokens{"in.txt"}));
  EXPECT_EQ(SplitOutsideQuotes("", '-'), (Tokens{""}));
  EXPECT_EQ(SplitOutsideQuotes("- - -", '-'), (Tokens{""}));
}

TEST(SplitOutsideQuotes, RemovesOnlyQuotesThatPair) {
  EXPECT_EQ(SplitOutsideQuotes("-i Bob's.txt -f ogg", '-'), (Tokens{"i Bob's.txt", "f ogg"}));
  EXPECT_EQ(SplitOutsideQuotes("-i \"Bob's dir/a.txt\"", '-'), (Tokens{"i Bob's dir/a.txt"}));
  EXPECT_EQ(SplitOutsideQuotes("-i '\"q\".txt'", '-'), (Tokens{"i \"q\".txt"}));
  EXPECT_EQ(SplitOutsideQuotes("-i \"  padded  \"", '-'), (Tokens{"i   padded  "}));
}

TEST(GetOption, MatchesNamesByPrefixWithoutLetterCase) {
  EXPECT_EQ(GetOption("-i in.txt -o out.txt -f ogg", "i"), "in.txt");
  EXPECT_EQ(GetOption("-I in.txt -F OGG", "f"), "OGG");
  EXPECT_EQ(GetOption("-id:/a.txt", "i"), "d:/a.txt");  // value right after the name
  EXPECT_EQ(GetOption("-i in.txt", "o"), "");
  EXPECT_EQ(GetOption("-i in.txt -f", "f"), "");
  EXPECT_EQ(GetOption("-i   spaced.txt   ", "i"), "spaced.txt");
}

TEST(GetOption, GivesEachTokenToTheLongestOptionItBeginsWith) {
  const std::string text = "-infps 25 -outfps 24000/1001 -i in.txt -f ogg";
  EXPECT_EQ(GetOption(text, "i"), "in.txt");
  EXPECT_EQ(GetOption(text, "infps"), "25");
  EXPECT_EQ(GetOption(text, "outfps"), "24000/1001");
  EXPECT_EQ(GetOption(text, "o"), "");  // -outfps is not -o
  EXPECT_EQ(GetOption("-INFPS25 -i x", "infps"), "25");
  // The first token of an option wins.
  EXPECT_EQ(GetOption("-i first.txt -i second.txt", "i"), "first.txt");
  // Text before the first option belongs to none.
  EXPECT_EQ(GetOption("in.txt", "i"), "n.txt");
  EXPECT_EQ(GetOption("x -f ogg", "f"), "ogg");
}

TEST(GetOption, KeepsPathsWholeWithHyphensApostrophesAndBlanks) {
  EXPECT_EQ(GetOption("-i my-file.txt -f ogg", "i"), "my-file.txt");
  EXPECT_EQ(GetOption("-i /d/Bob's/a.txt -f ogg", "i"), "/d/Bob's/a.txt");
  EXPECT_EQ(GetOption(JoinArguments({"-i", "/d/My Movie - Part 1.txt", "-o", "x.txt"}), "i"),
            "/d/My Movie - Part 1.txt");
  EXPECT_EQ(GetOption(JoinArguments({"-o", "it's \"here\".txt"}), "o"), "it's \"here\".txt");
}

}  // namespace
}  // namespace markwright
