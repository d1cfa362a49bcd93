// The skinned bars under the mouse: hit codes, arrows and track with
// auto-repeat, the dragged thumb, hover, disabled parts and capture loss,
// as the window sees them in the scroll messages it receives.
#include "scrollbars/skinned_scroll_calls.h"
#include "tests/win32/scroll_interaction/interaction_fixture.h"

namespace interactiontest {
namespace {

constexpr UINT_PTR kHoverTimerId = 0xFFFFFFF2;

int Count(const std::vector<int>& codes, int code) {
    int n = 0;
    for (int c : codes)
        n += c == code ? 1 : 0;
    return n;
}

void ExpectIdle() {
    const ScrollInteraction& in = g_scrollInteraction;
    EXPECT_EQ(in.clickedPart, -1);
    EXPECT_EQ(in.pressedPart, -1);
    EXPECT_EQ(in.pressedBar, -1);
    EXPECT_EQ(in.scrollMessage, 0u);
    EXPECT_EQ(in.repeatTimer, 0u);
}

TEST_F(InteractionTest, HitCodesCoverTheShownBarsOnly) {
    CreateList(WS_VSCROLL);
    const RECT v = VerticalBar();
    EXPECT_EQ(HitTest({v.left, v.top}), HTVSCROLL);
    EXPECT_EQ(HitTest({v.right - 1, v.bottom - 1}), HTVSCROLL);
    EXPECT_EQ(HitTest({v.left - 1, v.top + 50}), HTCLIENT);  // the list box's own answer
    EXPECT_EQ(HitTest({v.left, v.bottom}), HTBORDER);
    EXPECT_EQ(CountPassedOn(WM_NCHITTEST), 2);
}

TEST_F(InteractionTest, HorizontalBarSendsHorizontalRequests) {
    CreateList(WS_VSCROLL | WS_HSCROLL);
    const RECT h = HorizontalBar();
    const POINT rightArrow = {h.right - 8, (h.top + h.bottom) / 2};
    EXPECT_EQ(HitTest(rightArrow), HTHSCROLL);
    NcPress(rightArrow);
    Release(rightArrow);
    const std::vector<ScrollRequest> r = Requests();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].message, static_cast<UINT>(WM_HSCROLL));
    EXPECT_EQ(r[0].code, SB_LINEDOWN);
    EXPECT_EQ(r[1].message, static_cast<UINT>(WM_HSCROLL));
    EXPECT_EQ(r[1].code, SB_ENDSCROLL);
    EXPECT_EQ(Record()->horizontal.info.nPos, 1);
    EXPECT_EQ(Record()->vertical.info.nPos, 0);
}

TEST_F(InteractionTest, HeldArrowRepeatsAfterADelayThenQuickly) {
    CreateList();
    g_parentPaints = true;
    const POINT downArrow = InVertical(VerticalBar().bottom - 8);
    NcPress(downArrow);
    EXPECT_EQ(Codes(), std::vector<int>{SB_LINEDOWN});
    EXPECT_EQ(GetCapture(), list_);
    EXPECT_EQ(g_scrollInteraction.trackedWindow, list_);
    EXPECT_EQ(g_scrollInteraction.clickedPart, kPartDownArrow);
    EXPECT_EQ(g_scrollInteraction.pressedPart, kPartDownArrow);
    EXPECT_EQ(g_scrollInteraction.scrollMessage, static_cast<UINT>(WM_VSCROLL));
    EXPECT_EQ(g_scrollInteraction.repeatTimer, kScrollFirstRepeatTimer);
    EXPECT_EQ(LastState(kPartDownArrow), static_cast<UINT>(kItemPressed));
    EXPECT_EQ(CountPassedOn(WM_NCLBUTTONDOWN), 0);

    PumpFor(100);
    EXPECT_EQ(Codes().size(), 1u) << "no repeat before the first delay";
    // 300 ms to the switch to the quick timer, then one request per 55 ms.
    PumpFor(300 + 55 * 4 - 100);
    EXPECT_EQ(g_scrollInteraction.repeatTimer, kScrollRepeatTimer);
    const int repeats = Count(Codes(), SB_LINEDOWN) - 1;
    EXPECT_GE(repeats, 2);
    EXPECT_LE(repeats, 7);

    Release(downArrow);
    const std::vector<int> codes = Codes();
    EXPECT_EQ(codes.back(), SB_ENDSCROLL);
    EXPECT_EQ(Count(codes, SB_ENDSCROLL), 1);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(LastState(kPartDownArrow), static_cast<UINT>(kItemNormal));
    ExpectIdle();
    // Timers are gone: nothing more is sent, and no stray timer reaches the list box.
    PumpFor(150);
    EXPECT_EQ(Codes().size(), codes.size());
    EXPECT_EQ(CountPassedOn(WM_TIMER), 0);
    EXPECT_EQ(CountPassedOn(WM_LBUTTONUP), 0);
    EXPECT_EQ(Record()->vertical.info.nPos, Count(codes, SB_LINEDOWN));
}

