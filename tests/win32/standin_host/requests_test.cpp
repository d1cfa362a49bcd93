// The stand-in host answers the main-window requests as a real host would.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/message_sequence.h"
#include "tests/support/test_folder.h"
#include "tools/skin_generator/skin_image.h"
#include "tools/standin_host/embedded_frame.h"
#include "tools/standin_host/standin_host.h"

namespace {

using standin::LogEntry;
using standin::StandinHost;

class HostRequests : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(skin::WriteSampleSkins(folder.Path()));
        standin::HostOptions options;
        options.settingsFolder = folder.Path() + "\\";
        options.skinImages = {folder.Path() + "\\skin_blue.bmp", folder.Path() + "\\skin_amber.bmp"};
        options.mainRect = {400, 50, 900, 650};
        host = std::make_unique<StandinHost>(options);
        ASSERT_TRUE(host->Created());
    }

    LRESULT Request(unsigned number, WPARAM argument = 0) {
        return SendMessageA(host->MainWindow(), kHostRequestMessage, argument, number);
    }

    LRESULT Copy(ULONG_PTR kind, const void* bytes, DWORD size) {
        COPYDATASTRUCT copy = {kind, size, const_cast<void*>(bytes)};
        return SendMessageA(host->MainWindow(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
    }

    HWND Frame(int left, int top, int right, int bottom) {
        alignas(8) unsigned char block[kFrameStateSize] = {};
        INT32 rect[4] = {left, top, right, bottom};
        std::memcpy(block + 8, rect, sizeof rect);
        return reinterpret_cast<HWND>(Request(kHostRequestEmbeddedFrame, reinterpret_cast<WPARAM>(block)));
    }

    TestFolder folder;
    std::unique_ptr<StandinHost> host;
};

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return colour;
}

TEST_F(HostRequests, AnswersVersionWindowsMenuAndSettingsFolder) {
    EXPECT_EQ(Request(kHostRequestVersion), standin::kDefaultVersion);
    host->SetVersion(0x208F);
    EXPECT_EQ(Request(kHostRequestVersion), 0x208F);

    HWND editor = reinterpret_cast<HWND>(Request(kHostRequestWindow, kHostWindowPlaylistEditor));
    ASSERT_TRUE(IsWindow(editor));
    EXPECT_EQ(editor, host->PlaylistEditor());
    HWND grandparent = GetParent(GetParent(editor));
    ASSERT_TRUE(IsWindow(grandparent));
    EXPECT_EQ(grandparent, host->PlaylistGrandparent());
    EXPECT_NE(grandparent, host->MainWindow());
    EXPECT_EQ(Request(kHostRequestWindow, 0), 0);

    EXPECT_EQ(reinterpret_cast<HMENU>(Request(kHostRequestMainMenu)), GetMenu(host->MainWindow()));

    const char* settings = reinterpret_cast<const char*>(Request(kHostRequestSettingsFolder));
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(std::string(settings), folder.Path());  // the trailing backslash is gone
    EXPECT_EQ(reinterpret_cast<const char*>(Request(kHostRequestSettingsFolder)), settings);
    DWORD attributes = GetFileAttributesA((folder.Path() + "\\plugins").c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));

    EXPECT_EQ(Request(9999, 5), 0);
}

