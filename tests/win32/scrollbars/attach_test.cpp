// Attaching skinned bars to a list box, the set-up calls, the room taken
// from the client area and the subclass procedure's rules.
#include "tests/win32/scrollbars/scroll_fixture.h"

namespace scrolltest {
namespace {

constexpr LONG kBothStyles = WS_HSCROLL | WS_VSCROLL;

int CountBeneath(UINT message) { return g_beneath.Count(message); }

TEST_F(ScrollBarsTest, AttachFillsTheRecordAndTakesRoomForBothBars) {
    CreateList(WS_VSCROLL | WS_HSCROLL);
    SCROLLINFO system = {sizeof system, SIF_ALL, 0, 57, 7, 3, 0};
    SetScrollInfo(list_, SB_VERT, &system, FALSE);
    InstallBeneath();
    g_beneath.Clear();

    ASSERT_EQ(AttachSkinnedScrollBars(list_), 1);
    EXPECT_EQ(HasSkinnedScrollBars(list_), 1);
    SkinnedScrollWindow* r = Record();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->previousWindowProcedure, &BeneathProc);
    EXPECT_EQ(GetWindowLongA(list_, GWL_WNDPROC), reinterpret_cast<LONG>(&SkinnedScrollProc));

    EXPECT_EQ(r->vertical.info.cbSize, 28u);
    EXPECT_EQ(r->vertical.info.fMask, 0x17u);
    EXPECT_EQ(r->vertical.info.nMin, 0);
    EXPECT_EQ(r->vertical.info.nMax, 57);
    EXPECT_EQ(r->vertical.info.nPage, 7u);
    EXPECT_EQ(r->vertical.info.nPos, 3);
    EXPECT_EQ(r->horizontal.info.cbSize, 28u);
    EXPECT_EQ(r->horizontal.info.fMask, 0x17u);

    for (const SkinnedScrollBar* bar : {&r->horizontal, &r->vertical}) {
        EXPECT_EQ(bar->flags, kBarWanted);
        EXPECT_EQ(bar->shown, 1);
        EXPECT_EQ(bar->arrowLength, -1);
        EXPECT_EQ(bar->thickness, -1);
        EXPECT_EQ(bar->style, kBarStyleRaised);
        const DWORD version = GetVersion();
        ASSERT_FALSE(version & 0x80000000u);
        ASSERT_GE(LOBYTE(LOWORD(version)), 5);
        EXPECT_EQ(bar->minThumbLength, 6);
    }
    EXPECT_EQ(r->horizontal.type, kHorizontalBar);
    EXPECT_EQ(r->vertical.type, kVerticalBar);
    EXPECT_EQ(r->leftScrollBar, 0);
    EXPECT_EQ(r->thumbTracking, 0);
    EXPECT_EQ(r->suppressStyleChange, 0);

