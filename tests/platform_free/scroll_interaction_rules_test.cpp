// Rules of the skinned scroll bars' interaction: the dragged thumb and its
// snap zone, and how scroll information is read, stored and clamped.
#include "scrollbars/portable/scroll_interaction_rules.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

ScrollInfoValues Info(int32_t nMin, int32_t nMax, uint32_t nPage, int32_t nPos, int32_t nTrackPos = 0) {
    return {nMin, nMax, nPage, nPos, nTrackPos};
}

// A 200-pixel bar with 16-pixel arrows: track 116 .. 284 (168 pixels), a
// 20-pixel thumb picked up at 150 with the cursor 5 pixels into it.
ThumbDrag Drag() { return {{100, 50, 300, 66}, 16, 20, 150, 5}; }

TEST(ThumbSnapZone, ReachesFortyEightPixelsBeyondTheEndsAndTwentyFourToTheSides) {
    const ScrollRect bar = Drag().bar;
    EXPECT_TRUE(InThumbSnapZone(bar, {200, 58}));
    EXPECT_TRUE(InThumbSnapZone(bar, {52, 58}));
    EXPECT_FALSE(InThumbSnapZone(bar, {51, 58}));
    EXPECT_TRUE(InThumbSnapZone(bar, {347, 58}));
    EXPECT_FALSE(InThumbSnapZone(bar, {348, 58}));
    EXPECT_TRUE(InThumbSnapZone(bar, {200, 26}));
    EXPECT_FALSE(InThumbSnapZone(bar, {200, 25}));
    EXPECT_TRUE(InThumbSnapZone(bar, {200, 89}));
    EXPECT_FALSE(InThumbSnapZone(bar, {200, 90}));
    // Far coordinates do not wrap into the zone.
    EXPECT_FALSE(InThumbSnapZone({INT_MAX - 10, 0, INT_MAX, 16}, {INT_MIN, 8}));
}

TEST(DraggedThumb, FollowsTheCursorWithinTheTrackAndSnapsBackOutsideTheZone) {
    const ThumbDrag drag = Drag();
    EXPECT_EQ(DraggedThumbStart(drag, {155, 58}), 150);  // not moved
    EXPECT_EQ(DraggedThumbStart(drag, {200, 58}), 195);
    EXPECT_EQ(DraggedThumbStart(drag, {200, 30}), 195);  // still inside across the bar
    EXPECT_EQ(DraggedThumbStart(drag, {60, 58}), 116);   // stopped at the track's start
    EXPECT_EQ(DraggedThumbStart(drag, {340, 58}), 264);  // and at its end less the thumb
    EXPECT_EQ(DraggedThumbStart(drag, {348, 58}), 150);  // beyond the zone: back where it was picked up
    EXPECT_EQ(DraggedThumbStart(drag, {51, 58}), 150);
    EXPECT_EQ(DraggedThumbStart(drag, {200, 90}), 150);
    EXPECT_EQ(DraggedThumbStart(drag, {200, 25}), 150);
}

TEST(DraggedThumb, PositionSpansTheRangeLessThePage) {
    const ThumbDrag drag = Drag();
    // 148 pixels of free track stand for positions 0 .. 90.
    const ScrollInfoValues info = Info(0, 99, 10, 0);
    EXPECT_EQ(DraggedThumbPosition(drag, 116, info), 0);
    EXPECT_EQ(DraggedThumbPosition(drag, 117, info), 1);  // 0.61 rounds up
    EXPECT_EQ(DraggedThumbPosition(drag, 190, info), 45);
    EXPECT_EQ(DraggedThumbPosition(drag, 264, info), 90);
    EXPECT_EQ(DraggedThumbPosition(drag, 190, Info(10, 109, 10, 0)), 55);
    // Without a range the position is the distance from the track's start.
    EXPECT_EQ(DraggedThumbPosition(drag, 190, Info(5, 5, 0, 0)), 74);
    EXPECT_EQ(DraggedThumbPosition(drag, 190, Info(10, 5, 0, 0)), 74);
}