TEST_F(HostRequests, LogsRequestsCopiesCommandsAndKeysInOrder) {
    host->ClearLog();
    Request(0);
    Request(kHostRequestWindow, kHostWindowPlaylistEditor);
    const char address[] = "http://radio.example/stream";
    Copy(kCopyDataAddToPlaylist, address, sizeof address);
    SendMessageA(host->MainWindow(), WM_COMMAND, 103, 0);
    SendMessageA(host->MainWindow(), WM_KEYDOWN, 'R', 1);
    Request(kHostRequestStartPlayback);

    const std::vector<LogEntry>& log = host->Log();
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[0].kind, LogEntry::Request);
    EXPECT_EQ(log[0].number, 0u);
    EXPECT_EQ(log[1].kind, LogEntry::Request);
    EXPECT_EQ(log[1].number, 260u);
    EXPECT_EQ(log[1].argument, 1u);
    EXPECT_EQ(log[2].kind, LogEntry::CopyData);
    EXPECT_EQ(log[2].number, 100u);
    EXPECT_EQ(log[2].argument, sizeof address);
    EXPECT_EQ(log[2].data, std::string(address, sizeof address));  // the NUL included
    EXPECT_EQ(log[3].kind, LogEntry::Command);
    EXPECT_EQ(log[3].number, 103u);
    EXPECT_EQ(log[4].kind, LogEntry::Key);
    EXPECT_EQ(log[4].number, static_cast<unsigned>(WM_KEYDOWN));
    EXPECT_EQ(log[4].argument, static_cast<UINT_PTR>('R'));
    EXPECT_EQ(log[5].number, 102u);
}

// A plugin subclassing the main window keeps its own command from the host:
// the log shows only what reaches the host's own procedure.
WNDPROC g_hostProc = nullptr;
LRESULT CALLBACK EatCommand103(HWND window, UINT message, WPARAM first, LPARAM second) {
    if (message == WM_COMMAND && LOWORD(first) == 103) return 0;
    return CallWindowProcA(g_hostProc, window, message, first, second);
}

TEST_F(HostRequests, CommandsStoppedByASubclassAreNotLogged) {
    HWND main = host->MainWindow();
    g_hostProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EatCommand103)));
    host->ClearLog();
    SendMessageA(main, WM_COMMAND, 103, 0);
    SendMessageA(main, WM_COMMAND, standin::kCommandMenuAnchor, 0);
    SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_hostProc));
    ASSERT_EQ(host->Log().size(), 1u);
    EXPECT_EQ(host->Log()[0].number, static_cast<unsigned>(standin::kCommandMenuAnchor));
}

TEST_F(HostRequests, FrameIsHiddenCaptionedResizableAndOwnedAtTheGivenRectangle) {
    HWND frame = Frame(60, 70, 380, 570);
    ASSERT_TRUE(IsWindow(frame));
    EXPECT_FALSE(IsWindowVisible(frame));
    RECT rect;
    GetWindowRect(frame, &rect);
    EXPECT_EQ(rect.left, 60);
    EXPECT_EQ(rect.top, 70);
    EXPECT_EQ(rect.right, 380);
    EXPECT_EQ(rect.bottom, 570);
    LONG style = GetWindowLongA(frame, GWL_STYLE);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_EQ(GetWindow(frame, GW_OWNER), host->MainWindow());
    ASSERT_EQ(host->Frames().size(), 1u);
    EXPECT_EQ(host->Frames()[0], frame);

    HWND second = Frame(0, 0, 200, 300);
    EXPECT_TRUE(IsWindow(second));
    EXPECT_NE(second, frame);
    EXPECT_EQ(Request(505, 0), 0);  // no block
    host->SetRefuseFrames(true);
    EXPECT_EQ(Frame(0, 0, 200, 300), nullptr);
    EXPECT_EQ(host->Frames().size(), 2u);
}

void ExpectFillsClient(HWND child, HWND frame) {
    RECT client, placed;
    GetClientRect(frame, &client);
    GetWindowRect(child, &placed);
    MapWindowPoints(HWND_DESKTOP, frame, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 0);
    EXPECT_EQ(placed.top, 0);
    EXPECT_EQ(placed.right, client.right);
    EXPECT_EQ(placed.bottom, client.bottom);
}

