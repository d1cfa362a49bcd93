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

namespace {

template <typename Function>
Function System(Trampoline& trampoline) {
    return TrampolineAs<Function>(trampoline);
}

BOOL WINAPI RedirectedEnableScrollBar(HWND window, UINT which, UINT arrows) {
    if (SkinnedScrollCallApplies(window, static_cast<int>(which), true))
        return SkinnedEnableScrollBar(window, which, arrows);
    return System<decltype(&EnableScrollBar)>(OndariaScrollTrampolineEnableScrollBar)(window, which, arrows);
}

BOOL WINAPI RedirectedGetScrollInfo(HWND window, int bar, LPSCROLLINFO info) {
    if (SkinnedScrollCallApplies(window, bar, false)) return SkinnedGetScrollInfo(window, bar, info);
    return System<decltype(&GetScrollInfo)>(OndariaScrollTrampolineGetScrollInfo)(window, bar, info);
}

int WINAPI RedirectedGetScrollPos(HWND window, int bar) {
    if (SkinnedScrollCallApplies(window, bar, false)) return SkinnedGetScrollPos(window, bar);
    return System<decltype(&GetScrollPos)>(OndariaScrollTrampolineGetScrollPos)(window, bar);
}

BOOL WINAPI RedirectedGetScrollRange(HWND window, int bar, LPINT minimum, LPINT maximum) {
    if (SkinnedScrollCallApplies(window, bar, false)) return SkinnedGetScrollRange(window, bar, minimum, maximum);
    return System<decltype(&GetScrollRange)>(OndariaScrollTrampolineGetScrollRange)(window, bar, minimum, maximum);
}

int WINAPI RedirectedSetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw) {
    if (SkinnedScrollCallApplies(window, bar, false)) return SkinnedSetScrollInfo(window, bar, info, redraw);
    return System<decltype(&SetScrollInfo)>(OndariaScrollTrampolineSetScrollInfo)(window, bar, info, redraw);
}

int WINAPI RedirectedSetScrollPos(HWND window, int bar, int position, BOOL redraw) {
    if (SkinnedScrollCallApplies(window, bar, false)) return SkinnedSetScrollPos(window, bar, position, redraw);
    return System<decltype(&SetScrollPos)>(OndariaScrollTrampolineSetScrollPos)(window, bar, position, redraw);
}

BOOL WINAPI RedirectedSetScrollRange(HWND window, int bar, int minimum, int maximum, BOOL redraw) {
    if (SkinnedScrollCallApplies(window, bar, false))
        return SkinnedSetScrollRange(window, bar, minimum, maximum, redraw);
    return System<decltype(&SetScrollRange)>(OndariaScrollTrampolineSetScrollRange)(window, bar, minimum, maximum,
                                                                                     redraw);
}

BOOL WINAPI RedirectedShowScrollBar(HWND window, int which, BOOL show) {
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
    if (leftBehind) {
        HMODULE self = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCSTR>(kScrollRedirections[0].replacement), &self);
    }
    return leftBehind ? 0 : 1;
}
