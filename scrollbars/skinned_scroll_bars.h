// Scroll bars that live in a window's non-client area and are laid out,
// painted and kept by the plugin instead of the system. The window is
// subclassed; its parent may paint the parts itself through a WM_NOTIFY
// custom-draw protocol (NMSKINSCROLLDRAW).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "scrollbars/portable/scroll_geometry.h"

// Window property holding the SkinnedScrollWindow of an attached window.
constexpr char kSkinnedScrollProperty[] = "Vistello_SkinSBSubclassPtr";

struct SkinnedScrollBar {
    uint32_t flags;          // kBarUpArrowDisabled | kBarDownArrowDisabled | kBarWanted
    int32_t shown;           // wanted and had room at the last WM_NCCALCSIZE
    SCROLLINFO info;         // cbSize 28, fMask 0x17
    int32_t arrowLength;     // pixels, or -k for k times the system metric
    int32_t thickness;       // pixels, or -k for k times the system metric
    int32_t type;            // kHorizontalBar or kVerticalBar
    int32_t style;           // kBarStyleRaised, kBarStyleFlat or kBarStyleFlatHover
    int32_t minThumbLength;
};

struct SkinnedScrollWindow {
    WNDPROC previousWindowProcedure;
    SkinnedScrollBar horizontal;
    SkinnedScrollBar vertical;
    int32_t thumbTracking;        // a thumb of one of the bars is being dragged
    int32_t leftScrollBar;        // WS_EX_LEFTSCROLLBAR: vertical bar at the left edge
    int32_t borderLeft;           // non-client widths without scroll bars,
    int32_t borderRight;          // measured at every WM_NCCALCSIZE
    int32_t borderTop;
    int32_t borderBottom;
    int32_t suppressStyleChange;  // scroll style bits are stripped for the moment
};

static_assert(sizeof(SCROLLINFO) == 28, "SCROLLINFO is the platform's 28-byte layout");

// The custom-draw notification sent to the skinned window's parent.
constexpr UINT NM_SKINSCROLL_CUSTOMDRAW = static_cast<UINT>(-4095);

// drawStage values.
constexpr UINT kSkinScrollPrePaint = 1;       // a bar is about to be painted
constexpr UINT kSkinScrollPostPaint = 2;      // a bar has been painted
constexpr UINT kSkinScrollItemPaint = 0x10001;
// Answer to the pre-paint stage: the parent paints every item of that bar.
constexpr LRESULT kSkinScrollParentPaints = 4;
// bar value of the corner box.
constexpr UINT kSkinScrollCornerBar = 3;

struct NMSKINSCROLLDRAW {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;       // NM_SKINSCROLL_CUSTOMDRAW
    UINT drawStage;  // kSkinScrollPrePaint, kSkinScrollPostPaint or kSkinScrollItemPaint
    HDC hdc;         // whole-window DC, origin at the window's top-left corner
    RECT rect;       // item, window coordinates
    UINT item;       // kPartUpArrow ... kPartThumb, kPartCornerBox
    UINT state;      // kItemPressed, kItemHot, kItemDisabled or kItemNormal
    UINT bar;        // kHorizontalBar, kVerticalBar or kSkinScrollCornerBar
};

static_assert(sizeof(NMSKINSCROLLDRAW) == 48, "parents read the notification as this 48-byte layout");
static_assert(offsetof(NMSKINSCROLLDRAW, hwndFrom) == 0, "parents read the notification as this 48-byte layout");
static_assert(offsetof(NMSKINSCROLLDRAW, idFrom) == 4, "parents read the notification as this 48-byte layout");
static_assert(offsetof(NMSKINSCROLLDRAW, code) == 8, "parents read the notification as this 48-byte layout");
static_assert(offsetof(NMSKINSCROLLDRAW, drawStage) == 12, "parents read the notification as this 48-byte layout");
static_assert(offsetof(NMSKINSCROLLDRAW, hdc) == 16, "parents read the notification as this 48-byte layout");
static_assert(offsetof(NMSKINSCROLLDRAW, rect) == 20, "parents read the notification as this 48-byte layout");
static_assert(offsetof(NMSKINSCROLLDRAW, item) == 36, "parents read the notification as this 48-byte layout");
static_assert(offsetof(NMSKINSCROLLDRAW, state) == 40, "parents read the notification as this 48-byte layout");
static_assert(offsetof(NMSKINSCROLLDRAW, bar) == 44, "parents read the notification as this 48-byte layout");

// Timers of the mouse interaction, set on the skinned window.
constexpr UINT_PTR kScrollFirstRepeatTimer = 0xFFFD;  // 300 ms
constexpr UINT_PTR kScrollRepeatTimer = 0xFFFE;       // 55 ms
constexpr UINT_PTR kScrollHoverTimer = 0xFFFFFFF2;    // 20 ms

// The one mouse interaction of the process. Painting reads trackedWindow,
// pressedBar/pressedPart and the hover fields; only the tracked window ever
// paints pressed or hot parts. Never reset when a window is detached.
struct ScrollInteraction {
    HWND trackedWindow = nullptr;
    int32_t pressedBar = -1;
    int32_t clickedPart = -1;
    int32_t pressedPart = -1;
    int32_t lastHitPart = 0;
    UINT scrollMessage = 0;       // WM_HSCROLL or WM_VSCROLL while a part is held
    UINT_PTR repeatTimer = 0;
    int32_t hoverBar = -1;
    int32_t hoverPart = -1;
    int32_t prevHoverPart = -1;
    RECT hoverRect = {0, 0, 0, 0};     // screen
    UINT_PTR hoverTimer = 0;
    RECT dragBarRect = {0, 0, 0, 0};   // screen
    int32_t dragThumbLength = 0;
    int32_t dragThumbStart = 0;
    int32_t dragOffset = 0;
    int32_t lastThumbPos = -1;
};

extern ScrollInteraction g_scrollInteraction;

// Gives the window skinned scroll bars: 1, or 0 when it already has them.
int AttachSkinnedScrollBars(HWND window);
// bars: 0 horizontal, 1 vertical, 3 both. Sizes: pixels, or -k for k times the
// system metric; 0, below -8 or above 256 is refused (0).
int SetSkinnedScrollBarSize(HWND window, int bars, int arrowLength, int thickness);
// bars as above; style kBarStyleRaised, kBarStyleFlat or kBarStyleFlatHover.
int SetSkinnedScrollBarStyle(HWND window, int bars, int style);
// 0, or E_FAIL when the window has no skinned bars.
int DetachSkinnedScrollBars(HWND window);
int HasSkinnedScrollBars(HWND window);
// The interface thread's lookups of skinned windows are remembered from now on.
void ClaimSkinnedScrollLookups();
LRESULT CALLBACK SkinnedScrollProc(HWND window, UINT message, WPARAM first, LPARAM second);

// The record of an attached window, or null. The scroll calls of the system
// functions are answered from and into its bars' info and flags.
SkinnedScrollWindow* FindSkinnedScrollWindow(HWND window);
