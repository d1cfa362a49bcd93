// Skinned scroll bar arithmetic: sizes, non-client layout, bar rectangles,
// thumb, painting items and hit test.
#include "scrollbars/portable/scroll_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

ScrollInfoValues Info(int32_t nMin, int32_t nMax, uint32_t nPage, int32_t nPos) {
    return {nMin, nMax, nPage, nPos, 0};
}

bool SameRect(const ScrollRect& a, const ScrollRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
#define EXPECT_RECT(r, l, t, rr, b) EXPECT_TRUE(SameRect((r), ScrollRect{l, t, rr, b}))

TEST(ScrollMulDiv, RoundsToNearestWithHalvesAwayFromZero) {
    EXPECT_EQ(ScrollMulDiv(10, 168, 100), 17);  // 16.8
    EXPECT_EQ(ScrollMulDiv(5, 1, 2), 3);        // 2.5
    EXPECT_EQ(ScrollMulDiv(-5, 1, 2), -3);
    EXPECT_EQ(ScrollMulDiv(5, -1, 2), -3);
    EXPECT_EQ(ScrollMulDiv(5, 1, -2), -3);
    EXPECT_EQ(ScrollMulDiv(-5, -1, -2), -3);
    EXPECT_EQ(ScrollMulDiv(1, 1, 3), 0);
    EXPECT_EQ(ScrollMulDiv(2, 1, 3), 1);
    EXPECT_EQ(ScrollMulDiv(0, -7, 3), 0);
    // The product does not overflow 32 bits on the way.
    EXPECT_EQ(ScrollMulDiv(0x40000000, 8, 16), 0x20000000);
}

TEST(ScrollMulDiv, ZeroDivisorAndOverflowGiveMinusOne) {
    EXPECT_EQ(ScrollMulDiv(3, 4, 0), -1);
    EXPECT_EQ(ScrollMulDiv(INT_MAX, 2, 1), -1);
    EXPECT_EQ(ScrollMulDiv(INT_MIN, 1, 1), -1);
    EXPECT_EQ(ScrollMulDiv(INT_MIN, -1, 1), -1);
    EXPECT_EQ(ScrollMulDiv(INT_MAX, 1, 1), INT_MAX);
    EXPECT_EQ(ScrollMulDiv(-INT_MAX, 1, 1), -INT_MAX);
}

#ifdef _WIN32
TEST(ScrollMulDiv, AgreesWithThePlatform) {
    const int32_t values[] = {0, 1, -1, 2, -2, 3, 7, -7, 99, 100, 168, -168, 255, 0x7FFF, 0x10000,
                              0x7FFFFFFF, -0x7FFFFFFF, 0x40000000, -0x40000000};
    // INT_MIN stays out: Wine negates it in 32 bits on the way; no scroll bar computes with it.
    for (int32_t a : values)
        for (int32_t b : values)
            for (int32_t c : values)
                ASSERT_EQ(ScrollMulDiv(a, b, c), MulDiv(a, b, c)) << a << " * " << b << " / " << c;
}
#endif

TEST(ScrollSizes, NegativeValuesAreMultiplesOfTheBarsOwnMetric) {
    const ScrollMetrics metrics{11, 12, 13, 14};
    EXPECT_EQ(ResolveScrollSize(16, 99), 16);
    EXPECT_EQ(ResolveScrollSize(-3, 17), 51);
    BarSize h = ResolveBarSize(kHorizontalBar, -1, -2, metrics);
    EXPECT_EQ(h.arrowLength, 11);
    EXPECT_EQ(h.thickness, 24);
    BarSize v = ResolveBarSize(kVerticalBar, -2, -1, metrics);
    EXPECT_EQ(v.arrowLength, 28);
    EXPECT_EQ(v.thickness, 13);
    BarSize other = ResolveBarSize(2, 16, 16, metrics);
    EXPECT_EQ(other.arrowLength, 0);
    EXPECT_EQ(other.thickness, 0);
}

TEST(ScrollInfoTests, ScrollableNeedsAPageWithinAProperRange) {
    EXPECT_TRUE(IsScrollable(Info(0, 99, 10, 0)));
    EXPECT_TRUE(IsScrollable(Info(0, 99, 99, 0)));
    EXPECT_FALSE(IsScrollable(Info(0, 99, 100, 0)));
    EXPECT_FALSE(IsScrollable(Info(5, 5, 0, 0)));
    EXPECT_FALSE(IsScrollable(Info(-10, 0, 0, 0)));  // nMax 0
    // nPage against a negative nMax compares unsigned.
    EXPECT_TRUE(IsScrollable(Info(-10, -1, 100, 0)));
    EXPECT_TRUE(IsBarActive(kBarWanted | kBarUpArrowDisabled, Info(0, 99, 10, 0)));
    EXPECT_FALSE(IsBarActive(kBarWanted | kBarUpArrowDisabled | kBarDownArrowDisabled, Info(0, 99, 10, 0)));
    EXPECT_FALSE(IsBarActive(kBarWanted, Info(0, 0, 0, 0)));
}

TEST(NonClientLayoutTests, BarsTakeRoomFromBottomThenRightOrLeft) {
    const ScrollRect proposed{100, 200, 300, 400};
    const ScrollRect withoutBars{101, 202, 297, 396};
    NonClientLayout l = LayoutNonClient(proposed, withoutBars, {kBarWanted, 16}, {kBarWanted, 17}, false);
    EXPECT_EQ(l.borderLeft, 1);
    EXPECT_EQ(l.borderTop, 2);
    EXPECT_EQ(l.borderRight, 3);
    EXPECT_EQ(l.borderBottom, 4);
    EXPECT_TRUE(l.horizontalShown);
    EXPECT_TRUE(l.verticalShown);
    EXPECT_RECT(l.client, 101, 202, 280, 380);

    l = LayoutNonClient(proposed, withoutBars, {kBarWanted, 16}, {kBarWanted, 17}, true);
    EXPECT_RECT(l.client, 118, 202, 297, 380);

    l = LayoutNonClient(proposed, withoutBars, {0, 16}, {kBarUpArrowDisabled, 17}, false);
    EXPECT_FALSE(l.horizontalShown);
    EXPECT_FALSE(l.verticalShown);
    EXPECT_RECT(l.client, 101, 202, 297, 396);
}

TEST(NonClientLayoutTests, BarsNeedRoom) {
    // Height equal to the horizontal thickness: no horizontal bar.
    NonClientLayout l = LayoutNonClient({0, 0, 50, 16}, {0, 0, 50, 16}, {kBarWanted, 16}, {0, 16}, false);
    EXPECT_FALSE(l.horizontalShown);
    EXPECT_RECT(l.client, 0, 0, 50, 16);
    l = LayoutNonClient({0, 0, 50, 17}, {0, 0, 50, 17}, {kBarWanted, 16}, {0, 16}, false);
    EXPECT_TRUE(l.horizontalShown);
    EXPECT_RECT(l.client, 0, 0, 50, 1);

    // Width equal to the vertical thickness: still a vertical bar, no client width left.
    l = LayoutNonClient({0, 0, 16, 50}, {0, 0, 16, 50}, {0, 16}, {kBarWanted, 16}, false);
    EXPECT_TRUE(l.verticalShown);
    EXPECT_RECT(l.client, 0, 0, 0, 50);
    l = LayoutNonClient({0, 0, 15, 50}, {0, 0, 15, 50}, {0, 16}, {kBarWanted, 16}, false);
    EXPECT_FALSE(l.verticalShown);

    // The vertical test runs on the rectangle the horizontal bar has reduced.
    l = LayoutNonClient({0, 0, 16, 16}, {0, 0, 16, 16}, {kBarWanted, 10}, {kBarWanted, 16}, false);
    EXPECT_TRUE(l.horizontalShown);
    EXPECT_TRUE(l.verticalShown);
    EXPECT_RECT(l.client, 0, 0, 0, 6);
}

TEST(BarRectsTests, RightAndLeftVerticalBar) {
    BarPlacement p{};
    p.window = {100, 200, 300, 400};
    p.borderLeft = 1;
    p.borderTop = 2;
    p.borderRight = 3;
    p.borderBottom = 4;
    p.horizontalThickness = 16;
    p.verticalThickness = 17;
    BarRects r = ComputeBarRects(p);
    EXPECT_RECT(r.horizontal, 101, 380, 280, 396);
    EXPECT_RECT(r.vertical, 280, 202, 297, 380);
    EXPECT_RECT(r.corner, 280, 380, 297, 396);

    p.leftScrollBar = true;
    r = ComputeBarRects(p);
    EXPECT_RECT(r.horizontal, 118, 380, 297, 396);
    EXPECT_RECT(r.vertical, 101, 202, 118, 380);
    EXPECT_RECT(r.corner, 101, 380, 118, 396);

    // A hidden horizontal bar leaves the vertical bar the full height.
    p.leftScrollBar = false;
    p.horizontalThickness = 0;
    r = ComputeBarRects(p);
    EXPECT_RECT(r.vertical, 280, 202, 297, 396);
    EXPECT_EQ(r.horizontal.top, r.horizontal.bottom);
}

// A vertical bar of a 200-pixel-high list: 16-pixel arrows, 16 pixels thick.
const ScrollRect kListBar = ToWorking(kVerticalBar, ScrollRect{184, 0, 200, 200});

TEST(Thumb, ListExample) {
    ThumbGeometry t = ComputeThumb(kListBar, 16, Info(0, 99, 10, 0), 6);
    EXPECT_EQ(t.length, 17);  // MulDiv(10, 168, 100)
    EXPECT_EQ(t.start, 16);   // right after the up arrow

    // Last position: the thumb ends at the down arrow.
    t = ComputeThumb(kListBar, 16, Info(0, 99, 10, 90), 6);
    EXPECT_EQ(t.start + t.length, 184);
    // Half way: MulDiv(45, 151, 90) = 76 (75.5 rounds up).
    t = ComputeThumb(kListBar, 16, Info(0, 99, 10, 45), 6);
    EXPECT_EQ(t.start, 16 + 76);
    // Positions beyond the range are clamped to the track.
    EXPECT_EQ(ComputeThumb(kListBar, 16, Info(0, 99, 10, 500), 6).start, 184 - 17);
    EXPECT_EQ(ComputeThumb(kListBar, 16, Info(0, 99, 10, -50), 6).start, 16);
    // nMin shifts positions.
    EXPECT_EQ(ComputeThumb(kListBar, 16, Info(100, 199, 10, 100), 6).start, 16);
}

TEST(Thumb, NoPageMinimumLengthAndHugeRanges) {
    // Without a page the thumb is as long as an arrow.
    ThumbGeometry t = ComputeThumb(kListBar, 16, Info(0, 99, 0, 0), 6);
    EXPECT_EQ(t.length, 16);
    EXPECT_EQ(t.start, 16);
    t = ComputeThumb(kListBar, 16, Info(0, 99, 0, 99), 6);
    EXPECT_EQ(t.start, 184 - 16);

    // MulDiv(1, 168, 10000) = 0: lengthened to the minimum.
    t = ComputeThumb(kListBar, 16, Info(0, 9999, 1, 0), 6);
    EXPECT_EQ(t.length, 6);
    t = ComputeThumb(kListBar, 16, Info(0, 9999, 1, 9999), 8);
    EXPECT_EQ(t.length, 8);
    EXPECT_EQ(t.start + t.length, 184);

    // A range beyond 0x7FFFFFFE: no thumb, placed after the up arrow.
    t = ComputeThumb(kListBar, 16, Info(INT_MIN, INT_MAX, 10, 12345), 6);
    EXPECT_EQ(t.length, 0);
    EXPECT_EQ(t.start, 16);
    t = ComputeThumb(kListBar, 16, Info(-1, 0x7FFFFFFE, 1, 0), 6);  // range 0x7FFFFFFF
    EXPECT_EQ(t.length, 0);
    // 0x7FFFFFFE itself is still computed.
    t = ComputeThumb(kListBar, 16, Info(0, 0x7FFFFFFE, 0x40000000, 0x3FFFFFFF), 6);
    EXPECT_EQ(t.length, 84);
    EXPECT_EQ(t.start, 16 + 84);
    // A huge range with no page keeps the arrow-long thumb at the start.
    t = ComputeThumb(kListBar, 16, Info(INT_MIN, INT_MAX, 0, 5), 6);
    EXPECT_EQ(t.length, 16);
    EXPECT_EQ(t.start, 16);
}

TEST(Thumb, PageLargerThanRangeDoesNotMove) {
    // A zero or negative divisor leaves the thumb at the start.
    ThumbGeometry t = ComputeThumb(kListBar, 16, Info(0, 9, 10, 3), 6);
    EXPECT_EQ(t.start, 16);
    t = ComputeThumb(kListBar, 16, Info(0, 9, 50, 3), 6);
    EXPECT_EQ(t.start, 16);
}

struct Item {
    int32_t part, begin, end, state;
    bool inactive;
};

std::vector<Item> Items(const BarPaintInput& input) {
    const BarItems items = LayoutBarItems(input);
    std::vector<Item> out;
    for (int32_t i = 0; i < items.count; ++i) {
        const BarItem& it = items.items[i];
        out.push_back({it.part, it.begin, it.end, it.state, it.inactive});
    }
    return out;
}

std::vector<Item> Items(const ScrollRect& bar, uint32_t flags, ScrollInfoValues info, int32_t pressed = kPartNone,
                        int32_t hover = kPartNone) {
    return Items(BarPaintInput{bar, 16, 6, flags, info, pressed, hover});
}

#define EXPECT_ITEM(item, p, b, e, s, inact) \
    do {                                   \
        EXPECT_EQ((item).part, p);         \
        EXPECT_EQ((item).begin, b);        \
        EXPECT_EQ((item).end, e);          \
        EXPECT_EQ((item).state, s);        \
        EXPECT_EQ((item).inactive, inact); \
    } while (0)

TEST(BarItemsTests, ScrollableBarHasFiveItems) {
    const std::vector<Item> items = Items(kListBar, kBarWanted, Info(0, 99, 10, 45));
    ASSERT_EQ(items.size(), 5u);
    EXPECT_ITEM(items[0], kPartUpArrow, 0, 16, kItemNormal, false);
    EXPECT_ITEM(items[1], kPartTrackBefore, 16, 92, kItemNormal, false);
    EXPECT_ITEM(items[2], kPartTrackAfter, 109, 184, kItemNormal, false);
    EXPECT_ITEM(items[3], kPartThumb, 92, 109, kItemNormal, false);
    EXPECT_ITEM(items[4], kPartDownArrow, 184, 200, kItemNormal, false);
    const BarItem thumb{kPartThumb, 92, 109, kItemNormal, false};
    EXPECT_RECT(ToWorking(kVerticalBar, ItemRect(kListBar, thumb)), 184, 92, 200, 109);
}

TEST(BarItemsTests, StatesPressedBeforeHotBeforeDisabled) {
    std::vector<Item> items = Items(kListBar, kBarWanted | kBarUpArrowDisabled, Info(0, 99, 10, 45), kPartUpArrow,
                                    kPartUpArrow);
    EXPECT_ITEM(items[0], kPartUpArrow, 0, 16, kItemPressed, true);
    items = Items(kListBar, kBarWanted | kBarUpArrowDisabled, Info(0, 99, 10, 45), kPartNone, kPartUpArrow);
    EXPECT_EQ(items[0].state, kItemDisabled);  // a disabled arrow is never hot
    items = Items(kListBar, kBarWanted, Info(0, 99, 10, 45), kPartNone, kPartDownArrow);
    EXPECT_EQ(items[4].state, kItemHot);
    items = Items(kListBar, kBarWanted, Info(0, 99, 10, 45), kPartThumb, kPartThumb);
    EXPECT_EQ(items[3].state, kItemPressed);
    items = Items(kListBar, kBarWanted, Info(0, 99, 10, 45), kPartNone, kPartThumb);
    EXPECT_EQ(items[3].state, kItemHot);
    // Track parts are pressed or normal, never hot.
    items = Items(kListBar, kBarWanted, Info(0, 99, 10, 45), kPartTrackAfter, kPartTrackBefore);
    EXPECT_EQ(items[1].state, kItemNormal);
    EXPECT_EQ(items[2].state, kItemPressed);
}

TEST(BarItemsTests, WholeTrackWithoutThumb) {
    // Not scrollable: both arrows disabled, one normal track.
    std::vector<Item> items = Items(kListBar, kBarWanted, Info(0, 0, 0, 0), kPartTrackAfter);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_ITEM(items[0], kPartUpArrow, 0, 16, kItemDisabled, true);
    EXPECT_ITEM(items[1], kPartTrackAfter, 16, 184, kItemNormal, false);
    EXPECT_ITEM(items[2], kPartDownArrow, 184, 200, kItemDisabled, true);
    // Both arrows disabled by flags.
    items = Items(kListBar, kBarWanted | 3, Info(0, 99, 10, 0));
    ASSERT_EQ(items.size(), 3u);
    // A huge range has a zero-length thumb.
    items = Items(kListBar, kBarWanted, Info(INT_MIN, INT_MAX, 10, 0));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_FALSE(items[0].inactive);
    // A thumb longer than the track: minimum length on a 44-pixel bar.
    items = Items(BarPaintInput{{0, 0, 44, 16}, 16, 20, kBarWanted, Info(0, 99, 10, 0), -1, -1});
    ASSERT_EQ(items.size(), 3u);
    EXPECT_ITEM(items[1], kPartTrackAfter, 16, 28, kItemNormal, false);
}

TEST(BarItemsTests, ShortBarsSqueezeTheArrows) {
    // Even length: two halves, no gap, no thumb.
    std::vector<Item> items = Items({0, 0, 30, 16}, kBarWanted, Info(0, 99, 10, 0));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_ITEM(items[0], kPartUpArrow, 0, 15, kItemNormal, false);
    EXPECT_ITEM(items[1], kPartDownArrow, 15, 30, kItemNormal, false);
    // Odd length: the one-pixel gap is a normal track part.
    items = Items({10, 0, 41, 16}, kBarWanted, Info(0, 99, 10, 0), kPartTrackAfter);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_ITEM(items[0], kPartUpArrow, 10, 25, kItemNormal, false);
    EXPECT_ITEM(items[1], kPartTrackAfter, 25, 26, kItemNormal, false);
    EXPECT_ITEM(items[2], kPartDownArrow, 26, 41, kItemNormal, false);
    // Exactly two arrows long also squeezes.
    items = Items({0, 0, 32, 16}, kBarWanted, Info(0, 99, 10, 0));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].end, 16);
    // One pixel: a zero-length arrow on each side of the gap.
    items = Items({0, 0, 1, 16}, kBarWanted, Info(0, 99, 10, 0));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_ITEM(items[1], kPartTrackAfter, 0, 1, kItemNormal, false);
    // No length: nothing.
    EXPECT_TRUE(Items({5, 0, 5, 16}, kBarWanted, Info(0, 99, 10, 0)).empty());
    EXPECT_TRUE(Items({5, 0, 2, 16}, kBarWanted, Info(0, 99, 10, 0)).empty());
}

