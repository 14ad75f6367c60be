#include "cli/help_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace markwright {
namespace {

std::vector<std::string> Lines(const std::string& text, const std::string& line_end) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const auto end = text.find(line_end, start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return lines;
    start = end + line_end.size();
  }
}

TEST(HelpText, HasItsThirtyEightLinesWithTheirBlanksAndTabs) {
  const std::string text = HelpText("\r\n");
  EXPECT_FALSE(text.ends_with("\r\n"));
  const auto lines = Lines(text, "\r\n");
  ASSERT_EQ(lines.size(), 38u);
  EXPECT_EQ(lines[0],
            "Syntax: Markwright -i <inputfile> -o <outputfile> -f <destination format> -infps "
            "<inputFPS> -outfps <outputFPS> ");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "Options:");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "-i <string>\tSpecify input file");
  EXPECT_EQ(lines[7], "\t\t- OGG: OGG Text File");
  EXPECT_EQ(lines[17], "\t\t- DVDAuthor: DVDAuthor Text File");
  EXPECT_EQ(lines[18], "-infps <float>\tSpecify InputFPS [24/1.001] ");
  EXPECT_EQ(lines[19], "\t\t- 23.976");
  EXPECT_EQ(lines[26], "\t\t- 60.000");
  EXPECT_EQ(lines[27], "-outfps <float>\tSpecify OutputFPS [24/1.001] ");
  EXPECT_EQ(lines[28], "\t\t- 23.976");
  EXPECT_EQ(lines[35], "\t\t- 60.000");
  EXPECT_EQ(lines[36], "");
  EXPECT_EQ(lines[37],
            "NOTES: fps values can be aslo entered in this formats: 24000/1001 or 24/1.001 for "
            "example");
  // On a terminal the same lines end with LF.
  std::string terminal_text;
  for (std::size_t i = 0; i < lines.size(); ++i) terminal_text += (i ? "\n" : "") + lines[i];
  EXPECT_EQ(HelpText("\n"), terminal_text);
}

}  // namespace
}  // namespace markwright