INT_PTR CALLBACK PlainDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST_F(HostRequests, FrameGivesDockedWindowsItsClientArea) {
    HWND frame = Frame(60, 70, 380, 570);
    ASSERT_TRUE(IsWindow(frame));
    // A child dialog, as a plugin docks its panel, created after the frame.
    struct alignas(4) {
        DLGTEMPLATE header;
        WORD menu, windowClass, title;
    } dialogTemplate = {};
    dialogTemplate.header.style = WS_CHILD;
    dialogTemplate.header.cx = 40;
    dialogTemplate.header.cy = 30;
    HWND panel = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &dialogTemplate.header, frame, PlainDialog, 0);
    ASSERT_TRUE(IsWindow(panel));
    ExpectFillsClient(panel, frame);

    SetWindowPos(frame, nullptr, 0, 0, 500, 420, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ExpectFillsClient(panel, frame);

    HWND later = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, frame, nullptr, nullptr, nullptr);
    ShowWindow(frame, SW_SHOWNOACTIVATE);
    ExpectFillsClient(later, frame);
    SendMessageA(frame, WM_CLOSE, 0, 0);  // closing hides, the plugin's windows stay
    EXPECT_FALSE(IsWindowVisible(frame));
    EXPECT_TRUE(IsWindow(panel));
}

TEST_F(HostRequests, SkinBitmapIsNewOnEveryRequestAndFollowsTheSkin) {
    HBITMAP first = reinterpret_cast<HBITMAP>(Request(503));
    HBITMAP second = reinterpret_cast<HBITMAP>(Request(503));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    BITMAP info;
    ASSERT_EQ(GetObjectA(first, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, skin::kImageWidth);
    EXPECT_EQ(info.bmHeight, skin::kImageHeight);
    EXPECT_EQ(PixelOf(first, skin::SlotX(0), 0), skin::BlueSkin().slots[0]);

    DeleteObject(first);  // the plugin deletes what it receives
    EXPECT_EQ(PixelOf(second, skin::SlotX(6), 0), skin::BlueSkin().slots[6]);
    DeleteObject(second);

    ASSERT_TRUE(host->SwitchSkin(1));
    EXPECT_EQ(host->CurrentSkin(), 1);
    HBITMAP amber = reinterpret_cast<HBITMAP>(Request(503));
    ASSERT_NE(amber, nullptr);
    EXPECT_EQ(PixelOf(amber, skin::SlotX(0), 0), skin::AmberSkin().slots[0]);
    DeleteObject(amber);
    EXPECT_EQ(host->SkinBitmapsHandedOut().size(), 3u);
    EXPECT_FALSE(host->SwitchSkin(2));
    EXPECT_EQ(host->CurrentSkin(), 1);
}

TEST(HostWithoutSkins, AnswersNoSkinBitmap) {
    TestFolder folder;
    standin::HostOptions options;
    options.settingsFolder = folder.Path();
    options.visible = false;
    StandinHost host(options);
    ASSERT_TRUE(host.Created());
    EXPECT_EQ(SendMessageA(host.MainWindow(), kHostRequestMessage, 0, kHostRequestSkinBitmap), 0);
}

MessageSequence g_seen;
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM first, LPARAM second) {
    g_seen.Add(window, message, first, second);
    return DefWindowProcA(window, message, first, second);
}

TEST_F(HostRequests, SkinSwitchSendsASizeLessDisplayChangeToDockedWindows) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "StandinTestRecorder";
    RegisterClassA(&wc);
    HWND frame = Frame(10, 10, 300, 400);
    HWND docked = CreateWindowExA(0, "StandinTestRecorder", "", WS_CHILD, 0, 0, 5, 5, frame, nullptr, nullptr, nullptr);
    HWND nested = CreateWindowExA(0, "StandinTestRecorder", "", WS_CHILD, 0, 0, 5, 5, docked, nullptr, nullptr, nullptr);
    ASSERT_TRUE(IsWindow(nested));
    g_seen.Clear();
    ASSERT_TRUE(host->SwitchSkin(1));
    HDC screen = GetDC(nullptr);
    WPARAM bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    // The docked window only, not its own children.
    EXPECT_TRUE(g_seen.Matches({{WM_DISPLAYCHANGE, kArguments, bits, 0}}));
    for (const ReceivedMessage& m : g_seen.Of(WM_DISPLAYCHANGE)) EXPECT_EQ(m.window, docked);
}