TEST_F(InteractionTest, MovingOffTheArrowPausesTheRepeatsAndMovingBackResumesThem) {
    CreateList();
    g_parentPaints = true;
    const POINT downArrow = InVertical(VerticalBar().bottom - 8);
    const POINT offTheBar = {VerticalBar().left - 40, VerticalBar().bottom - 8};
    NcPress(downArrow);
    ASSERT_TRUE(PumpUntil([] { return g_requests.size() >= 3; }, 3000));

    MoveTo(offTheBar);
    EXPECT_EQ(g_scrollInteraction.pressedPart, -1);
    EXPECT_EQ(g_scrollInteraction.clickedPart, kPartDownArrow);
    EXPECT_EQ(LastState(kPartDownArrow), static_cast<UINT>(kItemNormal));
    const size_t paused = g_requests.size();
    PumpFor(200);
    EXPECT_EQ(g_requests.size(), paused);
    EXPECT_EQ(CountPassedOn(WM_MOUSEMOVE, MK_LBUTTON), 0);

    MoveTo(downArrow);
    EXPECT_EQ(g_scrollInteraction.pressedPart, kPartDownArrow);
    EXPECT_EQ(LastState(kPartDownArrow), static_cast<UINT>(kItemPressed));
    EXPECT_TRUE(PumpUntil([paused] { return g_requests.size() >= paused + 2; }, 3000));
    Release(downArrow);
    EXPECT_EQ(Codes().back(), SB_ENDSCROLL);
}

TEST_F(InteractionTest, PagingStopsWhenTheThumbReachesTheCursor) {
    CreateList();
    // Positions 10, 20 ... bring the thumb down 16 to 17 pixels a page; at
    // 70 it covers y 193..209.
    const POINT inTrack = InVertical(200);
    NcPress(inTrack);
    EXPECT_EQ(Codes(), std::vector<int>{SB_PAGEDOWN});
    EXPECT_EQ(g_scrollInteraction.clickedPart, kPartTrackAfter);
    ASSERT_TRUE(PumpUntil([] { return g_requests.size() >= 7; }, 5000));
    PumpFor(250);
    EXPECT_EQ(Codes(), std::vector<int>(7, SB_PAGEDOWN));
    EXPECT_EQ(Record()->vertical.info.nPos, 70);
    EXPECT_EQ(g_scrollInteraction.pressedPart, -1);
    EXPECT_LE(ThumbTop(), 200);
    EXPECT_GT(ThumbTop() + 17, 200);
    Release(inTrack);
    EXPECT_EQ(Codes().back(), SB_ENDSCROLL);
    ExpectIdle();
}

