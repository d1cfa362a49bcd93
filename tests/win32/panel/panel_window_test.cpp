// The panel dialog from template 101 driven in-process: fonts, layout,
// command routing, skin changes, borders and focus.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "host/plugin.h"
#include "panel/dialog_skin.h"

namespace {

// A host window that answers the skin request with a bitmap whose item
// background slot (0) and SkinColourName::divider slot (5) are known.
COLORREF g_slot0 = RGB(10, 20, 30);
int g_skinRequests = 0;

HBITMAP MakeSkin() {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 120;
    info.bmiHeader.biHeight = -30;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* p = static_cast<DWORD*>(bits);
    for (int i = 0; i < 120 * 30; ++i) p[i] = 0x00808080;   // reference and undefined slots alike
    auto put = [&](int x, COLORREF c) { p[x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); };
    put(111, RGB(1, 1, 1));
    for (int i = 0; i < 22; ++i) put(48 + 2 * i, RGB(40 + i, 50 + i, 60 + i));
    put(48, g_slot0);
    put(48 + 2 * 5, RGB(250, 0, 250));
    put(48 + 2 * 2, RGB(0, 90, 0));
    return bitmap;
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    if (message == kHostRequestMessage && second == kHostRequestSkinBitmap) {
        ++g_skinRequests;
        return reinterpret_cast<LRESULT>(MakeSkin());
    }
    return DefWindowProcA(hwnd, message, first, second);
}

// Records show commands reaching the panel.
std::vector<WPARAM> g_panelShows;
HWND g_panel = nullptr;
HHOOK g_hook = nullptr;
LRESULT CALLBACK WatchShows(int code, WPARAM first, LPARAM second) {
    auto* message = reinterpret_cast<CWPSTRUCT*>(second);
    if (code == HC_ACTION && message->hwnd == g_panel && message->message == WM_SHOWWINDOW) {
        g_panelShows.push_back(message->wParam);
    }
    return CallNextHookEx(nullptr, code, first, second);
}

class PanelWindow : public ::testing::Test {
protected:
    void SetUp() override {
        HINSTANCE module = GetModuleHandleA(nullptr);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = module;
        wc.lpszClassName = "PanelTestHost";
        RegisterClassA(&wc);
        host = CreateWindowExA(0, "PanelTestHost", "host", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, module, nullptr);
        frame = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 50, 50, 420, 640, nullptr,
                                nullptr, module, nullptr);
        plugin.parentWindow = host;
        plugin.instance = module;
        g_skinRequests = 0;
        panel = CreateDialogParamA(module, MAKEINTRESOURCEA(101), frame, &CPlugin::PanelDialogProc,
                                   reinterpret_cast<LPARAM>(&plugin));
        ASSERT_NE(panel, nullptr);
        MoveWindow(panel, 0, 0, 400, 600, TRUE);
        plugin.listBox = GetDlgItem(panel, 1001);
        plugin.view.Subclass(plugin.listBox);
        plugin.browserHost = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, panel, nullptr,
                                             module, nullptr);
        plugin.preferences.Create(108, &plugin, &CDialog::ModelessDialogProc);
        plugin.readme.Create(107, &plugin, &CDialog::ModelessDialogProc);
        g_panel = panel;
    }
    void TearDown() override {
        plugin.showState = 0;   // nothing to write at teardown
        if (IsWindow(panel)) DestroyWindow(panel);
        DestroyWindow(frame);
        DestroyWindow(host);
        if (g_hook) UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
    }
    RECT ControlRect(HWND control) {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    void ExpectAt(HWND control, int x, int y, int w, int h) {
        RECT r = ControlRect(control);
        EXPECT_EQ(r.left, x);
        EXPECT_EQ(r.top, y);
        EXPECT_EQ(r.right - r.left, w);
        EXPECT_EQ(r.bottom - r.top, h);
    }

    CPlugin plugin;
    HWND host = nullptr;
    HWND frame = nullptr;
    HWND panel = nullptr;
};

void ExpectFont(HFONT font, int height, int weight) {
    LOGFONTA f = {};
    ASSERT_EQ(GetObjectA(font, sizeof f, &f), static_cast<int>(sizeof f));
    EXPECT_STREQ(f.lfFaceName, "Arial");
    EXPECT_EQ(f.lfHeight, height);
    EXPECT_EQ(f.lfWidth, 0);
    EXPECT_EQ(f.lfWeight, weight);
    EXPECT_FALSE(f.lfItalic || f.lfUnderline || f.lfStrikeOut);
    EXPECT_EQ(f.lfCharSet, 0);
    EXPECT_EQ(f.lfPitchAndFamily, 16);
}

}  // namespace

