// The eight scroll-bar calls answered from the skinned bars of a real list
// box: what they store and return, what they show, hide and repaint.
#include "scrollbars/skinned_scroll_calls.h"
#include "tests/win32/scroll_interaction/interaction_fixture.h"

namespace interactiontest {
namespace {

class CallsTest : public InteractionTest {
protected:
    int ClientWidth() const {
        RECT r;
        GetClientRect(list_, &r);
        return r.right;
    }
    int ClientHeight() const {
        RECT r;
        GetClientRect(list_, &r);
        return r.bottom;
    }
    LONG Style() const { return GetWindowLongA(list_, GWL_STYLE); }
    SCROLLINFO Vertical() const { return Record()->vertical.info; }
    int SetInfo(UINT mask, int nMin, int nMax, UINT nPage, int nPos, BOOL redraw = TRUE) {
        SCROLLINFO info = {sizeof info, mask, nMin, nMax, nPage, nPos, 0};
        return SkinnedSetScrollInfo(list_, SB_VERT, &info, redraw);
    }
    void Forget() { g_passedOn.Clear(); }
};

TEST_F(CallsTest, CallsApplyToTheTwoBarsOfASkinnedWindowOnly) {
    CreateList(WS_VSCROLL);
    EXPECT_TRUE(SkinnedScrollCallApplies(list_, SB_HORZ, false));
    EXPECT_TRUE(SkinnedScrollCallApplies(list_, SB_VERT, false));
    EXPECT_FALSE(SkinnedScrollCallApplies(list_, SB_BOTH, false));
    EXPECT_FALSE(SkinnedScrollCallApplies(list_, SB_CTL, false));
    EXPECT_TRUE(SkinnedScrollCallApplies(list_, SB_BOTH, true));
    EXPECT_TRUE(SkinnedScrollCallApplies(list_, 7, true));
    EXPECT_FALSE(SkinnedScrollCallApplies(list_, SB_CTL, true));
    EXPECT_FALSE(SkinnedScrollCallApplies(parent_, SB_VERT, true));
    EXPECT_FALSE(SkinnedScrollCallApplies(nullptr, SB_VERT, true));
    // Called anyway for something they do not cover, they refuse.
    SCROLLINFO info = {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    EXPECT_FALSE(SkinnedGetScrollInfo(list_, SB_CTL, &info));
    EXPECT_FALSE(SkinnedGetScrollInfo(parent_, SB_VERT, &info));
    EXPECT_EQ(SkinnedSetScrollInfo(parent_, SB_VERT, &info, TRUE), 0);
    EXPECT_FALSE(SkinnedShowScrollBar(parent_, SB_VERT, TRUE));
}

TEST_F(CallsTest, GetScrollInfoCopiesWhatIsAskedFor) {
    CreateList(WS_VSCROLL);
    SetInfo(SIF_ALL, 3, 99, 10, 40);
    Record()->vertical.info.nTrackPos = 44;
    EXPECT_FALSE(SkinnedGetScrollInfo(list_, SB_VERT, nullptr));

    SCROLLINFO info = {sizeof info, SIF_RANGE, -1, -1, 77, -1, -1};
    EXPECT_TRUE(SkinnedGetScrollInfo(list_, SB_VERT, &info));
    EXPECT_EQ(info.nMin, 3);
    EXPECT_EQ(info.nMax, 99);
    EXPECT_EQ(info.nPage, 77u);
    EXPECT_EQ(info.nPos, -1);
    info = {sizeof info, SIF_POS | SIF_TRACKPOS, -1, -1, 77, -1, -1};
    EXPECT_TRUE(SkinnedGetScrollInfo(list_, SB_VERT, &info));
    EXPECT_EQ(info.nPos, 40);
    EXPECT_EQ(info.nTrackPos, 44);
    EXPECT_EQ(info.nMin, -1);
    info = {sizeof info, 0, -1, -1, 77, -1, -1};
    EXPECT_FALSE(SkinnedGetScrollInfo(list_, SB_VERT, &info));

    EXPECT_EQ(SkinnedGetScrollPos(list_, SB_VERT), 40);
    int lowest = 0;
    int highest = 0;
    EXPECT_TRUE(SkinnedGetScrollRange(list_, SB_VERT, &lowest, &highest));
    EXPECT_EQ(lowest, 3);
    EXPECT_EQ(highest, 99);
    EXPECT_FALSE(SkinnedGetScrollRange(list_, SB_VERT, nullptr, &highest));
    EXPECT_FALSE(SkinnedGetScrollRange(list_, SB_VERT, &lowest, nullptr));
}

TEST_F(CallsTest, SetScrollInfoClampsAndRepaintsWithoutTouchingTheSystemBar) {
    CreateList(WS_VSCROLL);
    SCROLLINFO system = {sizeof system, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(list_, SB_VERT, &system);

    Forget();
    // Page 50 on 50 positions leaves only position 0; kept visible though it cannot scroll.
    EXPECT_EQ(SetInfo(SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, 49, 80, 10), 0);
    EXPECT_EQ(Vertical().nPage, 50u);
    EXPECT_EQ(Vertical().nPos, 0);
    EXPECT_EQ(Vertical().cbSize, 28u);
    EXPECT_EQ(Vertical().fMask, 0x17u);
    EXPECT_EQ(SetInfo(SIF_PAGE | SIF_POS, 0, 0, 10, 500), 40);
    EXPECT_EQ(SetInfo(SIF_POS, 0, 0, 0, -3), 0);
    EXPECT_EQ(CountPassedOn(WM_NCPAINT, 1), 3);
    EXPECT_EQ(CountPassedOn(WM_NCCALCSIZE), 0);
    Forget();
    EXPECT_EQ(SetInfo(SIF_POS, 0, 0, 0, 7, FALSE), 7);
    EXPECT_EQ(CountPassedOn(WM_NCPAINT), 0);

    SCROLLINFO after = {sizeof after, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(list_, SB_VERT, &after);
    EXPECT_EQ(after.nMax, system.nMax);
    EXPECT_EQ(after.nPage, system.nPage);
    EXPECT_EQ(after.nPos, system.nPos);
}

TEST_F(CallsTest, SetScrollInfoShowsAndHidesTheBarByScrollability) {
    CreateList(WS_VSCROLL);
    const int withBar = ClientWidth();
    Forget();
    SetInfo(SIF_RANGE | SIF_PAGE, 0, 9, 10, 0);  // everything fits
    EXPECT_EQ(Record()->vertical.flags & kBarWanted, 0u);
    EXPECT_EQ(Record()->vertical.shown, 0);
    EXPECT_EQ(Style() & WS_VSCROLL, 0);
    EXPECT_EQ(ClientWidth(), withBar + 16);
    EXPECT_GE(CountPassedOn(WM_NCCALCSIZE), 1);

    // Kept visible, though disabled, when asked to.
    SetInfo(SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL, 0, 9, 10, 0);
    EXPECT_EQ(Record()->vertical.flags & kBarWanted, kBarWanted);
    EXPECT_NE(Style() & WS_VSCROLL, 0);
    EXPECT_EQ(ClientWidth(), withBar);
    SetInfo(SIF_RANGE | SIF_PAGE, 0, 9, 10, 0);
    EXPECT_EQ(ClientWidth(), withBar + 16);
    SetInfo(SIF_RANGE, 0, 99, 0, 0, FALSE);  // scrollable again
    EXPECT_EQ(ClientWidth(), withBar);
    EXPECT_EQ(Record()->vertical.shown, 1);
}

TEST_F(CallsTest, WhileTheThumbIsDraggedCallsStoreButDoNotRepaintAndTheRangeStays) {
    CreateList(WS_VSCROLL);
    SetInfo(SIF_ALL, 0, 99, 10, 20);
    NcPress(InVertical(ThumbTop() + 2));
    ASSERT_EQ(Record()->thumbTracking, 1);
    Forget();
    EXPECT_EQ(SetInfo(SIF_POS, 0, 0, 0, 30), 30);
    EXPECT_EQ(Vertical().nPos, 30);
    EXPECT_EQ(SkinnedSetScrollPos(list_, SB_VERT, 35, TRUE), 30);
    EXPECT_EQ(Vertical().nPos, 35);
    EXPECT_EQ(SkinnedSetScrollRange(list_, SB_VERT, 0, 500, TRUE), 35);
    EXPECT_EQ(Vertical().nMax, 99);
    EXPECT_EQ(CountPassedOn(WM_NCPAINT), 0);
    Release(InVertical(ThumbTop() + 2));
    EXPECT_EQ(Record()->thumbTracking, 0);
    EXPECT_EQ(SkinnedSetScrollRange(list_, SB_VERT, 0, 500, TRUE), TRUE);
    EXPECT_EQ(Vertical().nMax, 500);
}

TEST_F(CallsTest, SetScrollPosClampsAndReturnsThePreviousPosition) {
    CreateList(WS_VSCROLL);
    Forget();
    EXPECT_EQ(SkinnedSetScrollPos(list_, SB_VERT, 500, TRUE), 0);
    EXPECT_EQ(Vertical().nPos, 90);
    EXPECT_EQ(SkinnedSetScrollPos(list_, SB_VERT, -4, FALSE), 90);
    EXPECT_EQ(Vertical().nPos, 0);
    EXPECT_EQ(CountPassedOn(WM_NCPAINT, 1), 1);
}

TEST_F(CallsTest, SetScrollRangeLeavesPageAndPositionAndHidesAnEmptyRange) {
    CreateList(WS_VSCROLL);
    SetInfo(SIF_ALL, 0, 99, 10, 80);
    const int withBar = ClientWidth();
    Forget();
    EXPECT_EQ(SkinnedSetScrollRange(list_, SB_VERT, 0, 20, TRUE), TRUE);
    EXPECT_EQ(Vertical().nMax, 20);
    EXPECT_EQ(Vertical().nPage, 10u);
    EXPECT_EQ(Vertical().nPos, 80);
    EXPECT_EQ(CountPassedOn(WM_NCPAINT, 1), 1);
    EXPECT_EQ(Record()->vertical.shown, 1);
    EXPECT_EQ(SkinnedSetScrollRange(list_, SB_VERT, 5, 5, FALSE), TRUE);
    EXPECT_EQ(Record()->vertical.shown, 0);
    EXPECT_EQ(Style() & WS_VSCROLL, 0);
    EXPECT_EQ(ClientWidth(), withBar + 16);
}

TEST_F(CallsTest, ShowScrollBarKeepsFlagsAndStyleInStep) {
    CreateList(WS_VSCROLL);
    const int width = ClientWidth();
    const int height = ClientHeight();
    EXPECT_EQ(SkinnedShowScrollBar(list_, SB_BOTH, 1), TRUE);
    EXPECT_EQ(Record()->horizontal.flags & kBarWanted, kBarWanted);
    EXPECT_EQ(Record()->vertical.flags & kBarWanted, kBarWanted);
    EXPECT_EQ(Style() & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
    EXPECT_EQ(Record()->horizontal.shown, 1);
    EXPECT_EQ(ClientHeight(), height - 16);
    EXPECT_EQ(ClientWidth(), width);

    // Only exactly 1 shows.
    EXPECT_EQ(SkinnedShowScrollBar(list_, SB_HORZ, 2), TRUE);
    EXPECT_EQ(Record()->horizontal.flags & kBarWanted, 0u);
    EXPECT_EQ(Style() & WS_HSCROLL, 0);
    EXPECT_NE(Style() & WS_VSCROLL, 0);
    EXPECT_EQ(ClientHeight(), height);
    EXPECT_EQ(SkinnedShowScrollBar(list_, SB_VERT, FALSE), TRUE);
    EXPECT_EQ(ClientWidth(), width + 16);
    EXPECT_EQ(Style() & (WS_HSCROLL | WS_VSCROLL), 0);
    EXPECT_EQ(SkinnedShowScrollBar(list_, 7, TRUE), TRUE);
    EXPECT_EQ(Style() & (WS_HSCROLL | WS_VSCROLL), 0);
}

TEST_F(CallsTest, EnableScrollBarSetsArrowBitsAndReportsChanges) {
    CreateList(WS_VSCROLL);
    Forget();
    EXPECT_TRUE(SkinnedEnableScrollBar(list_, SB_VERT, ESB_DISABLE_UP));
    EXPECT_EQ(Record()->vertical.flags, kBarWanted | kBarUpArrowDisabled);
    EXPECT_FALSE(SkinnedEnableScrollBar(list_, SB_VERT, ESB_DISABLE_UP));
    EXPECT_TRUE(SkinnedEnableScrollBar(list_, SB_HORZ, ESB_DISABLE_BOTH));
    EXPECT_EQ(Record()->horizontal.flags, 3u);
    // Both bars have to change for SB_BOTH.
    EXPECT_FALSE(SkinnedEnableScrollBar(list_, SB_BOTH, ESB_DISABLE_BOTH));
    EXPECT_EQ(Record()->vertical.flags, kBarWanted | 3u);
    EXPECT_TRUE(SkinnedEnableScrollBar(list_, SB_BOTH, ESB_ENABLE_BOTH));
    EXPECT_EQ(Record()->vertical.flags, kBarWanted);
    EXPECT_EQ(Record()->horizontal.flags, 0u);
    EXPECT_TRUE(SkinnedEnableScrollBar(list_, 7, ESB_DISABLE_BOTH));
    EXPECT_EQ(Record()->vertical.flags, kBarWanted);
    EXPECT_EQ(CountPassedOn(WM_NCPAINT), 0);
}

}  // namespace
}  // namespace interactiontest
