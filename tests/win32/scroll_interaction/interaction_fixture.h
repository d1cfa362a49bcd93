// A real list box with skinned bars in a real parent window, driven with
// real mouse messages and timers. A recorder beneath the skinned procedure
// sees what the list box would see: the scroll messages sent to the window
// and every message passed on. It stands in for the list box's answer to a
// scroll message by storing the new position with SkinnedSetScrollInfo, as
// the list box will once its calls are redirected.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "scrollbars/skinned_scroll_bars.h"
#include "tests/support/message_sequence.h"

namespace interactiontest {

struct ScrollRequest {
    UINT message;  // WM_HSCROLL or WM_VSCROLL
    int code;
    int position;  // the high word, signed
};

struct Notification {
    NMSKINSCROLLDRAW draw;
};

class InteractionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Parent client at (50, 50) on the screen; the list at (10, 10) in it,
    // 200x200 with a 1-pixel border and 16-pixel bars, vertical range
    // 0..99, page 10, position 0 (and the same horizontally when wanted).
    // Vertical bar on the screen: x 243..259, y 61..259 (no horizontal bar);
    // its track is y 77..243 and a thumb of 17 pixels starts at
    // 77 + MulDiv(pos, 149, 90).
    void CreateList(DWORD scrollStyles = WS_VSCROLL);
    void SetVertical(int nMin, int nMax, UINT nPage, int nPos);

    SkinnedScrollWindow* Record() const { return FindSkinnedScrollWindow(list_); }
    RECT VerticalBar() const;    // screen
    RECT HorizontalBar() const;  // screen
    POINT InVertical(int y) const;  // centre of the vertical bar at screen y
    int ThumbTop() const;           // screen y of the vertical thumb from the record

    // Mouse input: the cursor is put where the message says, and the message
    // is posted and dispatched, so that positions read by any means agree.
    // Moving the cursor makes the system send a mouse message of its own
    // (without button flags); the test's WM_MOUSEMOVE carries MK_LBUTTON.
    void PlaceCursor(POINT screen);
    LRESULT HitTest(POINT screen);
    void NcMessage(UINT message, WPARAM hitCode, POINT screen);
    void NcPress(POINT screen);  // WM_NCHITTEST, then WM_NCLBUTTONDOWN with its answer
    void MoveTo(POINT screen);   // WM_MOUSEMOVE in client coordinates
    void Release(POINT screen);  // WM_LBUTTONUP in client coordinates

    void Pump();
    void PumpFor(DWORD milliseconds);
    // Pumps until `done` holds or `limit` milliseconds have passed.
    bool PumpUntil(const std::function<bool()>& done, DWORD limit);

    std::vector<ScrollRequest> Requests() const;
    std::vector<int> Codes() const;
    int CountPassedOn(UINT message, WPARAM first) const;
    int CountPassedOn(UINT message) const;
    // State of the last item notification for `item` of the vertical bar, or 0.
    UINT LastState(UINT item) const;
    const NMSKINSCROLLDRAW* LastItem(UINT bar, UINT item) const;

    static HWND sharedParent_;
    HWND parent_ = nullptr;
    HWND list_ = nullptr;
};

// Filled by the recorder and the parent.
extern std::vector<ScrollRequest> g_requests;
// What the skinned bars passed on to the list box's own procedure.
extern MessageSequence g_passedOn;
extern std::vector<Notification> g_notifications;
extern bool g_parentPaints;  // the parent answers 4 to every pre-paint stage

}  // namespace interactiontest