TEST_F(PanelWindow, InitDialogReadsTheSkinAndMakesTheThreeFonts) {
    EXPECT_EQ(g_skinRequests, 1);
    EXPECT_EQ(SkinColour(SkinColourName::itemBackground), g_slot0);
    ExpectFont(plugin.badgeFont, 12, 400);
    ExpectFont(plugin.sloganFont, 14, 400);
    ExpectFont(plugin.titleFont, 16, 700);
    HFONT title = plugin.titleFont;
    plugin.showState = 0;
    DestroyWindow(panel);
    EXPECT_EQ(plugin.titleFont, nullptr);
    EXPECT_EQ(GetObjectType(title), 0u);   // deleted with the panel
    EXPECT_EQ(HeldSkinBitmap(), nullptr);
}

TEST_F(PanelWindow, SizeLaysOutEveryControl) {
    SendMessageA(panel, WM_SIZE, 0, MAKELPARAM(400, 600));
    ExpectAt(GetDlgItem(panel, 1001), 0, 28, 400, 314);
    ExpectAt(plugin.browserHost, 50, 346, 300, 250);
    ExpectAt(GetDlgItem(panel, 1003), 4, 4, 50, 20);
    ExpectAt(GetDlgItem(panel, 1002), 58, 4, 50, 20);
    EXPECT_EQ(ControlRect(GetDlgItem(panel, 1005)).left, 112);
    EXPECT_EQ(ControlRect(GetDlgItem(panel, 1005)).right - ControlRect(GetDlgItem(panel, 1005)).left, 90);
    ExpectAt(GetDlgItem(panel, 1006), 206, 4, 184, 20);

    SendMessageA(panel, WM_SIZE, 0, MAKELPARAM(401, 600));
    EXPECT_EQ(ControlRect(plugin.browserHost).left, 50);

    // A zero width or height lays out from the current client rectangle.
    RECT client;
    GetClientRect(panel, &client);
    SendMessageA(panel, WM_SIZE, 0, MAKELPARAM(0, 600));
    ExpectAt(GetDlgItem(panel, 1001), 0, 28, client.right, client.bottom - 286);
}

TEST_F(PanelWindow, ButtonsShowTheReadmeAndThePreferencesWithoutToggling) {
    SendMessageA(panel, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(panel, 1003)));
    EXPECT_TRUE(IsWindowVisible(plugin.readme.window));
    for (int i = 0; i < 2; ++i) {
        SendMessageA(panel, WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(panel, 1002)));
        EXPECT_TRUE(IsWindowVisible(plugin.preferences.window));
    }
    EXPECT_TRUE(IsWindow(panel));   // commands never end the panel
}

TEST_F(PanelWindow, ASkinChangeRepaintsThePanelAScreenChangeDoesNot) {
    g_hook = SetWindowsHookExA(WH_CALLWNDPROC, &WatchShows, nullptr, GetCurrentThreadId());
    plugin.showState = 5;
    g_slot0 = RGB(90, 80, 70);
    SendMessageA(panel, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));
    EXPECT_EQ(g_skinRequests, 2);
    EXPECT_EQ(SkinColour(SkinColourName::itemBackground), RGB(90, 80, 70));
    EXPECT_EQ(plugin.view.backgroundColour, RGB(90, 80, 70));
    EXPECT_TRUE(g_panelShows.empty());

    g_slot0 = RGB(10, 20, 30);
    SendMessageA(panel, WM_DISPLAYCHANGE, 32, 0);
    EXPECT_EQ(g_skinRequests, 3);
    EXPECT_EQ(plugin.view.backgroundColour, RGB(10, 20, 30));
    EXPECT_EQ(g_panelShows, (std::vector<WPARAM>{FALSE, TRUE}));
    EXPECT_TRUE(IsWindowVisible(panel));
    EXPECT_EQ(plugin.showState, 5);
}

TEST_F(PanelWindow, PaintDrawsTheListBorderInTheDividerColour) {
    SendMessageA(panel, WM_SIZE, 0, MAKELPARAM(400, 600));
    RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT list = ControlRect(GetDlgItem(panel, 1001));
    HDC dc = GetDC(panel);
    // The list spans the full width, so only its bottom line is inside the panel.
    EXPECT_EQ(GetPixel(dc, 100, list.bottom), RGB(250, 0, 250));
    EXPECT_EQ(GetPixel(dc, 100, list.bottom + 1), RGB(0, 90, 0));   // the rest in the window colour
    ReleaseDC(panel, dc);
}

TEST_F(PanelWindow, FocusAndClicksOnThePanelGoToTheList) {
    SetForegroundWindow(frame);
    SetFocus(GetDlgItem(panel, 1006));
    SendMessageA(panel, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(GetFocus(), plugin.listBox);
    SetFocus(GetDlgItem(panel, 1006));
    SendMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 10));
    EXPECT_EQ(GetFocus(), plugin.listBox);
}
