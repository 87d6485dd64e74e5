#include <gtest/gtest.h>

#include "xvaxtool.h"

TEST(WaveHeader, NullHeaderFails) {
  char buf[4] = {};
  EXPECT_EQ(ParseWaveHeader(nullptr), 0);
  EXPECT_EQ(CopyWaveHeader(nullptr, buf, 4), 0);
  EXPECT_EQ(FillWaveHeader(nullptr, buf, 4), 0);
}