TEST(HitTest, PartsOfTheListBar) {
    const ScrollInfoValues info = Info(0, 99, 10, 45);  // thumb 92..109
    auto hit = [&](int32_t along, int32_t across) {
        return HitTestBar(kListBar, ToWorking(kVerticalBar, ScrollPoint{across, along}), 16, info, 6);
    };
    EXPECT_EQ(hit(0, 190), kPartUpArrow);
    EXPECT_EQ(hit(15, 184), kPartUpArrow);
    EXPECT_EQ(hit(16, 199), kPartTrackBefore);
    EXPECT_EQ(hit(91, 190), kPartTrackBefore);
    EXPECT_EQ(hit(92, 190), kPartThumb);
    EXPECT_EQ(hit(108, 190), kPartThumb);
    EXPECT_EQ(hit(109, 190), kPartTrackAfter);
    EXPECT_EQ(hit(183, 190), kPartTrackAfter);
    EXPECT_EQ(hit(184, 190), kPartDownArrow);
    EXPECT_EQ(hit(199, 190), kPartDownArrow);
    // Outside across the bar, and beyond its ends.
    EXPECT_EQ(hit(50, 183), kPartNone);
    EXPECT_EQ(hit(50, 200), kPartNone);
    EXPECT_EQ(hit(-1, 190), kPartNone);
    EXPECT_EQ(hit(200, 190), kPartNone);
}