TEST(ReadScrollInfo, CopiesWhatTheMaskAsksFor) {
    const ScrollInfoValues bar = Info(3, 99, 10, 40, 44);
    ScrollInfoValues out = Info(-1, -1, 7, -1, -1);
    EXPECT_EQ(ReadScrollInfo(bar, 0, &out), 0);
    EXPECT_EQ(ReadScrollInfo(bar, kScrollInfoDisableNoScroll | 0x20, &out), 0);
    EXPECT_EQ(out.nMin, -1);
    EXPECT_EQ(out.nPage, 7u);

    EXPECT_EQ(ReadScrollInfo(bar, kScrollInfoRange, &out), 1);
    EXPECT_EQ(out.nMin, 3);
    EXPECT_EQ(out.nMax, 99);
    EXPECT_EQ(out.nPage, 7u);
    EXPECT_EQ(out.nPos, -1);

    out = Info(-1, -1, 7, -1, -1);
    EXPECT_EQ(ReadScrollInfo(bar, kScrollInfoPage | kScrollInfoTrackPos, &out), 1);
    EXPECT_EQ(out.nPage, 10u);
    EXPECT_EQ(out.nTrackPos, 44);
    EXPECT_EQ(out.nPos, -1);
    EXPECT_EQ(out.nMin, -1);
    EXPECT_EQ(ReadScrollInfo(bar, kScrollInfoPos, &out), 1);
    EXPECT_EQ(out.nPos, 40);
}

TEST(WriteScrollInfo, ClampsPageToTheRangeAndPositionToTheLastPage) {
    const ScrollInfoValues bar = Info(0, 99, 10, 40, 44);
    ScrollInfoValues v = WriteScrollInfo(bar, kScrollInfoPage, Info(0, 0, 150, 0));
    EXPECT_EQ(v.nPage, 100u);
    v = WriteScrollInfo(bar, kScrollInfoPage, Info(0, 0, 0xFFFFFFFFu, 0));  // compared unsigned
    EXPECT_EQ(v.nPage, 100u);

    // Range, page and position together: the position is clamped with the new ones.
    v = WriteScrollInfo(bar, kScrollInfoRange | kScrollInfoPage | kScrollInfoPos, Info(0, 49, 20, 200));
    EXPECT_EQ(v.nMax, 49);
    EXPECT_EQ(v.nPage, 20u);
    EXPECT_EQ(v.nPos, 30);
    v = WriteScrollInfo(bar, kScrollInfoPos, Info(0, 0, 0, -7));
    EXPECT_EQ(v.nPos, 0);
    EXPECT_EQ(v.nTrackPos, 44);  // never written

    // A new range alone leaves page and position as they were.
    v = WriteScrollInfo(bar, kScrollInfoRange, Info(0, 5, 0, 0));
    EXPECT_EQ(v.nPage, 10u);
    EXPECT_EQ(v.nPos, 40);
    // An empty range (max below min) leaves no room for a page.
    v = WriteScrollInfo(bar, kScrollInfoRange | kScrollInfoPage, Info(0, -1, 10, 0));
    EXPECT_EQ(v.nPage, 0u);
}

TEST(ClampScrollPosition, RaisesToMinimumThenLowersToLastPageUnsigned) {
    EXPECT_EQ(ClampScrollPosition(Info(0, 99, 10, 0), -5), 0);
    EXPECT_EQ(ClampScrollPosition(Info(0, 99, 10, 0), 50), 50);
    EXPECT_EQ(ClampScrollPosition(Info(0, 99, 10, 0), 90), 90);
    EXPECT_EQ(ClampScrollPosition(Info(0, 99, 10, 0), 95), 90);
    EXPECT_EQ(ClampScrollPosition(Info(0, 99, 0, 0), 500), 100);  // no page: one past nMax
    // Compared unsigned, a negative position above a negative minimum counts
    // as beyond the end.
    EXPECT_EQ(ClampScrollPosition(Info(-10, 10, 0, 0), -5), 11);
}

TEST(ScrollBarWantedAfter, DisableNoScrollOrScrollable) {
    EXPECT_TRUE(ScrollBarWantedAfter(0, Info(0, 99, 10, 0)));
    EXPECT_FALSE(ScrollBarWantedAfter(kScrollInfoRange, Info(0, 9, 10, 0)));
    EXPECT_TRUE(ScrollBarWantedAfter(kScrollInfoDisableNoScroll, Info(0, 9, 10, 0)));
    EXPECT_FALSE(ScrollBarWantedAfter(0, Info(0, 0, 0, 0)));
}

TEST(FlagsWithArrows, ReplacesOnlyTheArrowBits) {
    EXPECT_EQ(FlagsWithArrows(kBarWanted | kBarUpArrowDisabled, 2), kBarWanted | kBarDownArrowDisabled);
    EXPECT_EQ(FlagsWithArrows(kBarWanted, 0xFF), kBarWanted | 3u);
    EXPECT_EQ(FlagsWithArrows(0x100 | 3, 0), 0x100u);
}

}  // namespace
