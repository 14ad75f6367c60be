#include "core/frame_rate.h"

#include <gtest/gtest.h>

#include "core/decimal.h"
#include "core/error.h"

namespace markwright {
namespace {

TEST(ParseFrameRate, ReadsDecimalsAndRatios) {
  EXPECT_EQ(ParseFrameRate("24000/1001"), 23.976023976023978);
  EXPECT_EQ(ParseFrameRate("24/1.001"), 23.976023976023978);
  EXPECT_EQ(ParseFrameRate("24/1.001/5"), 24 / 1.001);  // pieces after the second are ignored
  EXPECT_EQ(ParseFrameRate("30/1.001"), 29.970029970029973);
  EXPECT_EQ(ParseFrameRate("25"), 25);
  EXPECT_EQ(ParseFrameRate("29.97"), 29.97);
  EXPECT_EQ(ParseFrameRate("23.976"), 23.976);  // a plain number here, not the 23.976 label
  EXPECT_EQ(ParseFrameRate(" 50 "), 50);
}

TEST(ParseFrameRate, RefusesAnythingButAFiniteRateAboveZero) {
  for (const char* bad : {"", "0", "-5", "1/0", "0/5", "inf", "nan", "abc", "/1001", "24/", "25fps",
                          "2 5", "1e400", "--25"}) {
    EXPECT_THROW(ParseFrameRate(bad), Error) << bad;
  }
  try {
    ParseFrameRate("abc");
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "invalid frame rate \"abc\": \"abc\" is not a number");
  }
}

TEST(NamedRates, HaveTheListOrderAndExactValues) {
  ASSERT_EQ(kNamedRates.size(), 8u);
  EXPECT_EQ(kNamedRates[0].label, "23.976");
  EXPECT_EQ(kNamedRates[7].label, "60");
  EXPECT_EQ(NamedRateValue("59.940"), 59.940059940059946);
  EXPECT_EQ(NamedRateValue("29.970"), 29.970029970029973);
  EXPECT_NE(*NamedRateValue("59.940"), 60000.0 / 1001);  // the quotient as written
  EXPECT_FALSE(NamedRateValue("29.97"));
  EXPECT_FALSE(NamedRateValue("23.976 "));
}

TEST(FormatDecimal15, GivesTheShortestTextOfFifteenDigits) {
  EXPECT_EQ(FormatDecimal15(24 / 1.001), "23.976023976024");
  EXPECT_EQ(FormatDecimal15(60 / 1.001), "59.9400599400599");
  EXPECT_EQ(FormatDecimal15(25), "25");
  EXPECT_EQ(FormatDecimal15(29.97), "29.97");
  EXPECT_EQ(RoundTo15Digits(3503.4999999999995), 3503.5);
}

}  // namespace
}  // namespace markwright
