// Start-up, shut-down and the plugin record, through the real DLL loaded by
// the stand-in host.
#include <cstdio>
#include <cstring>

#include "resources/resource_ids.h"
#include "tests/support/message_box_recorder.h"
#include "tests/win32/plugin/plugin_host_fixture.h"
#include "tools/standin_host/plugin_record.h"

namespace {

std::string Text(HWND hwnd) {
    char buffer[512] = {0};
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
}

std::string FormatSettings(int visible, const RECT& r, const char* name, int play, int enqueue, int red, int web) {
    char text[1024];
    snprintf(text, sizeof text,
             "[main]\r\nGEN_ONDARIA_VERSION = 2b\r\nGEN_ONDARIA_VISIBLE = %d\r\nGEN_ONDARIA_WND_TOP = %ld\r\n"
             "GEN_ONDARIA_WND_LEFT = %ld\r\nGEN_ONDARIA_WND_BOTTOM = %ld\r\nGEN_ONDARIA_WND_RIGHT = %ld\r\n"
             "GEN_ONDARIA_LISTNAME = %s\r\nGEN_ONDARIA_PLAY = %d\r\nGEN_ONDARIA_ENQUEUE = %d\r\n"
             "GEN_ONDARIA_REDICONS = %d\r\nGEN_ONDARIA_OPENWEB = %d\r\n",
             visible, r.top, r.left, r.bottom, r.right, name, play, enqueue, red, web);
    return text;
}

}  // namespace

TEST_F(PluginHostTest, RecordIsTwentyEightBytesBehindAnUndecoratedExport) {
    std::string dll = folder->Path() + "\\plugins\\gen_ondaria.dll";
    HMODULE module = LoadLibraryA(dll.c_str());
    ASSERT_NE(module, nullptr);
    auto entry = reinterpret_cast<standin::PluginRecord* (*)()>(
        reinterpret_cast<void*>(GetProcAddress(module, "winampGetGeneralPurposePlugin")));
    ASSERT_NE(entry, nullptr);
    standin::PluginRecord* record = entry();
    EXPECT_EQ(record, entry());   // one static record, never copied
    EXPECT_EQ(record->version, 16);
    EXPECT_STREQ(record->description, "Ventosa Radios (gen_ondaria.dll)");
    EXPECT_NE(record->init, nullptr);
    EXPECT_NE(record->config, nullptr);
    EXPECT_NE(record->quit, nullptr);
    EXPECT_EQ(record->hwndParent, nullptr);
    EXPECT_EQ(record->hDllInstance, nullptr);
    FreeLibrary(module);
}

