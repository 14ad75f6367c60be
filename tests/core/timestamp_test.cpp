#include "core/timestamp.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/frame_rate.h"

namespace markwright {
namespace {

TEST(TimestampToFrame, RoundsHalfToEven) {
  EXPECT_EQ(TimestampToFrame("00:00:01.000", 25), 25);
  EXPECT_EQ(TimestampToFrame("00:00:00.500", 25), 12);
  EXPECT_EQ(TimestampToFrame("00:00:00.060", 25), 2);
  EXPECT_EQ(TimestampToFrame("00:00:00.020", 25), 0);
  EXPECT_EQ(TimestampToFrame("00:00:10.000", 24 / 1.001), 240);
}

}  // namespace
}  // namespace markwright
