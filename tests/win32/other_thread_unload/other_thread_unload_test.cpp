// A host thread of its own calls the redirected scroll functions, then the
// host quits and unloads the plugin. That thread may still be inside a
// replacement, or blocked in the system's function called through a
// trampoline: the library stays loaded, and the functions are restored.
// In a process of its own: under emulation, a thread started after many
// loads and unloads of the library sometimes takes the emulator down.
#include <cstring>

#include "scrollbars/function_hook.h"
#include "scrollbars/scroll_redirection.h"
#include "tests/win32/plugin/plugin_host_fixture.h"

namespace {

constexpr int kSaved = 16;

const uint8_t* Resolved(int call) {
    FARPROC exported = GetProcAddress(GetModuleHandleA("user32.dll"), kScrollRedirections[call].name);
    return static_cast<const uint8_t*>(ResolveFunctionAddress(reinterpret_cast<const void*>(exported)));
}

// A few of the eight on a window of this thread, each doing what the system does.
DWORD WINAPI ScrollOnThisThread(void* failures) {
    HWND window = CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW | WS_VSCROLL, 0, 0, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
    LONG& failed = *static_cast<LONG*>(failures);
    if (!window || !SetScrollRange(window, SB_VERT, 0, 40, FALSE)) ++failed;
    SetScrollPos(window, SB_VERT, 12, FALSE);
    if (GetScrollPos(window, SB_VERT) != 12) ++failed;
    DestroyWindow(window);
    return 0;
}

TEST_F(PluginHostTest, ACallFromAnotherThreadKeepsTheLibraryLoadedAfterQuit) {
    uint8_t before[kScrollCallCount][kSaved];
    for (int k = 0; k < kScrollCallCount; ++k) std::memcpy(before[k], Resolved(k), kSaved);
    Start();
    const std::string dll = folder->Path() + "\\plugins\\gen_ondaria.dll";
    ASSERT_NE(GetModuleHandleA(dll.c_str()), nullptr);
    LONG failed = 0;
    HANDLE other = CreateThread(nullptr, 0, &ScrollOnThisThread, &failed, 0, nullptr);
    ASSERT_NE(other, nullptr);
    WaitForSingleObject(other, INFINITE);
    CloseHandle(other);
    EXPECT_EQ(failed, 0);
    Stop();
    EXPECT_NE(GetModuleHandleA(dll.c_str()), nullptr);
    for (int k = 0; k < kScrollCallCount; ++k)
        EXPECT_EQ(std::memcmp(before[k], Resolved(k), kSaved), 0) << kScrollRedirections[k].name;
}

// Without such a call, quit unloads the library as before.
TEST_F(PluginHostTest, WithoutACallFromAnotherThreadTheLibraryIsUnloaded) {
    Start();
    const std::string dll = folder->Path() + "\\plugins\\gen_ondaria.dll";
    Stop();
    EXPECT_EQ(GetModuleHandleA(dll.c_str()), nullptr);
}

}  // namespace