TEST_F(InteractionTest, DraggedThumbReportsChangesOnlyAndSnapsBackOutsideTheZone) {
    CreateList();
    g_parentPaints = true;
    const RECT bar = VerticalBar();
    const int x = (bar.left + bar.right) / 2;
    ASSERT_EQ(ThumbTop(), 77);
    NcPress({x, 80});  // 3 pixels into the thumb
    EXPECT_TRUE(Requests().empty()) << "nothing is sent at the press";
    EXPECT_EQ(Record()->thumbTracking, 1);
    EXPECT_EQ(GetCapture(), list_);
    EXPECT_EQ(g_scrollInteraction.dragThumbStart, 77);
    EXPECT_EQ(g_scrollInteraction.dragThumbLength, 17);
    EXPECT_EQ(g_scrollInteraction.dragOffset, 3);
    EXPECT_EQ(LastState(kPartThumb), static_cast<UINT>(kItemPressed));

    // 149 free pixels stand for positions 0 .. 90.
    MoveTo({x, 80});   // 0: unchanged
    MoveTo({x, 130});  // thumb at 127: 30
    const NMSKINSCROLLDRAW* thumb = LastItem(kVerticalBar, kPartThumb);
    ASSERT_NE(thumb, nullptr);
    RECT window;
    GetWindowRect(list_, &window);
    EXPECT_EQ(thumb->rect.top, 127 - window.top);
    EXPECT_EQ(thumb->rect.bottom, 127 + 17 - window.top);
    EXPECT_EQ(thumb->state, static_cast<UINT>(kItemPressed));
    MoveTo({x, 131});                 // 31
    MoveTo({x, 132});                 // still 31
    MoveTo({bar.left - 25, 132});     // beyond 24 pixels to the side: back to 0
    MoveTo({bar.left - 24, 132});     // within: 31
    MoveTo({x, bar.bottom + 47});     // within 48 pixels past the end: thumb at the end, 90
    MoveTo({x, bar.bottom + 48});     // beyond: 0
    MoveTo({x, 130});                 // 30
    EXPECT_EQ(Record()->vertical.info.nTrackPos, 30);
    Release({x, 130});

    const std::vector<ScrollRequest> r = Requests();
    const int expected[][2] = {{5, 30}, {5, 31}, {5, 0}, {5, 31}, {5, 90}, {5, 0}, {5, 30}, {4, 30}, {8, 0}};
    ASSERT_EQ(r.size(), sizeof expected / sizeof expected[0]);
    for (size_t i = 0; i < r.size(); ++i) {
        EXPECT_EQ(r[i].message, static_cast<UINT>(WM_VSCROLL));
        EXPECT_EQ(r[i].code, expected[i][0]) << i;
        EXPECT_EQ(r[i].position, expected[i][1]) << i;
    }
    EXPECT_EQ(Record()->thumbTracking, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(LastState(kPartThumb), static_cast<UINT>(kItemNormal));
    EXPECT_EQ(CountPassedOn(WM_MOUSEMOVE, MK_LBUTTON), 0);
    ExpectIdle();
}

TEST_F(InteractionTest, ThumbReleasedWithoutMovingReportsThePressPosition) {
    CreateList();
    SetVertical(0, 99, 10, 45);
    const int top = ThumbTop();
    NcPress(InVertical(top + 3));
    EXPECT_EQ(g_scrollInteraction.lastThumbPos, -45);
    EXPECT_EQ(Record()->vertical.info.nTrackPos, 45);
    Release(InVertical(top + 3));
    const std::vector<ScrollRequest> r = Requests();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].code, SB_THUMBPOSITION);
    EXPECT_EQ(r[0].position, 45);   // not the negated marker: the list would jump to its end
    EXPECT_EQ(r[1].code, SB_ENDSCROLL);
}

TEST_F(InteractionTest, DoubleClickOnABarIsASecondPress) {
    CreateList();
    const POINT upArrow = InVertical(VerticalBar().top + 8);
    SetVertical(0, 99, 10, 20);
    NcMessage(WM_NCLBUTTONDBLCLK, HTVSCROLL, upArrow);
    EXPECT_EQ(Codes(), std::vector<int>{SB_LINEUP});
    Release(upArrow);
    EXPECT_EQ(Record()->vertical.info.nPos, 19);
    // Elsewhere it is the list box's.
    NcMessage(WM_NCLBUTTONDBLCLK, HTBORDER, upArrow);
    EXPECT_EQ(CountPassedOn(WM_NCLBUTTONDBLCLK, HTBORDER), 1);
    EXPECT_EQ(CountPassedOn(WM_NCLBUTTONDBLCLK, HTVSCROLL), 0);
}

TEST_F(InteractionTest, DisabledArrowSwallowsThePressAndHoldsNothing) {
    CreateList();
    SetVertical(0, 99, 10, 20);
    SkinnedEnableScrollBar(list_, SB_VERT, ESB_DISABLE_DOWN);
    const POINT downArrow = InVertical(VerticalBar().bottom - 8);
    NcPress(downArrow);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(CountPassedOn(WM_NCLBUTTONDOWN), 0);
    EXPECT_EQ(g_scrollInteraction.clickedPart, -1);
    // The list box keeps its own mouse moves and button-ups.
    MoveTo({VerticalBar().left - 40, 100});
    Release({VerticalBar().left - 40, 100});
    EXPECT_EQ(CountPassedOn(WM_MOUSEMOVE, MK_LBUTTON), 1);
    EXPECT_EQ(CountPassedOn(WM_LBUTTONUP), 1);
    EXPECT_TRUE(Requests().empty());

    // The other arrow still works.
    const POINT upArrow = InVertical(VerticalBar().top + 8);
    NcPress(upArrow);
    Release(upArrow);
    EXPECT_EQ(Codes(), (std::vector<int>{SB_LINEUP, SB_ENDSCROLL}));
}

