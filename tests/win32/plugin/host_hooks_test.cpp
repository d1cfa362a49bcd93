// The plugin on the host's windows: Alt+R, the menu entry, the frame.
#include <cstring>

#include "resources/resource_ids.h"
#include "tests/support/message_sequence.h"
#include "tests/win32/plugin/plugin_host_fixture.h"

namespace {

void Key(HWND window, UINT message, WPARAM key) { SendMessageA(window, message, key, 0); }

std::string MenuText(HMENU menu, int position) {
    char text[128] = {0};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

int PositionOf(HMENU menu, UINT id) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (GetMenuItemID(menu, i) == id) return i;
    }
    return -1;
}

// Sits beneath the plugin's procedure on a host window.
WNDPROC g_original = nullptr;
MessageSequence g_commandsSeen;
LRESULT CALLBACK CommandRecorder(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    g_commandsSeen.Add(hwnd, message, first, second);
    return CallWindowProcA(g_original, hwnd, message, first, second);
}

}  // namespace

TEST_F(PluginHostTest, AltRAndAltF3ToggleThePanelAndTheMenuEntryFollowsTheFrame) {
    Start();
    HWND main = host->MainWindow();
    HMENU menu = host->MainMenu();
    int anchor = PositionOf(menu, kHostMenuAnchor);
    ASSERT_GE(anchor, 0);
    ASSERT_EQ(PositionOf(menu, kPluginMenuCommand), -1);

    Key(main, WM_KEYDOWN, VK_MENU);
    Key(main, WM_KEYDOWN, 'R');
    EXPECT_FALSE(IsWindowVisible(Frame()));
    EXPECT_FALSE(IsWindowVisible(Panel()));
    // The entry goes just before the last item of the run that starts at the anchor.
    int entry = PositionOf(menu, kPluginMenuCommand);
    EXPECT_EQ(MenuText(menu, entry), "Ondaria 2b\tAlt+R");
    int q = anchor + 1;
    while (GetMenuItemID(menu, q) != static_cast<UINT>(-1) || q == entry) ++q;
    EXPECT_EQ(entry, q - 2);   // q counted the entry itself
    Key(main, WM_KEYUP, 'R');
    Key(main, WM_KEYDOWN, VK_F3);   // Alt still held
    EXPECT_TRUE(IsWindowVisible(Frame()));
    EXPECT_TRUE(IsWindowVisible(Panel()));
    EXPECT_EQ(PositionOf(menu, kPluginMenuCommand), -1);
    Key(main, WM_KEYUP, VK_F3);
    Key(main, WM_KEYUP, VK_MENU);

    // The host still saw every key.
    int keys = 0;
    for (const standin::LogEntry& e : host->Log()) keys += e.kind == standin::LogEntry::Key;
    EXPECT_EQ(keys, 6);
}

TEST_F(PluginHostTest, TheShortcutNeedsBothKeysDownInEitherOrder) {
    Start();
    HWND main = host->MainWindow();
    Key(main, WM_KEYDOWN, 'R');
    EXPECT_TRUE(IsWindowVisible(Frame()));
    Key(main, WM_KEYDOWN, VK_MENU);   // R held, then Alt
    EXPECT_FALSE(IsWindowVisible(Frame()));
    Key(main, WM_KEYUP, 'R');
    Key(main, WM_KEYUP, VK_MENU);
    Key(main, WM_KEYDOWN, 'R');       // Alt released before R: disarmed
    EXPECT_FALSE(IsWindowVisible(Frame()));
    Key(main, WM_KEYUP, 'R');
    // With Alt held the system sends system keys; they work the same.
    Key(main, WM_SYSKEYDOWN, VK_MENU);
    Key(main, WM_SYSKEYDOWN, 'R');
    EXPECT_TRUE(IsWindowVisible(Frame()));
    Key(main, WM_SYSKEYUP, 'R');
    Key(main, WM_SYSKEYUP, VK_MENU);
}