TEST_F(HostRequests, CopyDataFillsThePlaylistAndPlaybackMarksTheCurrentEntry) {
    const char first[] = "http://one.example/live";
    const char second[] = "mms://two.example/tv";
    Request(kHostRequestEmptyPlaylist);
    EXPECT_EQ(Copy(kCopyDataAddToPlaylist, first, sizeof first), TRUE);
    Request(kHostRequestStartPlayback);
    ASSERT_EQ(host->PlaylistEntries().size(), 1u);
    EXPECT_EQ(host->PlaylistEntries()[0], first);
    EXPECT_EQ(host->PlayingIndex(), 0);

    EXPECT_EQ(Copy(kCopyDataAddToPlaylist, second, sizeof second), TRUE);  // queued
    ASSERT_EQ(host->PlaylistEntries().size(), 2u);
    EXPECT_EQ(host->PlaylistEntries()[1], second);
    EXPECT_EQ(host->PlayingIndex(), 0);

    // The list box of the playlist editor shows the entries, the playing one marked.
    HWND list = GetWindow(host->PlaylistEditor(), GW_CHILD);
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
    char line[300] = {};
    SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line));
    EXPECT_NE(std::string(line).find("playing"), std::string::npos);
    EXPECT_NE(std::string(line).find(first), std::string::npos);

    Request(kHostRequestEmptyPlaylist);
    EXPECT_TRUE(host->PlaylistEntries().empty());
    EXPECT_EQ(host->PlayingIndex(), -1);
    Request(kHostRequestStartPlayback);  // nothing to play
    EXPECT_EQ(host->PlayingIndex(), -1);

    EXPECT_EQ(Copy(7, first, sizeof first), FALSE);  // other kinds are not playlist additions
    const char unterminated[] = {'a', 'b', 'c'};
    EXPECT_EQ(Copy(kCopyDataAddToPlaylist, unterminated, sizeof unterminated), TRUE);
    ASSERT_EQ(host->PlaylistEntries().size(), 1u);
    EXPECT_EQ(host->PlaylistEntries()[0], "abc");
    EXPECT_EQ(host->PlayingIndex(), -1);
}

TEST_F(HostRequests, MenuBarHoldsTheAnchorAmongItemsSeparatorsAndSubmenus) {
    HMENU bar = host->MainMenu();
    int count = GetMenuItemCount(bar);
    int anchor = -1;
    for (int i = 0; i < count; ++i)
        if (GetMenuItemID(bar, i) == standin::kCommandMenuAnchor) anchor = i;
    ASSERT_GT(anchor, 0);
    EXPECT_EQ(GetMenuItemID(bar, anchor - 1), static_cast<UINT>(-1));  // a submenu before it
    ASSERT_LT(anchor + 3, count);
    EXPECT_TRUE(GetMenuState(bar, anchor + 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_NE(GetMenuItemID(bar, anchor + 2), static_cast<UINT>(-1));  // a plain item
    EXPECT_EQ(GetMenuItemID(bar, anchor + 3), static_cast<UINT>(-1));  // then a submenu

    char text[64] = {};
    EXPECT_GT(GetMenuStringA(bar, standin::kCommandPluginConfig, text, sizeof text, MF_BYCOMMAND), 0);
    EXPECT_STREQ(text, "Plugin config");
    EXPECT_GT(GetMenuStringA(bar, standin::kCommandFirstSkin + 1, text, sizeof text, MF_BYCOMMAND), 0);
    EXPECT_NE(std::string(text).find("skin_amber.bmp"), std::string::npos);

    // Choosing a skin from the menu switches it.
    SendMessageA(host->MainWindow(), WM_COMMAND, standin::kCommandFirstSkin + 1, 0);
    EXPECT_EQ(host->CurrentSkin(), 1);
    EXPECT_TRUE(GetMenuState(bar, standin::kCommandFirstSkin + 1, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(bar, standin::kCommandFirstSkin, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(HostRequests, ClosingTheMainWindowEndsPumpingAndKeepsTheWindows) {
    EXPECT_TRUE(host->PumpMessages(20));
    PostMessageA(host->MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(host->PumpMessages(2000));
    EXPECT_TRUE(IsWindow(host->MainWindow()));
}

}  // namespace