TEST_F(InteractionTest, InactiveBarSendsNothingFromTheThumbAndOnlyTheEndFromTheTrack) {
    CreateList();
    SetVertical(0, 99, 10, 0);
    SkinnedEnableScrollBar(list_, SB_VERT, ESB_DISABLE_BOTH);
    NcPress(InVertical(80));  // the thumb
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Record()->thumbTracking, 0);
    EXPECT_EQ(CountPassedOn(WM_NCLBUTTONDOWN), 0);
    MoveTo(InVertical(150));
    EXPECT_EQ(CountPassedOn(WM_MOUSEMOVE, MK_LBUTTON), 1);
    EXPECT_TRUE(Requests().empty());

    // A track press is held (captured) but sends nothing until the release.
    NcPress(InVertical(200));
    EXPECT_EQ(GetCapture(), list_);
    EXPECT_EQ(g_scrollInteraction.repeatTimer, 0u);
    PumpFor(400);
    EXPECT_TRUE(Requests().empty());
    Release(InVertical(200));
    EXPECT_EQ(Codes(), std::vector<int>{SB_ENDSCROLL});
    ExpectIdle();
}

TEST_F(InteractionTest, LosingTheCaptureWhileHeldStopsTheRepeatsAndReleasesThePart) {
    CreateList();
    g_parentPaints = true;
    const POINT downArrow = InVertical(VerticalBar().bottom - 8);
    NcPress(downArrow);
    ASSERT_TRUE(PumpUntil([] { return g_scrollInteraction.repeatTimer == kScrollRepeatTimer; }, 3000));

    SetCapture(parent_);
    Pump();
    EXPECT_EQ(GetCapture(), parent_);
    ExpectIdle();
    EXPECT_EQ(Codes().back(), SB_ENDSCROLL);
    EXPECT_EQ(LastState(kPartDownArrow), static_cast<UINT>(kItemNormal));
    EXPECT_EQ(CountPassedOn(WM_CAPTURECHANGED), 1);
    const size_t sent = g_requests.size();
    PumpFor(300);
    EXPECT_EQ(g_requests.size(), sent);
    EXPECT_EQ(CountPassedOn(WM_TIMER), 0);
    ReleaseCapture();

    // Later button-ups are the list box's again.
    Release(downArrow);
    EXPECT_EQ(CountPassedOn(WM_LBUTTONUP), 1);
    EXPECT_EQ(g_requests.size(), sent);
}

TEST_F(InteractionTest, LosingTheCaptureWhileDraggingEndsTheDrag) {
    CreateList();
    NcPress(InVertical(80));
    MoveTo(InVertical(130));
    ASSERT_EQ(Codes(), std::vector<int>{SB_THUMBTRACK});

    SetCapture(parent_);
    Pump();
    EXPECT_EQ(Record()->thumbTracking, 0);
    EXPECT_EQ(Codes(), (std::vector<int>{SB_THUMBTRACK, SB_ENDSCROLL}));
    ExpectIdle();
    ReleaseCapture();

    MoveTo(InVertical(180));
    Release(InVertical(180));
    EXPECT_EQ(CountPassedOn(WM_MOUSEMOVE, MK_LBUTTON), 1);
    EXPECT_EQ(CountPassedOn(WM_LBUTTONUP), 1);
    EXPECT_EQ(Codes().size(), 2u);
    // The bar takes calls with redraw again.
    EXPECT_EQ(SkinnedSetScrollRange(list_, SB_VERT, 0, 50, TRUE), TRUE);
}

