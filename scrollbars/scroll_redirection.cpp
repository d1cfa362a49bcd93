#include "scrollbars/scroll_redirection.h"

#include "scrollbars/function_hook.h"
#include "scrollbars/skinned_scroll_calls.h"

// The getters name the system functions as the import table resolves them;
// the hook follows their forwarding stubs to the code that really runs.
#define ONDARIA_SCROLL_TARGET(name)                                                          \
    extern "C" void* OndariaScrollTarget##name() { return reinterpret_cast<void*>(&::name); } \
    ONDARIA_TRAMPOLINE(OndariaScrollTrampoline##name, OndariaScrollTarget##name);

ONDARIA_SCROLL_TARGET(EnableScrollBar)
ONDARIA_SCROLL_TARGET(GetScrollInfo)
ONDARIA_SCROLL_TARGET(GetScrollPos)
ONDARIA_SCROLL_TARGET(GetScrollRange)
ONDARIA_SCROLL_TARGET(SetScrollInfo)
ONDARIA_SCROLL_TARGET(SetScrollPos)
ONDARIA_SCROLL_TARGET(SetScrollRange)
ONDARIA_SCROLL_TARGET(ShowScrollBar)

// The replacements lie together between two marks, so that taking the hooks
// out can wait for any thread stopped inside one.
#define ONDARIA_REDIRECTED __attribute__((section(".text$ondaria_redirected_1"), noinline))
asm(".section .text$ondaria_redirected_0,\"xr\"\n"
    "_OndariaRedirectedBegin:\n"
    ".section .text$ondaria_redirected_2,\"xr\"\n"
    "_OndariaRedirectedEnd:\n"
    "\tret\n"
    ".text\n");
extern "C" void OndariaRedirectedBegin();
extern "C" void OndariaRedirectedEnd();

namespace {

// The thread that installed the hooks. A call from any other marks that a
// thread may still be inside a redirected function, or inside the system's
// function called through a trampoline, when the library is unloaded.
DWORD g_interfaceThread = 0;
volatile LONG g_calledFromOtherThread = 0;

// The thread's id from its own information block (offset 0x24 on 32-bit
// Windows), without a call that would leave the marks.
constexpr unsigned kThreadIdOffset = 0x24;
__attribute__((always_inline)) inline DWORD OwnThreadId() {
    DWORD id;
    asm volatile("movl %%fs:%c1, %0" : "=r"(id) : "i"(kThreadIdOffset));
    return id;
}

// The first thing each replacement does, inside the marks.
__attribute__((always_inline)) inline void NoteCaller() {
    if (OwnThreadId() != g_interfaceThread) __atomic_store_n(&g_calledFromOtherThread, 1, __ATOMIC_SEQ_CST);
}

template <typename Function>
Function System(Trampoline& trampoline) {
    return TrampolineAs<Function>(trampoline);
}

ONDARIA_REDIRECTED BOOL WINAPI RedirectedEnableScrollBar(HWND window, UINT which, UINT arrows) {
    NoteCaller();
    if (SkinnedScrollCallApplies(window, static_cast<int>(which), true))
        return SkinnedEnableScrollBar(window, which, arrows);
    return System<decltype(&EnableScrollBar)>(OndariaScrollTrampolineEnableScrollBar)(window, which, arrows);
}

ONDARIA_REDIRECTED BOOL WINAPI RedirectedGetScrollInfo(HWND window, int bar, LPSCROLLINFO info) {
    NoteCaller();
    if (SkinnedScrollCallApplies(window, bar, false)) return SkinnedGetScrollInfo(window, bar, info);
    return System<decltype(&GetScrollInfo)>(OndariaScrollTrampolineGetScrollInfo)(window, bar, info);
}

ONDARIA_REDIRECTED int WINAPI RedirectedGetScrollPos(HWND window, int bar) {
    NoteCaller();
    if (SkinnedScrollCallApplies(window, bar, false)) return SkinnedGetScrollPos(window, bar);
    return System<decltype(&GetScrollPos)>(OndariaScrollTrampolineGetScrollPos)(window, bar);
}

ONDARIA_REDIRECTED BOOL WINAPI RedirectedGetScrollRange(HWND window, int bar, LPINT minimum, LPINT maximum) {
    NoteCaller();
    if (SkinnedScrollCallApplies(window, bar, false)) return SkinnedGetScrollRange(window, bar, minimum, maximum);
    return System<decltype(&GetScrollRange)>(OndariaScrollTrampolineGetScrollRange)(window, bar, minimum, maximum);
}

ONDARIA_REDIRECTED int WINAPI RedirectedSetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw) {
    NoteCaller();
    if (SkinnedScrollCallApplies(window, bar, false)) return SkinnedSetScrollInfo(window, bar, info, redraw);
    return System<decltype(&SetScrollInfo)>(OndariaScrollTrampolineSetScrollInfo)(window, bar, info, redraw);
}

ONDARIA_REDIRECTED int WINAPI RedirectedSetScrollPos(HWND window, int bar, int position, BOOL redraw) {
    NoteCaller();
    if (SkinnedScrollCallApplies(window, bar, false)) return SkinnedSetScrollPos(window, bar, position, redraw);
    return System<decltype(&SetScrollPos)>(OndariaScrollTrampolineSetScrollPos)(window, bar, position, redraw);
}

ONDARIA_REDIRECTED BOOL WINAPI RedirectedSetScrollRange(HWND window, int bar, int minimum, int maximum, BOOL redraw) {
    NoteCaller();
    if (SkinnedScrollCallApplies(window, bar, false))
        return SkinnedSetScrollRange(window, bar, minimum, maximum, redraw);
    return System<decltype(&SetScrollRange)>(OndariaScrollTrampolineSetScrollRange)(window, bar, minimum, maximum,
                                                                                     redraw);
}

ONDARIA_REDIRECTED BOOL WINAPI RedirectedShowScrollBar(HWND window, int which, BOOL show) {
    NoteCaller();
    if (SkinnedScrollCallApplies(window, which, true)) return SkinnedShowScrollBar(window, which, show);
    return System<decltype(&ShowScrollBar)>(OndariaScrollTrampolineShowScrollBar)(window, which, show);
}

#define ONDARIA_SCROLL_ENTRY(name) \
    {#name, &OndariaScrollTrampoline##name, reinterpret_cast<const void*>(&Redirected##name)}

}  // namespace

const ScrollRedirection kScrollRedirections[kScrollCallCount] = {
    ONDARIA_SCROLL_ENTRY(EnableScrollBar), ONDARIA_SCROLL_ENTRY(GetScrollInfo),
    ONDARIA_SCROLL_ENTRY(GetScrollPos),    ONDARIA_SCROLL_ENTRY(GetScrollRange),
    ONDARIA_SCROLL_ENTRY(SetScrollInfo),   ONDARIA_SCROLL_ENTRY(SetScrollPos),
    ONDARIA_SCROLL_ENTRY(SetScrollRange),  ONDARIA_SCROLL_ENTRY(ShowScrollBar),
};

namespace {

// GetVersion's high bit: set outside the NT family, where there is nothing to redirect.
constexpr DWORD kVersionNotNtFamily = 0x80000000u;

bool g_hooked[kScrollCallCount];

}  // namespace

static_assert(kScrollCallCount <= kMaxHooksAtOnce, "the scroll calls are patched in one go");

int InstallScrollRedirectionForVersion(DWORD version) {
    if (version & kVersionNotNtFamily) return 0;
    g_interfaceThread = GetCurrentThreadId();
    GuardReplacementCode(reinterpret_cast<const void*>(&OndariaRedirectedBegin),
                         reinterpret_cast<const void*>(&OndariaRedirectedEnd));
    // All at once: the other threads are stopped once rather than once a function.
    Trampoline* trampolines[kScrollCallCount];
    const void* replacements[kScrollCallCount];
    int chosen[kScrollCallCount];
    int count = 0;
    for (int k = 0; k < kScrollCallCount; ++k) {
        if (g_hooked[k]) continue;
        trampolines[count] = kScrollRedirections[k].trampoline;
        replacements[count] = kScrollRedirections[k].replacement;
        chosen[count++] = k;
    }
    bool hooked[kScrollCallCount] = {};
    HookFunctions(trampolines, replacements, count, hooked);
    for (int i = 0; i < count; ++i) g_hooked[chosen[i]] = hooked[i];
    return 1;
}

int InstallScrollRedirection() { return InstallScrollRedirectionForVersion(GetVersion()); }

int RemoveScrollRedirection() {
    Trampoline* trampolines[kScrollCallCount];
    const void* replacements[kScrollCallCount];
    for (int k = 0; k < kScrollCallCount; ++k) {
        trampolines[k] = kScrollRedirections[k].trampoline;
        replacements[k] = kScrollRedirections[k].replacement;
    }
    DWORD errors[kScrollCallCount] = {};
    UnhookFunctions(trampolines, replacements, kScrollCallCount, errors);
    bool leftBehind = false;
    for (int k = 0; k < kScrollCallCount; ++k) {
        if (errors[k] == 0) {
            g_hooked[k] = false;
        } else if (g_hooked[k]) {
            leftBehind = true;
        }
    }
    // A thread of the host's may be inside one of them still, or blocked in
    // the system's function that it called through a trampoline.
    if (leftBehind || g_calledFromOtherThread) {
        HMODULE self = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCSTR>(kScrollRedirections[0].replacement), &self);
    }
    return leftBehind ? 0 : 1;
}