TEST_F(PluginHostTest, TheMenuCommandShowsThePanelAndNeverReachesTheHost) {
    WriteSettings("GEN_ONDARIA_VISIBLE = 0\n");
    Start();
    EXPECT_FALSE(IsWindowVisible(Frame()));
    HMENU menu = host->MainMenu();
    int entry = PositionOf(menu, kPluginMenuCommand);
    ASSERT_GE(entry, 0);
    EXPECT_EQ(MenuText(menu, entry), "Ondaria\tAlt+R");
    SendMessageA(host->MainWindow(), WM_COMMAND, kPluginMenuCommand, 0);
    Pump();
    EXPECT_TRUE(IsWindowVisible(Frame()));
    EXPECT_TRUE(IsWindowVisible(Panel()));
    EXPECT_EQ(PositionOf(menu, kPluginMenuCommand), -1);
    for (const standin::LogEntry& e : host->Log()) {
        EXPECT_FALSE(e.kind == standin::LogEntry::Command && e.number == kPluginMenuCommand);
    }
    SendMessageA(host->MainWindow(), WM_COMMAND, 40041, 0);   // the host's own commands still arrive
    bool seen = false;
    for (const standin::LogEntry& e : host->Log()) seen |= e.kind == standin::LogEntry::Command && e.number == 40041;
    EXPECT_TRUE(seen);
}

TEST_F(PluginHostTest, OkAndCancelCommandsReachThePlaylistEditorAndTheFrame) {
    host = std::make_unique<standin::StandinHost>(options);
    HWND editor = host->PlaylistEditor();
    g_original = reinterpret_cast<WNDPROC>(SetWindowLongA(editor, GWL_WNDPROC, reinterpret_cast<LONG>(CommandRecorder)));
    g_commandsSeen.Clear();
    host->LoadPlugins();
    Pump();
    SendMessageA(editor, WM_COMMAND, IDOK, 0);
    SendMessageA(editor, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(g_commandsSeen.Matches({{WM_COMMAND, kWParam, IDOK, 0}, {WM_COMMAND, kWParam, IDCANCEL, 0}}));

    // The frame: what reaches the host's own frame procedure after ours.
    HWND frame = Frame();
    WNDPROC pluginProc = reinterpret_cast<WNDPROC>(GetWindowLongA(frame, GWL_WNDPROC));
    g_commandsSeen.Clear();
    SendMessageA(frame, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(IsWindowVisible(frame));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongA(frame, GWL_WNDPROC)), pluginProc);
    Stop();
    EXPECT_EQ(GetWindowLongA(editor, GWL_WNDPROC), reinterpret_cast<LONG>(CommandRecorder));
    SetWindowLongA(editor, GWL_WNDPROC, reinterpret_cast<LONG>(g_original));
}

TEST_F(PluginHostTest, MovingTheFrameIsRememberedForTheNextRun) {
    Start();
    SetWindowPos(Frame(), nullptr, 15, 25, 333, 444, SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    Stop();
    std::string settings = SettingsFileBytes();
    EXPECT_NE(settings.find("GEN_ONDARIA_WND_TOP = 25\r\nGEN_ONDARIA_WND_LEFT = 15\r\n"
                            "GEN_ONDARIA_WND_BOTTOM = 469\r\nGEN_ONDARIA_WND_RIGHT = 348\r\n"),
              std::string::npos)
        << settings;
    host.reset();
    Start();
    RECT r;
    GetWindowRect(Frame(), &r);
    EXPECT_EQ(r.left, 15);
    EXPECT_EQ(r.top, 25);
    EXPECT_EQ(r.right, 348);
    EXPECT_EQ(r.bottom, 469);
}

TEST_F(PluginHostTest, FocusGivenToTheFrameGoesToTheList) {
    Start();
    SetForegroundWindow(Frame());
    SendMessageA(Frame(), WM_SETFOCUS, 0, 0);
    Pump();
    EXPECT_EQ(GetFocus(), Control(IDC_STREAM_LIST));
}

namespace {
WNDPROC g_underOther = nullptr;
LRESULT CALLBACK OtherPluginProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    return CallWindowProcA(g_underOther, hwnd, message, first, second);
}
}  // namespace

TEST_F(PluginHostTest, AnotherSubclassOverThePluginKeepsTheLibraryLoadedAndTheHostWorking) {
    Start();
    HWND main = host->MainWindow();
    g_underOther = reinterpret_cast<WNDPROC>(SetWindowLongA(main, GWL_WNDPROC, reinterpret_cast<LONG>(OtherPluginProc)));
    Stop();   // the host pokes its windows after unloading: nothing may call freed code
    EXPECT_NE(GetModuleHandleA("gen_ondaria.dll"), nullptr);
    host->ClearLog();
    SendMessageA(main, WM_COMMAND, 40041, 0);
    EXPECT_EQ(SendMessageA(main, kHostRequestMessage, 0, kHostRequestVersion), kMinimumHostVersion);
    bool seen = false;
    for (const standin::LogEntry& e : host->Log()) seen |= e.kind == standin::LogEntry::Command && e.number == 40041;
    EXPECT_TRUE(seen);
    SetWindowLongA(main, GWL_WNDPROC, reinterpret_cast<LONG>(g_underOther));
}