TEST_F(InteractionTest, HoverStartsOnANonClientMoveAndStopsWhenTheCursorLeaves) {
    CreateList();
    SetSkinnedScrollBarStyle(list_, 3, kBarStyleFlatHover);
    g_parentPaints = true;
    const POINT downArrow = InVertical(VerticalBar().bottom - 8);
    // The system's own non-client move may already have started the hover.
    NcMessage(WM_NCMOUSEMOVE, HTVSCROLL, downArrow);
    EXPECT_EQ(g_scrollInteraction.trackedWindow, list_);
    EXPECT_EQ(g_scrollInteraction.hoverBar, kVerticalBar);
    EXPECT_EQ(g_scrollInteraction.hoverTimer, kHoverTimerId);
    const RECT bar = VerticalBar();
    EXPECT_TRUE(EqualRect(&g_scrollInteraction.hoverRect, &bar));
    EXPECT_GE(CountPassedOn(WM_NCMOUSEMOVE, HTVSCROLL), 1);

    ASSERT_TRUE(PumpUntil([] { return g_scrollInteraction.hoverPart == kPartDownArrow; }, 2000));
    EXPECT_EQ(LastState(kPartDownArrow), static_cast<UINT>(kItemHot));
    PlaceCursor({downArrow.x, 150});
    ASSERT_TRUE(PumpUntil([] { return g_scrollInteraction.hoverPart == kPartTrackAfter; }, 2000));
    EXPECT_EQ(LastState(kPartDownArrow), static_cast<UINT>(kItemNormal));

    PlaceCursor({900, 900});
    ASSERT_TRUE(PumpUntil([] { return g_scrollInteraction.hoverTimer == 0; }, 2000));
    EXPECT_EQ(g_scrollInteraction.hoverBar, -1);
    EXPECT_EQ(g_scrollInteraction.hoverPart, -1);
    EXPECT_EQ(g_scrollInteraction.prevHoverPart, -1);
    PumpFor(100);
    EXPECT_EQ(CountPassedOn(WM_TIMER, kHoverTimerId), 0) << "the hover timer is killed";
}

TEST_F(InteractionTest, DetachingWhileHeldAndHoveredLeavesNoTimerBehind) {
    CreateList();
    const POINT downArrow = InVertical(VerticalBar().bottom - 8);
    NcMessage(WM_NCMOUSEMOVE, HTVSCROLL, downArrow);
    NcPress(downArrow);
    ASSERT_NE(g_scrollInteraction.hoverTimer, 0u);
    ASSERT_EQ(g_scrollInteraction.repeatTimer, kScrollFirstRepeatTimer);
    EXPECT_EQ(DetachSkinnedScrollBars(list_), 0);
    ExpectIdle();
    EXPECT_EQ(g_scrollInteraction.hoverTimer, 0u);
    EXPECT_EQ(g_scrollInteraction.hoverBar, -1);
    EXPECT_EQ(GetCapture(), nullptr);
    g_passedOn.Clear();
    PumpFor(400);
    EXPECT_EQ(CountPassedOn(WM_TIMER), 0);

    // Destroyed while held: the next window starts afresh.
    ASSERT_EQ(AttachSkinnedScrollBars(list_), 1);
    SetSkinnedScrollBarSize(list_, 3, 16, 16);
    SetVertical(0, 99, 10, 0);
    NcPress(downArrow);
    ASSERT_EQ(g_scrollInteraction.clickedPart, kPartDownArrow);
    DestroyWindow(list_);
    list_ = nullptr;
    ExpectIdle();
}

TEST_F(InteractionTest, OtherMessagesReachTheListBox) {
    CreateList();
    const POINT inside = {VerticalBar().left - 40, 100};
    MoveTo(inside);
    Release(inside);
    NcMessage(WM_NCLBUTTONDOWN, HTBORDER, {VerticalBar().left, VerticalBar().bottom});
    SendMessageA(list_, WM_TIMER, kScrollRepeatTimer, 0);  // not running
    SendMessageA(list_, WM_TIMER, kHoverTimerId, 0);
    SendMessageA(list_, WM_TIMER, 7, 0);
    EXPECT_EQ(CountPassedOn(WM_MOUSEMOVE, MK_LBUTTON), 1);
    EXPECT_EQ(CountPassedOn(WM_LBUTTONUP), 1);
    EXPECT_EQ(CountPassedOn(WM_NCLBUTTONDOWN, HTBORDER), 1);
    EXPECT_EQ(CountPassedOn(WM_TIMER), 3);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(g_scrollInteraction.clickedPart, -1);
}

}  // namespace
}  // namespace interactiontest
