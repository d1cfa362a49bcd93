#include "panel/portable/panel_layout.h"

#include <gtest/gtest.h>

namespace {
void ExpectRect(const LayoutRect& r, int x, int y, int w, int h) {
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.width, w);
    EXPECT_EQ(r.height, h);
}
}  // namespace

TEST(PanelLayout, FourHundredBySixHundred) {
    PanelLayout l = LayOutPanel(400, 600);
    ExpectRect(l.list, 0, 28, 400, 314);
    ExpectRect(l.banner, 50, 346, 300, 250);
    ExpectRect(l.readmeButton, 4, 4, 50, 20);
    ExpectRect(l.optionsButton, 58, 4, 50, 20);
    ExpectRect(l.searchMode, 112, 4, 90, 20);
    ExpectRect(l.searchEdit, 206, 4, 184, 20);
}

TEST(PanelLayout, OddWidthsTruncateAndSmallSizesGoNonPositive) {
    EXPECT_EQ(LayOutPanel(401, 600).banner.x, 50);
    EXPECT_EQ(LayOutPanel(399, 600).banner.x, 49);
    EXPECT_EQ(LayOutPanel(400, 286).list.height, 0);
    EXPECT_LT(LayOutPanel(400, 200).list.height, 0);
    EXPECT_EQ(LayOutPanel(216, 600).searchEdit.width, 0);
    EXPECT_LT(LayOutPanel(100, 600).searchEdit.width, 0);
    EXPECT_EQ(LayOutPanel(400, 600).banner.y + 250, 596);   // 4 px above the bottom edge
}
