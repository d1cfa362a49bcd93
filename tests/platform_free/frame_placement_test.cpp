#include "host/portable/frame_placement.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

const ScreenRect kScreens[] = {{0, 0, 1280, 994}, {1280, 0, 2560, 1024}};
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(FramePlacement, AKeptRectangleOnAnyScreenIsUsed) {
    EXPECT_TRUE(IsUsableFrameRect({15, 25, 348, 469}, kScreens, 2));
    EXPECT_TRUE(IsUsableFrameRect({2000, 100, 2400, 700}, kScreens, 2));   // the second screen
    EXPECT_TRUE(IsUsableFrameRect({-300, 10, 10, 500}, kScreens, 2));      // partly off the edge
    EXPECT_TRUE(IsUsableFrameRect({0, 0, kMinimumFrameWidth, kMinimumFrameHeight}, kScreens, 2));
}

TEST(FramePlacement, RectanglesNobodyCouldUseAreRefused) {
    EXPECT_FALSE(IsUsableFrameRect({2000, 100, 2400, 700}, kScreens, 1));  // that screen is gone
    EXPECT_FALSE(IsUsableFrameRect({-900, 10, -400, 500}, kScreens, 2));   // left of every screen
    EXPECT_FALSE(IsUsableFrameRect({37, 0, 0, 0}, kScreens, 2));           // one side kept only
    EXPECT_FALSE(IsUsableFrameRect({400, 500, 100, 100}, kScreens, 2));    // inverted
    EXPECT_FALSE(IsUsableFrameRect({10, 10, 10 + kMinimumFrameWidth - 1, 300}, kScreens, 2));
    EXPECT_FALSE(IsUsableFrameRect({10, 10, 300, 10 + kMinimumFrameHeight - 1}, kScreens, 2));
    EXPECT_FALSE(IsUsableFrameRect({15, 25, 348, 469}, kScreens, 0));      // no screen at all
    // Widths that overflow 32 bits are neither taken as small nor as usable;
    // nothing beyond the 16-bit coordinates of window messages is.
    EXPECT_FALSE(IsUsableFrameRect({kMin, kMin, kMax, kMax}, kScreens, 2));
    EXPECT_FALSE(IsUsableFrameRect({kMax, 0, kMin, 500}, kScreens, 2));
    EXPECT_FALSE(IsUsableFrameRect({-40000, 10, 400, 500}, kScreens, 2));
    EXPECT_TRUE(IsUsableFrameRect({-32000, 10, 400, 500}, kScreens, 2));
}

TEST(FramePlacement, BesideTheHostSaturatesInsteadOfWrapping) {
    ScreenRect beside = FrameBesideHost({400, 40, 900, 700});
    EXPECT_EQ(beside.left, 400 - kDefaultFrameWidth);
    EXPECT_EQ(beside.top, 40);
    EXPECT_EQ(beside.right, 400);
    EXPECT_EQ(beside.bottom, 700);
    EXPECT_EQ(FrameBesideHost({kMin + 5, 0, 0, 10}).left, kMin);
}

}  // namespace