TEST_F(PluginHostTest, TooOldAHostIsRefusedWithAWarningAndNoWindow) {
    MessageBoxRecorder boxes;
    Start(0x208F);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Version de Winamp trop ancienne !");
    EXPECT_EQ(boxes.boxes[0].caption, "Ondaria");
    EXPECT_EQ(boxes.boxes[0].icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(boxes.boxes[0].owner, host->MainWindow());
    EXPECT_TRUE(host->Frames().empty());
    ASSERT_EQ(Requests().size(), 1u);   // only the version was asked
    EXPECT_EQ(Requests()[0].number, 0u);
    host->ConfigPlugins();              // shows nothing, breaks nothing
    Pump();
    EXPECT_EQ(DialogTitled("Pr\xE9" "f\xE9" "rences"), nullptr);
    Stop();
    EXPECT_EQ(boxes.boxes.size(), 1u);
    EXPECT_FALSE(FileExists(PluginFolder() + "gen_ondaria.ini"));
}

TEST_F(PluginHostTest, TheOldestSupportedHostStartsAColumnLeftOfTheHostWindow) {
    Start(kMinimumHostVersion);
    ASSERT_NE(Frame(), nullptr);
    EXPECT_NE(GetFileAttributesA(PluginFolder().c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    RECT main, frame;
    GetWindowRect(host->MainWindow(), &main);
    GetWindowRect(Frame(), &frame);
    EXPECT_EQ(frame.left, main.left - 320);
    EXPECT_EQ(frame.top, main.top);
    EXPECT_EQ(frame.right, main.left);
    EXPECT_EQ(frame.bottom, main.bottom);
    EXPECT_EQ(Text(Frame()), "Ondaria 2b");
    EXPECT_TRUE(IsWindowVisible(Frame()));
    ASSERT_NE(Panel(), nullptr);
    EXPECT_TRUE(IsWindowVisible(Panel()));
    EXPECT_NE(Control(IDC_STREAM_LIST), nullptr);

    // The requests of start-up, in order: version, playlist editor, settings folder, frame, skin.
    std::vector<unsigned> numbers;
    for (const standin::LogEntry& e : Requests()) numbers.push_back(e.number);
    ASSERT_GE(numbers.size(), 5u);
    EXPECT_EQ(std::vector<unsigned>(numbers.begin(), numbers.begin() + 5),
              (std::vector<unsigned>{kHostRequestVersion, kHostRequestWindow, kHostRequestSettingsFolder, kHostRequestEmbeddedFrame, kHostRequestSkinBitmap}));
}

// The rectangle handed with the frame request.
std::vector<LONG> FirstFrameRectangle(const standin::StandinHost& host) {
    for (const standin::LogEntry& e : host.Log()) {
        if (e.kind == standin::LogEntry::Request && e.number == kHostRequestEmbeddedFrame) {
            const LONG* block = reinterpret_cast<const LONG*>(e.argument + kFrameStateRectOffset);
            return {block[0], block[1], block[2], block[3]};
        }
    }
    return {};
}

TEST_F(PluginHostTest, AKeptRectangleNobodyCouldSeeGivesWayToThePlaceBesideTheHost) {
    // One side only (the others 0: inverted), off every screen, far too small,
    // and values whose width overflows 32 bits.
    const char* const kept[] = {
        "GEN_ONDARIA_WND_LEFT = 37\n",
        "GEN_ONDARIA_WND_TOP = 20\nGEN_ONDARIA_WND_LEFT = 30000\nGEN_ONDARIA_WND_BOTTOM = 600\n"
        "GEN_ONDARIA_WND_RIGHT = 30400\n",
        "GEN_ONDARIA_WND_TOP = 20\nGEN_ONDARIA_WND_LEFT = 30\nGEN_ONDARIA_WND_BOTTOM = 47\n"
        "GEN_ONDARIA_WND_RIGHT = 142\n",
        "GEN_ONDARIA_WND_TOP = -2147483600\nGEN_ONDARIA_WND_LEFT = -2147483600\n"
        "GEN_ONDARIA_WND_BOTTOM = 2147483600\nGEN_ONDARIA_WND_RIGHT = 2147483600\n",
    };
    for (const char* settings : kept) {
        SCOPED_TRACE(settings);
        WriteSettings(std::string("[main]\n") + settings);
        Start();
        RECT main = {0, 0, 0, 0};
        GetWindowRect(host->MainWindow(), &main);
        EXPECT_EQ(FirstFrameRectangle(*host), (std::vector<LONG>{main.left - 320, main.top, main.left, main.bottom}));
        Stop();
        host.reset();
    }
}

TEST_F(PluginHostTest, AKeptRectangleOnScreenIsUsedAsKept) {
    WriteSettings("[main]\nGEN_ONDARIA_WND_TOP = 25\nGEN_ONDARIA_WND_LEFT = 15\nGEN_ONDARIA_WND_BOTTOM = 469\n"
                  "GEN_ONDARIA_WND_RIGHT = 348\n");
    Start();
    EXPECT_EQ(FirstFrameRectangle(*host), (std::vector<LONG>{15, 25, 348, 469}));
}

TEST_F(PluginHostTest, SettingsReachThePreferencesAndPickTheCurrentList) {
    WriteSettings(
        "[main]\r\nGEN_ONDARIA_LISTNAME = Mes radios du soir\r\nGEN_ONDARIA_PLAY = 0\r\n"
        "GEN_ONDARIA_ENQUEUE = 1\r\nGEN_ONDARIA_REDICONS = 1\r\nGEN_ONDARIA_REDICONS = 0\r\n"
        "GEN_ONDARIA_OPENWEB=1\r\n");
    WriteList("Mes radios du soir.rtv", {"Un", "Deux"});
    Start();
    HWND prefs = DialogTitled("Pr\xE9" "f\xE9" "rences");
    ASSERT_NE(prefs, nullptr);
    EXPECT_FALSE(IsWindowVisible(prefs));
    EXPECT_EQ(Text(GetDlgItem(prefs, IDC_LIST_NAME)), "Mes radios du soir");
    EXPECT_EQ(IsDlgButtonChecked(prefs, IDC_PLAY_AT_ONCE), 0u);
    EXPECT_EQ(IsDlgButtonChecked(prefs, IDC_ENQUEUE), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(prefs, IDC_RED_ICONS), static_cast<UINT>(BST_CHECKED));   // only ever set
    EXPECT_EQ(IsDlgButtonChecked(prefs, IDC_OPEN_WEB), 0u);                               // "KEY=1" matches nothing
    EXPECT_EQ(SendMessageA(Control(IDC_STREAM_LIST), LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(Control(IDC_STREAM_LIST), LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(PluginHostTest, DoubleClickActionsAreMadeConsistentPlayingAtOnceWinning) {
    WriteSettings("GEN_ONDARIA_PLAY = 1\nGEN_ONDARIA_ENQUEUE = 1\n");
    Start();
    HWND prefs = DialogTitled("Pr\xE9" "f\xE9" "rences");
    EXPECT_EQ(IsDlgButtonChecked(prefs, IDC_PLAY_AT_ONCE), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(prefs, IDC_ENQUEUE), 0u);
    Stop();
    host.reset();
    WriteSettings("GEN_ONDARIA_PLAY = 0\nGEN_ONDARIA_ENQUEUE = 0\n");
    Start();
    prefs = DialogTitled("Pr\xE9" "f\xE9" "rences");
    EXPECT_EQ(IsDlgButtonChecked(prefs, IDC_PLAY_AT_ONCE), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(prefs, IDC_ENQUEUE), 0u);
}

TEST_F(PluginHostTest, FinishStartNamesTheListFillsTheSearchSelectorAndLoadsTheList) {
    WriteList("Ondaria.rtv", {"Un", "Deux", "Trois"});
    Start();
    HWND prefs = DialogTitled("Pr\xE9" "f\xE9" "rences");
    EXPECT_EQ(Text(GetDlgItem(prefs, IDC_LIST_NAME)), "Ondaria");
    EXPECT_EQ(SendMessageA(Control(IDC_STREAM_LIST), LB_GETCOUNT, 0, 0), 3);
    HWND combo = Control(IDC_SEARCH_MODE);
    ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 4);
    const char* expected[] = {"Afficher Flux", "Chercher Flux", "Chercher Radio", "Chercher TV"};
    for (int i = 0; i < 4; ++i) {
        char item[64] = {0};
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        EXPECT_STREQ(item, expected[i]);
        EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, i, 0), i);
    }
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
}

TEST_F(PluginHostTest, QuitSavesListAndSettingsAndLeavesNothingOnTheHostWindows) {
    WriteList("Ondaria.rtv", {"Un", "Deux"});
    options.mainRect = {420, 60, 920, 720};
    host = std::make_unique<standin::StandinHost>(options);
    HWND main = host->MainWindow();
    HWND editor = host->PlaylistEditor();
    LONG mainProc = GetWindowLongA(main, GWL_WNDPROC);
    LONG editorProc = GetWindowLongA(editor, GWL_WNDPROC);
    host->LoadPlugins();
    Pump(100);
    ASSERT_NE(GetWindowLongA(main, GWL_WNDPROC), mainProc);   // the plugin watches the host window
    HWND frame = Frame();
    LONG frameProc = GetWindowLongA(frame, GWL_WNDPROC);
    RECT frameRect;
    GetWindowRect(frame, &frameRect);
    ASSERT_TRUE(IsWindowVisible(host->PlaylistGrandparent()));
    std::string listBefore = ReadWholeFile(PluginFolder() + "Ondaria.rtv");
    DeleteFileA((PluginFolder() + "Ondaria.rtv").c_str());

    Stop();
    EXPECT_FALSE(IsWindowVisible(host->PlaylistGrandparent()));
    EXPECT_EQ(SettingsFileBytes(), FormatSettings(5, frameRect, "Ondaria", 1, 0, 0, 0));
    std::string listAfter = ReadWholeFile(PluginFolder() + "Ondaria.rtv");
    ASSERT_EQ(listAfter.size(), listBefore.size());
    EXPECT_EQ(listAfter.substr(64 + 6, 2), "Un");

    EXPECT_EQ(GetWindowLongA(main, GWL_WNDPROC), mainProc);
    EXPECT_EQ(GetWindowLongA(editor, GWL_WNDPROC), editorProc);
    EXPECT_NE(GetWindowLongA(frame, GWL_WNDPROC), 0);
    EXPECT_NE(GetWindowLongA(frame, GWL_WNDPROC), frameProc);
    for (HWND hwnd : {main, editor, frame}) {
        EXPECT_EQ(GetPropA(hwnd, "ONDARIA2_CWNDb"), nullptr);
        EXPECT_EQ(GetPropA(hwnd, "ONDARIA2_CDIALOGb"), nullptr);
    }
    // The dialogs went with the panel; nothing of the plugin answers any more.
    EXPECT_EQ(DialogTitled("Pr\xE9" "f\xE9" "rences"), nullptr);
    EXPECT_EQ(DialogTitled("A propos de Ondaria 2"), nullptr);
    EXPECT_EQ(FindWindowExA(frame, nullptr, nullptr, nullptr), nullptr);
    Pump(100);
}

TEST_F(PluginHostTest, ClosingThePanelWritesVisibleZeroAndAHiddenQuitWritesNothing) {
    Start();
    SendMessageA(Panel(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindowVisible(Frame()));
    RECT frameRect;
    GetWindowRect(Frame(), &frameRect);
    std::string closed = SettingsFileBytes();
    EXPECT_EQ(closed, FormatSettings(0, frameRect, "Ondaria", 1, 0, 0, 0));
    Stop();
    EXPECT_EQ(SettingsFileBytes(), closed);

    // The next run follows the visible value written last: hidden, with the
    // way back in the host menu.
    host.reset();
    Start();
    EXPECT_FALSE(IsWindowVisible(Frame()));
    HMENU menu = host->MainMenu();
    char text[64] = {0};
    ASSERT_GT(GetMenuStringA(menu, kPluginMenuCommand, text, sizeof text, MF_BYCOMMAND), 0);
    EXPECT_STREQ(text, "Ondaria\tAlt+R");
}

TEST_F(PluginHostTest, ASettingsFileThatCannotBeReplacedIsReportedAndKept) {
    Start();
    std::string path = PluginFolder() + "gen_ondaria.ini";
    WriteSettings("old settings");
    HANDLE locked = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    MessageBoxRecorder boxes;
    SendMessageA(Panel(), WM_CLOSE, 0, 0);
    Pump();
    CloseHandle(locked);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Sauvegarde de la configuration impossible !");
    EXPECT_EQ(boxes.boxes[0].caption, "Ondaria");
    EXPECT_EQ(SettingsFileBytes(), "old settings");
}

TEST_F(PluginHostTest, ThePanelWorksWithoutItsBanner) {
    Start();
    // Without an HTML engine the banner shows nothing, but its host window is placed.
    HWND banner = FindWindowExA(Panel(), nullptr, "Edit", nullptr);
    while (banner && GetDlgCtrlID(banner) == IDC_SEARCH_EDIT) banner = FindWindowExA(Panel(), banner, "Edit", nullptr);
    ASSERT_NE(banner, nullptr);
    RECT panel, r;
    GetClientRect(Panel(), &panel);
    GetWindowRect(banner, &r);
    MapWindowPoints(nullptr, Panel(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 250);
    EXPECT_EQ(r.left, panel.right / 2 - 150);
    EXPECT_EQ(r.top, panel.bottom - 254);
}

// The dialogs themselves, through the same code, are answered in the
// preferences and editor tests; here a dialog shown after a few starts and
// quits in one process can leave Wine on qemu hung.
TEST_F(PluginHostTest, TheStartLeavesTheFileDialogsLibraryUnloaded) {
    // Once loaded it stays for the process, so only a process that has not
    // loaded it yet can tell.
    if (GetModuleHandleA("comdlg32.dll") != nullptr) GTEST_SKIP() << "comdlg32 was loaded before the start";
    Start();
    EXPECT_EQ(GetModuleHandleA("comdlg32.dll"), nullptr);
}
