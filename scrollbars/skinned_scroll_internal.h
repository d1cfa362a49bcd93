// Pieces shared by the files of the skinned scroll bars: sizes and
// rectangles of an attached window's bars, the painting routines and the
// custom-draw notification, for the window procedure and the mouse handling.
#pragma once

#include "scrollbars/skinned_scroll_bars.h"

// Resolved pixel sizes of a bar, from the current system metrics.
BarSize SkinnedBarSize(const SkinnedScrollBar& bar);

ScrollInfoValues ScrollValues(const SCROLLINFO& info);

// Screen rectangles of both bars and the corner box, from the window
// rectangle and the borders measured at the last WM_NCCALCSIZE.
BarRects SkinnedBarScreenRects(HWND window, const SkinnedScrollWindow& record);
RECT ToRECT(const ScrollRect& rect);
ScrollRect FromRECT(const RECT& rect);

// Calls the previous procedure with WS_HSCROLL and WS_VSCROLL hidden from the
// window style (and WM_STYLECHANGED swallowed meanwhile).
LRESULT CallWithoutScrollStyles(HWND window, SkinnedScrollWindow* record, UINT message, WPARAM first,
                                LPARAM second);

// Sends the custom-draw notification to the window's parent. Stage 1 and 2
// leave rect, item and state zero and go with first 0; items with first = id.
LRESULT NotifySkinnedScroll(HWND window, HDC hdc, UINT stage, UINT bar, const RECT* rect, UINT item, UINT state);

// Default painting of one item (arrow, track part or thumb) of a bar in
// window coordinates.
void DrawSkinnedItem(HDC hdc, const SkinnedScrollBar& bar, int32_t part, const RECT& rect, int32_t state,
                     bool inactive);

// Paints one bar whose rectangle is given in window coordinates; pressedPart
// kPartNone for nothing pressed. Returns 1 when the parent painted the items.
int PaintSkinnedBar(HWND window, SkinnedScrollBar* bar, HDC hdc, const RECT& barRect, int32_t pressedPart);

// The WM_NCPAINT routine; region as WM_NCPAINT's first.
LRESULT PaintSkinnedNonClient(HWND window, SkinnedScrollWindow* record, WPARAM region);

// Repaints one bar of the window at once, in its own window DC.
void RepaintSkinnedBar(HWND window, SkinnedScrollWindow* record, int32_t type, int32_t pressedPart);
