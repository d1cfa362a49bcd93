// Placeholder until the skinned answers land: every call goes to the platform.
#include "scrollbars/skinned_scroll_calls.h"

bool SkinnedScrollCallApplies(HWND, int, bool) { return false; }
BOOL SkinnedEnableScrollBar(HWND window, UINT which, UINT arrows) { return EnableScrollBar(window, which, arrows); }
BOOL SkinnedGetScrollInfo(HWND window, int bar, LPSCROLLINFO info) { return GetScrollInfo(window, bar, info); }
int SkinnedGetScrollPos(HWND window, int bar) { return GetScrollPos(window, bar); }
BOOL SkinnedGetScrollRange(HWND window, int bar, LPINT minimum, LPINT maximum) {
    return GetScrollRange(window, bar, minimum, maximum);
}
int SkinnedSetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw) {
    return SetScrollInfo(window, bar, info, redraw);
}
int SkinnedSetScrollPos(HWND window, int bar, int position, BOOL redraw) {
    return SetScrollPos(window, bar, position, redraw);
}
BOOL SkinnedSetScrollRange(HWND window, int bar, int minimum, int maximum, BOOL redraw) {
    return SetScrollRange(window, bar, minimum, maximum, redraw);
}
BOOL SkinnedShowScrollBar(HWND window, int which, BOOL show) { return ShowScrollBar(window, which, show); }
