// A host that quits the plugin and frees the library from a message that a
// box of the plugin's dispatched: when the box ends, it returns into the
// plugin's code, which must still be there.
#include <windows.h>

#include <cstring>
#include <string>

#include "catalogue/portable/stream_record.h"
#include "resources/resource_ids.h"
#include "tests/win32/plugin/drop_files.h"
#include "tests/win32/plugin/plugin_host_fixture.h"

namespace {

standin::StandinHost* g_host = nullptr;
HWND g_box = nullptr;
bool g_quitInside = false;
HHOOK g_hook = nullptr;
constexpr UINT_PTR kQuitTimer = 0x5157;
constexpr UINT kQuitAfterMs = 100;

// Inside the box's own loop: quit and unload, then answer the box.
void CALLBACK QuitFromInsideTheBox(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    g_host->QuitAndUnloadPlugins();
    g_quitInside = true;
    PostMessageA(g_box, WM_COMMAND, IDOK, 0);
}

LRESULT CALLBACK WatchForTheBox(int code, WPARAM first, LPARAM second) {
    if (code == HCBT_ACTIVATE && !g_box) {
        char className[16] = {0};
        GetClassNameA(reinterpret_cast<HWND>(first), className, sizeof className);
        if (strcmp(className, "#32770") == 0) {
            g_box = reinterpret_cast<HWND>(first);
            SetTimer(nullptr, kQuitTimer, kQuitAfterMs, &QuitFromInsideTheBox);
        }
    }
    return CallNextHookEx(g_hook, code, first, second);
}

TEST_F(PluginHostTest, QuitAndUnloadFromInsideTheDropsMessageBoxLeavesTheHostRunning) {
    WriteList("Ondaria.rtv", {"Un"});
    WriteList("other.rtv", {"Deux"});
    Start();
    const std::string dll = folder->Path() + "\\plugins\\gen_ondaria.dll";
    g_host = host.get();
    g_box = nullptr;
    g_quitInside = false;
    g_hook = SetWindowsHookExA(WH_CBT, &WatchForTheBox, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_hook, nullptr);
    // The drop's result box: its loop runs the timer that quits and unloads.
    SendMessageA(Panel(), WM_DROPFILES, reinterpret_cast<WPARAM>(drops::MakeDrop({PluginFolder() + "other.rtv"})), 0);
    UnhookWindowsHookEx(g_hook);
    EXPECT_TRUE(g_quitInside);
    // Back from the box into code that is still mapped: the library was kept.
    EXPECT_NE(GetModuleHandleA(dll.c_str()), nullptr);
    EXPECT_TRUE(Pump(100));   // and the host runs on
    // Quit saved the list, with the merged station.
    EXPECT_EQ(ReadWholeFile(PluginFolder() + "Ondaria.rtv").size(), 64u + 2 * sizeof(StreamRecord));
}

}  // namespace