    // The frame change ran the layout: borders of WS_BORDER, bars of the system size.
    EXPECT_GE(CountBeneath(WM_NCCALCSIZE), 1);
    EXPECT_EQ(r->borderLeft, 1);
    EXPECT_EQ(r->borderTop, 1);
    EXPECT_EQ(r->borderRight, 1);
    EXPECT_EQ(r->borderBottom, 1);
    const RECT client = ClientInWindow();
    EXPECT_EQ(client.left, 1);
    EXPECT_EQ(client.top, 1);
    EXPECT_EQ(client.right, 199 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(client.bottom, 199 - GetSystemMetrics(SM_CYHSCROLL));
}

TEST_F(ScrollBarsTest, OnlyTheStyledBarIsWanted) {
    CreateList(WS_VSCROLL);
    ASSERT_EQ(AttachSkinnedScrollBars(list_), 1);
    ASSERT_EQ(SetSkinnedScrollBarSize(list_, 3, 16, 12), 1);
    EXPECT_EQ(Record()->horizontal.flags, 0u);
    EXPECT_EQ(Record()->horizontal.shown, 0);
    EXPECT_EQ(Record()->vertical.flags, kBarWanted);
    const RECT client = ClientInWindow();
    EXPECT_EQ(client.right, 199 - 12);
    EXPECT_EQ(client.bottom, 199);
}

TEST_F(ScrollBarsTest, AttachingTwiceKeepsTheFirstRecord) {
    CreateList(WS_VSCROLL | WS_HSCROLL);
    ASSERT_EQ(AttachSkinnedScrollBars(list_), 1);
    SkinnedScrollWindow* first = Record();
    const WNDPROC previous = first->previousWindowProcedure;
    first->vertical.style = kBarStyleFlatHover;
    EXPECT_EQ(AttachSkinnedScrollBars(list_), 0);
    EXPECT_EQ(Record(), first);
    EXPECT_EQ(first->previousWindowProcedure, previous);
    EXPECT_EQ(first->vertical.style, kBarStyleFlatHover);
    EXPECT_EQ(DetachSkinnedScrollBars(list_), 0);
}

TEST_F(ScrollBarsTest, SizesAreCheckedAndApplied) {
    CreateList(WS_VSCROLL | WS_HSCROLL);
    EXPECT_EQ(SetSkinnedScrollBarSize(list_, 3, 16, 16), 0);  // not attached
    EXPECT_EQ(SetSkinnedScrollBarStyle(list_, 3, 1), 0);
    ASSERT_EQ(AttachSkinnedScrollBars(list_), 1);
    SkinnedScrollWindow* r = Record();

    for (int bad : {0, -9, 257, -1000}) {
        EXPECT_EQ(SetSkinnedScrollBarSize(list_, 3, bad, 16), 0) << bad;
        EXPECT_EQ(SetSkinnedScrollBarSize(list_, 3, 16, bad), 0) << bad;
    }
    EXPECT_EQ(r->vertical.arrowLength, -1);
    EXPECT_EQ(r->vertical.thickness, -1);

    EXPECT_EQ(SetSkinnedScrollBarSize(list_, 1, 20, 10), 1);
    EXPECT_EQ(r->vertical.arrowLength, 20);
    EXPECT_EQ(r->vertical.thickness, 10);
    EXPECT_EQ(r->horizontal.thickness, -1);
    EXPECT_EQ(ClientInWindow().right, 199 - 10);  // applied at once

    EXPECT_EQ(SetSkinnedScrollBarSize(list_, 0, -8, -2), 1);
    EXPECT_EQ(r->horizontal.arrowLength, -8);
    EXPECT_EQ(r->horizontal.thickness, -2);
    EXPECT_EQ(ClientInWindow().bottom, 199 - 2 * GetSystemMetrics(SM_CYHSCROLL));

    EXPECT_EQ(SetSkinnedScrollBarSize(list_, 2, 30, 30), 1);  // neither bar
    EXPECT_EQ(r->horizontal.arrowLength, -8);
    EXPECT_EQ(r->vertical.arrowLength, 20);

    EXPECT_EQ(SetSkinnedScrollBarSize(list_, 3, 256, 16), 1);
    EXPECT_EQ(r->horizontal.arrowLength, 256);
    EXPECT_EQ(r->vertical.arrowLength, 256);
    EXPECT_EQ(ClientInWindow().right, 199 - 16);
    EXPECT_EQ(ClientInWindow().bottom, 199 - 16);
}

TEST_F(ScrollBarsTest, StyleIsSetAndTheFrameRepainted) {
    CreateList(WS_VSCROLL | WS_HSCROLL);
    InstallBeneath();
    ASSERT_EQ(AttachSkinnedScrollBars(list_), 1);
    g_beneath.Clear();
    EXPECT_EQ(SetSkinnedScrollBarStyle(list_, 1, kBarStyleFlat), 1);
    EXPECT_EQ(Record()->vertical.style, kBarStyleFlat);
    EXPECT_EQ(Record()->horizontal.style, kBarStyleRaised);
    ASSERT_EQ(CountBeneath(WM_NCPAINT), 1);
    EXPECT_TRUE(g_beneath.Matches({{WM_NCPAINT, kWParam, 1, 0}}));
    EXPECT_EQ(SetSkinnedScrollBarStyle(list_, 3, kBarStyleFlatHover), 1);
    EXPECT_EQ(Record()->horizontal.style, kBarStyleFlatHover);
    EXPECT_EQ(Record()->vertical.style, kBarStyleFlatHover);
}

TEST_F(ScrollBarsTest, DetachRestoresTheProcedureAndTheSystemBars) {
    CreateList(WS_VSCROLL | WS_HSCROLL);
    EXPECT_EQ(DetachSkinnedScrollBars(list_), static_cast<int>(E_FAIL));
    const LONG own = GetWindowLongA(list_, GWL_WNDPROC);
    ASSERT_EQ(AttachSkinnedScrollBars(list_), 1);
    ASSERT_EQ(SetSkinnedScrollBarSize(list_, 3, 16, 5), 1);
    EXPECT_EQ(ClientInWindow().right, 199 - 5);

    EXPECT_EQ(DetachSkinnedScrollBars(list_), 0);
    EXPECT_EQ(HasSkinnedScrollBars(list_), 0);
    EXPECT_EQ(GetWindowLongA(list_, GWL_WNDPROC), own);
    // The system's own bars are back, with their own thickness.
    EXPECT_EQ(ClientInWindow().right, 199 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(ClientInWindow().bottom, 199 - GetSystemMetrics(SM_CYHSCROLL));
    EXPECT_EQ(DetachSkinnedScrollBars(list_), static_cast<int>(E_FAIL));
    // Attaching again works.
    EXPECT_EQ(AttachSkinnedScrollBars(list_), 1);
}

TEST_F(ScrollBarsTest, ScrollStylesAreHiddenFromThePreviousProcedure) {
    CreateList(WS_VSCROLL | WS_HSCROLL);
    InstallBeneath();
    ASSERT_EQ(AttachSkinnedScrollBars(list_), 1);
    ASSERT_EQ(SetSkinnedScrollBarSize(list_, 3, 16, 16), 1);
    g_beneath.Clear();
    SetWindowPos(list_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SendMessageA(list_, WM_NCPAINT, 1, 0);

    ASSERT_GE(CountBeneath(WM_NCCALCSIZE), 1);
    ASSERT_GE(CountBeneath(WM_NCPAINT), 1);
    EXPECT_GE(CountBeneath(WM_STYLECHANGING), 1);  // the style really was changed
    EXPECT_EQ(CountBeneath(WM_STYLECHANGED), 0);    // but the list never heard of it
    for (const ReceivedMessage& m : g_beneath.Received()) {
        if (m.message == WM_NCCALCSIZE || m.message == WM_NCPAINT) {
            EXPECT_EQ(m.style & kBothStyles, 0) << m.message;
        }
    }
    EXPECT_EQ(GetWindowLongA(list_, GWL_STYLE) & kBothStyles, kBothStyles);
    EXPECT_EQ(Record()->suppressStyleChange, 0);

    // The system never lays out bars of its own: only the skinned ones take room.
    RECT window;
    GetWindowRect(list_, &window);
    RECT client;
    GetClientRect(list_, &client);
    EXPECT_EQ(client.right, (window.right - window.left) - 2 - 16);
    EXPECT_EQ(client.bottom, (window.bottom - window.top) - 2 - 16);
    // Not even after the list has set its own scroll ranges.
    for (int i = 0; i < 40; ++i)
        SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a rather long line of text in the list"));
    SendMessageA(list_, LB_SETHORIZONTALEXTENT, 600, 0);
    Pump();
    GetClientRect(list_, &client);
    EXPECT_EQ(client.right, 200 - 2 - 16);
    EXPECT_EQ(client.bottom, 200 - 2 - 16);
}

TEST_F(ScrollBarsTest, StyleChangesOutsideTheLayoutPassOn) {
    CreateList(WS_VSCROLL | WS_HSCROLL);
    InstallBeneath();
    ASSERT_EQ(AttachSkinnedScrollBars(list_), 1);
    ASSERT_EQ(SetSkinnedScrollBarSize(list_, 3, 16, 16), 1);
    g_beneath.Clear();

    SetWindowLongA(list_, GWL_EXSTYLE, GetWindowLongA(list_, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
    EXPECT_EQ(CountBeneath(WM_STYLECHANGED), 1);
    EXPECT_EQ(Record()->leftScrollBar, 1);
    SetWindowPos(list_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RECT client = ClientInWindow();
    EXPECT_EQ(client.left, 1 + 16);
    EXPECT_EQ(client.right, 199);

    SetWindowLongA(list_, GWL_STYLE, GetWindowLongA(list_, GWL_STYLE) | LBS_NOTIFY);
    EXPECT_EQ(Record()->leftScrollBar, 1);  // only the extended style decides
    SetWindowLongA(list_, GWL_EXSTYLE, GetWindowLongA(list_, GWL_EXSTYLE) & ~WS_EX_LEFTSCROLLBAR);
    EXPECT_EQ(Record()->leftScrollBar, 0);
    EXPECT_EQ(CountBeneath(WM_STYLECHANGED), 3);
}

TEST_F(ScrollBarsTest, LeftScrollBarIsTakenAtAttach) {
    CreateList(WS_VSCROLL | WS_HSCROLL, WS_EX_LEFTSCROLLBAR);
    ASSERT_EQ(AttachSkinnedScrollBars(list_), 1);
    EXPECT_EQ(Record()->leftScrollBar, 1);
    ASSERT_EQ(SetSkinnedScrollBarSize(list_, 3, 16, 16), 1);
    const RECT client = ClientInWindow();
    EXPECT_EQ(client.left, 17);
    EXPECT_EQ(client.right, 199);
}

TEST_F(ScrollBarsTest, BarButtonsOtherThanTheLeftAreSwallowed) {
    CreateList(WS_VSCROLL | WS_HSCROLL);
    InstallBeneath();
    ASSERT_EQ(AttachSkinnedScrollBars(list_), 1);
    g_beneath.Clear();
    for (UINT message : {WM_NCRBUTTONDOWN, WM_NCRBUTTONUP, WM_NCMBUTTONDOWN, WM_NCMBUTTONUP}) {
        EXPECT_EQ(SendMessageA(list_, message, HTVSCROLL, MAKELPARAM(200, 100)), 0);
        SendMessageA(list_, message, HTHSCROLL, MAKELPARAM(100, 250));
        EXPECT_EQ(CountBeneath(message), 0);
        SendMessageA(list_, message, HTBORDER, MAKELPARAM(60, 60));
        EXPECT_EQ(CountBeneath(message), 1);
    }
    // Messages of the mouse interaction still reach the list unchanged.
    SendMessageA(list_, WM_NCHITTEST, 0, MAKELPARAM(70, 70));
    EXPECT_EQ(CountBeneath(WM_NCHITTEST), 1);
}

TEST_F(ScrollBarsTest, DestroyingTheWindowDetaches) {
    CreateList(WS_VSCROLL | WS_HSCROLL);
    InstallBeneath();
    ASSERT_EQ(AttachSkinnedScrollBars(list_), 1);
    g_beneath.Clear();
    DestroyWindow(list_);
    ASSERT_EQ(CountBeneath(WM_NCDESTROY), 1);
    for (const ReceivedMessage& m : g_beneath.Of(WM_NCDESTROY)) EXPECT_FALSE(m.note);
    list_ = nullptr;
}

}  // namespace
}  // namespace scrolltest
