// The list's own scroll calls reach its skinned bars, through the real DLL.
#include <string>
#include <vector>

#include "catalogue/portable/search_modes.h"
#include "resources/resource_ids.h"
#include "tests/win32/plugin/plugin_host_fixture.h"

namespace {

SCROLLINFO VerticalInfo(HWND list) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(list, SB_VERT, &info);   // answered by the skinned bar
    return info;
}

std::vector<std::string> Names(int count, const char* stem) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back(stem + std::to_string(i));
    return names;
}

}  // namespace

TEST_F(PluginHostTest, TheSkinnedBarFollowsTheListAsItIsFilledSearchedAndScrolled) {
    std::vector<std::string> names = Names(20, "Jazz ");
    std::vector<std::string> more = Names(10, "Rock ");
    names.insert(names.end(), more.begin(), more.end());
    WriteList("Ondaria.rtv", names);
    Start();
    HWND list = Control(IDC_STREAM_LIST);
    RECT client;
    GetClientRect(list, &client);
    int visible = client.bottom / 56;
    ASSERT_GT(visible, 1);

    SCROLLINFO info = VerticalInfo(list);
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 29);
    EXPECT_EQ(static_cast<int>(info.nPage), visible);
    EXPECT_EQ(info.nPos, 0);

    // A search that leaves fewer rows than fit: nothing to scroll.
    SetWindowTextA(Control(IDC_SEARCH_EDIT), "5");   // Jazz 5, Jazz 15, Rock 5
    SendMessageA(Panel(), WM_COMMAND, MAKEWPARAM(IDC_SEARCH_EDIT, EN_CHANGE), reinterpret_cast<LPARAM>(Control(IDC_SEARCH_EDIT)));
    Pump();
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    info = VerticalInfo(list);
    EXPECT_LE(info.nMax - info.nMin + 1, static_cast<int>(info.nPage));

    // Everything again, then the wheel and the keyboard move the position.
    SendMessageA(Control(IDC_SEARCH_MODE), CB_SETCURSEL, kShowAll, 0);
    SendMessageA(Panel(), WM_COMMAND, MAKEWPARAM(IDC_SEARCH_MODE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Control(IDC_SEARCH_MODE)));
    Pump();
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 30);
    EXPECT_EQ(VerticalInfo(list).nMax, 29);
    SendMessageA(list, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    Pump();
    EXPECT_GT(VerticalInfo(list).nPos, 0);
    EXPECT_EQ(VerticalInfo(list).nPos, SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    SetFocus(list);
    // With no row selected the first key only selects the caret's row.
    SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(list, WM_KEYDOWN, VK_END, 0);
    Pump();
    EXPECT_EQ(VerticalInfo(list).nPos, 30 - visible);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 30 - visible);
}

TEST_F(PluginHostTest, TheListNeverShowsSystemScrollBars) {
    WriteList("Ondaria.rtv", Names(40, "Station "));
    Start();
    HWND list = Control(IDC_STREAM_LIST);
    RECT window, client;
    GetWindowRect(list, &window);
    GetClientRect(list, &client);
    POINT origin = {0, 0};
    ClientToScreen(list, &origin);
    int border = origin.x - window.left;
    // Only the 16-pixel skinned bar takes room from the client area.
    EXPECT_EQ(window.right - window.left - 2 * border - client.right, 16);
    EXPECT_EQ(window.bottom - window.top - 2 * border, client.bottom);

    // The bar is painted in the list's skin shades, not in system colours.
    RedrawWindow(list, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetWindowDC(list);
    int barX = window.right - window.left - border - 8;
    COLORREF arrowFace = GetPixel(dc, barX - 5, border + 2);
    COLORREF track = GetPixel(dc, barX, window.bottom - window.top - border - 24);
    ReleaseDC(list, dc);
    EXPECT_NE(arrowFace, GetSysColor(COLOR_BTNFACE));
    EXPECT_NE(track, GetSysColor(COLOR_SCROLLBAR));
    EXPECT_NE(arrowFace, track);
}
