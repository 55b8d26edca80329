// Logical and device pixels at the screen resolutions Windows offers most: 100 %, 125 %, 150 %.
#include "app/win32/dpi.h"

#include <gtest/gtest.h>

namespace {

using app::win32::ToDevicePixels;
using app::win32::ToLogicalPixels;

struct Case {
  int dpi;
  int from;
  int to;
};

// Each case with the exact value it rounds.

TEST(DpiTest, LogicalToDeviceRoundsToNearestAndHalvesAwayFromZero) {
  const Case cases[] = {
      {96, 0, 0},         // 0
      {96, 1280, 1280},   // 1280
      {96, -7, -7},       // -7
      {120, 1, 1},        // 1.25
      {120, 2, 3},        // 2.5
      {120, 3, 4},        // 3.75
      {120, -2, -3},      // -2.5
      {120, 1280, 1600},  // 1600
      {120, 800, 1000},   // 1000
      {144, 1, 2},        // 1.5
      {144, 3, 5},        // 4.5
      {144, 5, 8},        // 7.5
      {144, -1, -2},      // -1.5
      {144, 1280, 1920},  // 1920
      {144, 800, 1200},   // 1200
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << " at " << c.dpi << " DPI");
    EXPECT_EQ(ToDevicePixels(c.from, c.dpi), c.to);
  }
}

TEST(DpiTest, DeviceToLogicalIsFloorOfExactValuePlusHalf) {
  const Case cases[] = {
      {96, 0, 0},         // 0
      {96, 1280, 1280},   // 1280
      {96, -7, -7},       // -7
      {120, 1, 1},        // 0.8
      {120, 2, 2},        // 1.6
      {120, 3, 2},        // 2.4
      {120, -1, -1},      // -0.8
      {120, 1600, 1280},  // 1280
      {120, 1599, 1279},  // 1279.2
      {144, 1, 1},        // 0.667
      {144, 2, 1},        // 1.333
      {144, 3, 2},        // 2
      {144, -2, -1},      // -1.333
      {144, 1919, 1279},  // 1279.333
      {192, 1, 1},        // 0.5, up
      {192, -1, 0},       // -0.5, up as well
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << " at " << c.dpi << " DPI");
    EXPECT_EQ(ToLogicalPixels(c.from, c.dpi), c.to);
  }
}

TEST(DpiTest, LogicalSizeSurvivesTheWayThroughDevicePixels) {
  for (const int dpi : {96, 120, 144, 192}) {
    for (int logical = -300; logical <= 3000; ++logical) {
      ASSERT_EQ(ToLogicalPixels(ToDevicePixels(logical, dpi), dpi), logical) << dpi << " DPI";
    }
  }
}

}  // namespace
