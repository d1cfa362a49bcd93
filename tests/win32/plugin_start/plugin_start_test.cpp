// Start-up against a host window of the test's own: settings folders the
// plugin folder cannot hold, the menu entry's position rules.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "host/plugin.h"
#include "tests/support/message_box_recorder.h"

namespace {

constexpr LRESULT kAnsweredVersion = 0x5666;
std::string g_settings;
HMENU g_menu = nullptr;
int g_frameRequests = 0;

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    if (message == kHostRequestMessage) {
        switch (second) {
        case kHostRequestVersion: return kAnsweredVersion;
        case kHostRequestSettingsFolder: return reinterpret_cast<LRESULT>(g_settings.c_str());
        case kHostRequestMainMenu: return reinterpret_cast<LRESULT>(g_menu);
        case kHostRequestEmbeddedFrame: ++g_frameRequests; return 0;
        default: return 0;
        }
    }
    return DefWindowProcA(hwnd, message, first, second);
}

class PluginStart : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "PluginStartHost";
        RegisterClassA(&wc);
        host = CreateWindowExA(0, "PluginStartHost", "host", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                               wc.hInstance, nullptr);
        g_frameRequests = 0;
    }
    void TearDown() override {
        plugin.ReleaseHostWindows();
        DestroyWindow(host);
        if (g_menu) DestroyMenu(g_menu);
        g_menu = nullptr;
    }
    HWND host = nullptr;
    CPlugin plugin;
};

HMENU MenuOf(std::initializer_list<int> ids) {
    HMENU menu = CreateMenu();
    for (int id : ids) {
        if (id == 0) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        else if (id < 0) AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "sub");
        else AppendMenuA(menu, MF_STRING, id, "item");
    }
    return menu;
}

}  // namespace

TEST_F(PluginStart, ASettingsFolderTooLongForThePluginFolderFailsStartUp) {
    // 238 characters fit with "\plugins\gen_ondaria\" in 259; 239 do not.
    g_settings = "C:\\" + std::string(235, 'a');
    ASSERT_EQ(g_settings.size(), 238u);
    {
        MessageBoxRecorder boxes;
        EXPECT_EQ(plugin.Start(host, GetModuleHandleA(nullptr)), 0);   // no frame from this host
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(g_frameRequests, 1);
        ASSERT_NE(plugin.pluginFolder, nullptr);
        EXPECT_EQ(std::string(plugin.pluginFolder), g_settings + "\\plugins\\gen_ondaria\\");
    }
    plugin.ReleaseHostWindows();
    CPlugin second;
    g_settings += "a";
    MessageBoxRecorder boxes;
    EXPECT_EQ(second.Start(host, GetModuleHandleA(nullptr)), 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Winamp n'a pas r\xE9ussi \xE0 initialiser le plugin !");
    EXPECT_EQ(boxes.boxes[0].caption, "Ondaria");
    EXPECT_EQ(boxes.boxes[0].icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(g_frameRequests, 1);   // stopped before asking for a frame
    EXPECT_EQ(second.pluginFolder, nullptr);
    second.ReleaseHostWindows();
}

TEST_F(PluginStart, TheMenuEntryGoesBeforeTheLastItemOfTheRunFrom40258) {
    plugin.winamp.Subclass(host);
    // The anchor, a separator and an item, then a submenu: the entry lands before the item.
    g_menu = MenuOf({1, -1, kHostMenuAnchor, 0, 2, -1, 3});
    ASSERT_EQ(plugin.InsertMenuEntry("Ondaria\tAlt+R"), 1);
    EXPECT_EQ(GetMenuItemID(g_menu, 4), 103u);
    EXPECT_EQ(GetMenuItemID(g_menu, 5), 2u);
    char text[64] = {0};
    GetMenuStringA(g_menu, 4, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Ondaria\tAlt+R");
    ASSERT_EQ(plugin.RemoveMenuEntry(), 1);
    EXPECT_EQ(GetMenuItemCount(g_menu), 7);
    DestroyMenu(g_menu);

    // The anchor last of all: the entry goes just before it.
    g_menu = MenuOf({1, -1, kHostMenuAnchor});
    plugin.InsertMenuEntry("x");
    EXPECT_EQ(GetMenuItemID(g_menu, 2), 103u);
    EXPECT_EQ(GetMenuItemID(g_menu, 3), 40258u);
    DestroyMenu(g_menu);

    // No anchor, or no menu at all: nothing is inserted.
    g_menu = MenuOf({1, 2});
    EXPECT_EQ(plugin.InsertMenuEntry("x"), 0);
    EXPECT_EQ(GetMenuItemCount(g_menu), 2);
    DestroyMenu(g_menu);
    g_menu = nullptr;
    EXPECT_EQ(plugin.InsertMenuEntry("x"), 0);
}

namespace {
WNDPROC g_beneath = nullptr;
LRESULT CALLBACK OverPlugin(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    return CallWindowProcA(g_beneath, hwnd, message, first, second);
}
}  // namespace

TEST_F(PluginStart, ProceduresInstalledOverThePluginsLeaveItOnTheWindow) {
    LONG hostProc = GetWindowLongA(host, GWL_WNDPROC);
    plugin.winamp.Subclass(host);
    plugin.ReleaseHostWindows();
    EXPECT_EQ(GetWindowLongA(host, GWL_WNDPROC), hostProc);   // ours was on top: taken off

    CPlugin other;
    other.winamp.Subclass(host);
    g_beneath = reinterpret_cast<WNDPROC>(SetWindowLongA(host, GWL_WNDPROC, reinterpret_cast<LONG>(OverPlugin)));
    other.ReleaseHostWindows();
    // Ours stays in the chain under the other one and still forwards to the
    // host's procedure, with nothing of the plugin behind it any more.
    EXPECT_EQ(GetWindowLongA(host, GWL_WNDPROC), reinterpret_cast<LONG>(OverPlugin));
    EXPECT_EQ(SendMessageA(host, kHostRequestMessage, 0, kHostRequestVersion), kAnsweredVersion);
    EXPECT_EQ(other.winamp.owner, nullptr);
    SendMessageA(host, WM_COMMAND, kPluginMenuCommand, 0);   // no panel to show, nothing happens
    SendMessageA(host, WM_KEYDOWN, VK_MENU, 0);
    SendMessageA(host, WM_KEYDOWN, 'R', 0);
    SendMessageA(host, WM_KEYUP, 'R', 0);
    SendMessageA(host, WM_KEYUP, VK_MENU, 0);
    EXPECT_TRUE(other.LeftProcedureBehind());
    SetWindowLongA(host, GWL_WNDPROC, reinterpret_cast<LONG>(g_beneath));
    other.winamp.Unsubclass();
}
