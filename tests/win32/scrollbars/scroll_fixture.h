// A real list box with both scroll styles in a real parent window, a
// recording subclass beneath the skinned bars, and the parent's record of
// the custom-draw notifications.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "scrollbars/skinned_scroll_bars.h"
#include "tests/support/message_sequence.h"

namespace scrolltest {

constexpr int kListId = 1001;

struct Notification {
    WPARAM wParam;
    NMSKINSCROLLDRAW draw;
};

// What the parent answers to the pre-paint stage, per bar.
extern LRESULT g_prePaintAnswer[2];
extern std::vector<Notification> g_notifications;
// What the list box itself received beneath the skinned bars; the note says
// whether the skinned bars' property was there.
extern MessageSequence g_beneath;
extern WNDPROC g_listProcedure;  // the list box's own procedure
LRESULT CALLBACK BeneathProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class ScrollBarsTest : public ::testing::Test {
protected:
    // One parent for a whole suite: top-level windows are slow to destroy
    // under Wine without a window manager.
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Parent 400x300 client at (50, 50) on the screen; the list at (10, 10), 200x200.
    static HWND sharedParent_;
    HWND parent_ = nullptr;
    HWND list_ = nullptr;

    void CreateList(DWORD style, DWORD exStyle = 0);
    void InstallBeneath();
    SkinnedScrollWindow* Record() const { return FindSkinnedScrollWindow(list_); }
    RECT ClientInWindow() const;  // the client rectangle in window coordinates
    void Pump();
    // Paints the non-client area now and forgets earlier notifications.
    void PaintNonClient();
    COLORREF Pixel(int x, int y) const;  // window coordinates of the list
    std::vector<COLORREF> Pixels(const RECT& r) const;
};

int Count(const std::vector<COLORREF>& pixels, COLORREF colour);

}  // namespace scrolltest
