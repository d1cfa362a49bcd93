// The eight scroll-bar calls answered from the skinned bars' records, for a
// window that has skinned bars. The redirection sends a call here when
// `SkinnedScrollCallApplies` says so, and to the platform otherwise.
#pragma once

#include <windows.h>

// True when `window` has skinned bars and `bar` is SB_HORZ or SB_VERT, or,
// for ShowScrollBar and EnableScrollBar (`allowBoth`), anything but SB_CTL.
bool SkinnedScrollCallApplies(HWND window, int bar, bool allowBoth);

BOOL SkinnedEnableScrollBar(HWND window, UINT which, UINT arrows);
BOOL SkinnedGetScrollInfo(HWND window, int bar, LPSCROLLINFO info);
int SkinnedGetScrollPos(HWND window, int bar);
BOOL SkinnedGetScrollRange(HWND window, int bar, LPINT minimum, LPINT maximum);
int SkinnedSetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw);
int SkinnedSetScrollPos(HWND window, int bar, int position, BOOL redraw);
BOOL SkinnedSetScrollRange(HWND window, int bar, int minimum, int maximum, BOOL redraw);
BOOL SkinnedShowScrollBar(HWND window, int which, BOOL show);