TEST(HitTest, ShortBarsAndFullThumbs) {
    const ScrollInfoValues info = Info(0, 99, 10, 0);
    // Squeezed arrows: halves, and the odd pixel hits nothing.
    const ScrollRect shortBar{0, 0, 31, 16};
    EXPECT_EQ(HitTestBar(shortBar, {14, 5}, 16, info, 6), kPartUpArrow);
    EXPECT_EQ(HitTestBar(shortBar, {15, 5}, 16, info, 6), kPartNone);
    EXPECT_EQ(HitTestBar(shortBar, {16, 5}, 16, info, 6), kPartDownArrow);
    // A thumb filling the track leaves only the arrows.
    const ScrollRect bar{0, 0, 100, 16};
    EXPECT_EQ(HitTestBar(bar, {50, 5}, 16, Info(0, 99, 100, 0), 6), kPartNone);
    EXPECT_EQ(HitTestBar(bar, {99, 5}, 16, Info(0, 99, 100, 0), 6), kPartDownArrow);
    // Horizontal bar, at the start of the range.
    EXPECT_EQ(HitTestBar(bar, {16, 0}, 16, info, 6), kPartThumb);
    EXPECT_EQ(HitTestBar(bar, {30, 15}, 16, info, 6), kPartTrackAfter);
    EXPECT_EQ(HitTestBar(bar, {30, 16}, 16, info, 6), kPartNone);
}

}  // namespace
