// The scroll-call redirection of the real DLL: installed by init, taken out
// by quit, so that after unloading every one of the eight functions runs
// the system's code again; and a hook that cannot be taken out keeps the
// library loaded instead of leaving a jump into freed code.
#include <cstring>

#include "scrollbars/function_hook.h"
#include "scrollbars/portable/instruction_length.h"
#include "scrollbars/scroll_redirection.h"
#include "tests/win32/plugin/plugin_host_fixture.h"

namespace {
const void* volatile g_showScrollBarCode;
volatile LONG g_overShowScrollBar;
}  // namespace

extern "C" void* UnloadTestShowScrollBarTarget() { return const_cast<void*>(g_showScrollBarCode); }
ONDARIA_TRAMPOLINE(UnloadTestShowScrollBarTrampoline, UnloadTestShowScrollBarTarget);

namespace {

BOOL WINAPI CountingShowScrollBar(HWND window, int which, BOOL show) {
    InterlockedIncrement(&g_overShowScrollBar);
    return TrampolineAs<decltype(&ShowScrollBar)>(UnloadTestShowScrollBarTrampoline)(window, which, show);
}

constexpr int kSaved = 16;

const uint8_t* Resolved(int call) {
    FARPROC exported = GetProcAddress(GetModuleHandleA("user32.dll"), kScrollRedirections[call].name);
    return static_cast<const uint8_t*>(ResolveFunctionAddress(reinterpret_cast<const void*>(exported)));
}

HMODULE ModuleOf(uint32_t address) {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(address)), &module);
    return module;
}

uint32_t JumpTarget(const uint8_t* at) {
    X86Instruction d;
    if (!DecodeInstruction(at, 5, &d) || d.opcode != 0xE9) return 0;
    return RelativeBranchTarget(d, at, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(at)));
}

// The eight on an ordinary window, each doing what the system does.
void ExpectSystemBehaviour() {
    HWND window = CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL, 0, 0, 300, 200,
                                nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(SetScrollRange(window, SB_VERT, 0, 40, FALSE));
    int low = -1, high = -1;
    EXPECT_TRUE(GetScrollRange(window, SB_VERT, &low, &high));
    EXPECT_EQ(high, 40);
    EXPECT_EQ(SetScrollPos(window, SB_VERT, 12, FALSE), 0);
    EXPECT_EQ(GetScrollPos(window, SB_VERT), 12);
    SCROLLINFO info = {sizeof info, SIF_PAGE, 0, 0, 8, 0, 0};
    EXPECT_EQ(SetScrollInfo(window, SB_VERT, &info, FALSE), 12);
    SCROLLINFO back = {sizeof back, SIF_ALL, 0, 0, 0, 0, 0};
    EXPECT_TRUE(GetScrollInfo(window, SB_VERT, &back));
    EXPECT_EQ(back.nPage, 8u);
    EXPECT_TRUE(SetScrollRange(window, SB_HORZ, 0, 10, FALSE));
    EXPECT_TRUE(EnableScrollBar(window, SB_HORZ, ESB_DISABLE_BOTH));
    EXPECT_TRUE(ShowScrollBar(window, SB_VERT, FALSE));
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_VSCROLL, 0);
    DestroyWindow(window);
}

class ScrollRedirectionUnloadTest : public PluginHostTest {
protected:
    std::string DllPath() const { return folder->Path() + "\\plugins\\gen_ondaria.dll"; }
    void SetUp() override {
        PluginHostTest::SetUp();
        for (int k = 0; k < kScrollCallCount; ++k) std::memcpy(before[k], Resolved(k), kSaved);
    }
    // While started: each of the eight jumps into the DLL.
    void ExpectRedirectedIntoTheDll() {
        HMODULE dll = GetModuleHandleA(DllPath().c_str());
        ASSERT_NE(dll, nullptr);
        for (int k = 0; k < kScrollCallCount; ++k)
            EXPECT_EQ(ModuleOf(JumpTarget(Resolved(k))), dll) << kScrollRedirections[k].name;
    }
    uint8_t before[kScrollCallCount][kSaved];
};

TEST_F(ScrollRedirectionUnloadTest, AfterQuitAndUnloadingEachOfTheEightRunsTheSystemsCode) {
    Start();
    ASSERT_NE(Panel(), nullptr);
    ExpectRedirectedIntoTheDll();
    ExpectSystemBehaviour();   // windows without skinned bars see no difference
    Stop();
    EXPECT_EQ(GetModuleHandleA(DllPath().c_str()), nullptr);
    for (int k = 0; k < kScrollCallCount; ++k)
        EXPECT_EQ(std::memcmp(before[k], Resolved(k), kSaved), 0) << kScrollRedirections[k].name;
    ExpectSystemBehaviour();
}

TEST_F(ScrollRedirectionUnloadTest, AHookThatCannotBeTakenOutKeepsTheLibraryLoaded) {
    Start();
    ExpectRedirectedIntoTheDll();
    // Something else patches ShowScrollBar over the plugin's jump.
    g_showScrollBarCode = Resolved(kShowScrollBarCall);
    ASSERT_EQ(HookFunction(&UnloadTestShowScrollBarTrampoline, reinterpret_cast<const void*>(&CountingShowScrollBar)),
              1);
    Stop();
    EXPECT_NE(GetModuleHandleA(DllPath().c_str()), nullptr);
    for (int k = 0; k < kScrollCallCount; ++k) {
        if (k == kShowScrollBarCall) continue;
        EXPECT_EQ(std::memcmp(before[k], Resolved(k), kSaved), 0) << kScrollRedirections[k].name;
    }
    // The chain through the plugin's replacement still ends in the system.
    LONG counted = g_overShowScrollBar;
    ExpectSystemBehaviour();
    EXPECT_EQ(g_overShowScrollBar, counted + 1);

    // Once the other patch goes, the plugin's own jump is back, into a library still there.
    ASSERT_EQ(UnhookFunction(&UnloadTestShowScrollBarTrampoline, reinterpret_cast<const void*>(&CountingShowScrollBar)),
              1);
    HMODULE pinned = GetModuleHandleA(DllPath().c_str());
    EXPECT_EQ(ModuleOf(JumpTarget(Resolved(kShowScrollBarCall))), pinned);
    ExpectSystemBehaviour();
}

}  // namespace
