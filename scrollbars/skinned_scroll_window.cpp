// Attaching skinned scroll bars to a window, their set-up calls, the
// subclass procedure and the room the bars take at WM_NCCALCSIZE.
#include "scrollbars/skinned_scroll_interaction.h"
#include "scrollbars/skinned_scroll_internal.h"

#include <initializer_list>

#include "ui/framework/window_property_cache.h"

namespace {

constexpr LONG kScrollStyles = WS_HSCROLL | WS_VSCROLL;
// SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED
constexpr UINT kFrameChanged = 0x37;
constexpr UINT kScrollInfoMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

// Every message to a skinned window and every redirected scroll call looks its record up.
WindowPropertyCache g_skinnedScrollRecords(kSkinnedScrollProperty);

void ChangeFrame(HWND window) { SetWindowPos(window, nullptr, 0, 0, 0, 0, kFrameChanged); }

void FillFromSystem(HWND window, int which, SCROLLINFO& info) {
    info.cbSize = sizeof(SCROLLINFO);
    info.fMask = kScrollInfoMask;
    GetScrollInfo(window, which, &info);
    info.cbSize = sizeof(SCROLLINFO);
    info.fMask = kScrollInfoMask;
}

bool SizeRefused(int size) { return size == 0 || size < -8 || size > 256; }

// Applies `apply` to the bars chosen by 0 (horizontal), 1 (vertical) or 3 (both).
template <typename Apply>
void ForChosenBars(SkinnedScrollWindow* record, int bars, Apply apply) {
    if (bars == 0 || bars == 3)
        apply(record->horizontal);
    if (bars == 1 || bars == 3)
        apply(record->vertical);
}

LRESULT LayoutNonClientArea(HWND window, SkinnedScrollWindow* record, WPARAM first, LPARAM second) {
    // Both forms of the message start with the proposed client rectangle.
    RECT* rect = reinterpret_cast<RECT*>(second);
    const RECT proposed = *rect;
    const LRESULT result = CallWithoutScrollStyles(window, record, WM_NCCALCSIZE, first, second);

    const BarLayoutInput horizontal{record->horizontal.flags, SkinnedBarSize(record->horizontal).thickness};
    const BarLayoutInput vertical{record->vertical.flags, SkinnedBarSize(record->vertical).thickness};
    const NonClientLayout layout =
        LayoutNonClient(FromRECT(proposed), FromRECT(*rect), horizontal, vertical, record->leftScrollBar != 0);
    record->borderLeft = layout.borderLeft;
    record->borderRight = layout.borderRight;
    record->borderTop = layout.borderTop;
    record->borderBottom = layout.borderBottom;
    record->horizontal.shown = layout.horizontalShown ? 1 : 0;
    record->vertical.shown = layout.verticalShown ? 1 : 0;
    *rect = ToRECT(layout.client);
    return result;
}

}  // namespace

BarSize SkinnedBarSize(const SkinnedScrollBar& bar) {
    const ScrollMetrics metrics{GetSystemMetrics(SM_CXHSCROLL), GetSystemMetrics(SM_CYHSCROLL),
                                GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYVSCROLL)};
    return ResolveBarSize(bar.type, bar.arrowLength, bar.thickness, metrics);
}

ScrollInfoValues ScrollValues(const SCROLLINFO& info) {
    return {info.nMin, info.nMax, info.nPage, info.nPos, info.nTrackPos};
}

RECT ToRECT(const ScrollRect& r) { return {r.left, r.top, r.right, r.bottom}; }
ScrollRect FromRECT(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BarRects SkinnedBarScreenRects(HWND window, const SkinnedScrollWindow& record) {
    RECT windowRect;
    GetWindowRect(window, &windowRect);
    BarPlacement placement{};
    placement.window = FromRECT(windowRect);
    placement.borderLeft = record.borderLeft;
    placement.borderRight = record.borderRight;
    placement.borderTop = record.borderTop;
    placement.borderBottom = record.borderBottom;
    placement.horizontalThickness = record.horizontal.shown ? SkinnedBarSize(record.horizontal).thickness : 0;
    placement.verticalThickness = record.vertical.shown ? SkinnedBarSize(record.vertical).thickness : 0;
    placement.leftScrollBar = record.leftScrollBar != 0;
    return ComputeBarRects(placement);
}

LRESULT CallWithoutScrollStyles(HWND window, SkinnedScrollWindow* record, UINT message, WPARAM first,
                                LPARAM second) {
    const WNDPROC previous = record->previousWindowProcedure;
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    const LONG hidden = style & kScrollStyles;
    if (hidden != 0) {
        record->suppressStyleChange = 1;
        SetWindowLongA(window, GWL_STYLE, style & ~kScrollStyles);
    }
    const LRESULT result = CallWindowProcA(previous, window, message, first, second);
    if (hidden != 0) {
        SetWindowLongA(window, GWL_STYLE, GetWindowLongA(window, GWL_STYLE) | hidden);
        record->suppressStyleChange = 0;
    }
    return result;
}

void ClaimSkinnedScrollLookups() { g_skinnedScrollRecords.ClaimOwner(); }

SkinnedScrollWindow* FindSkinnedScrollWindow(HWND window) {
    return static_cast<SkinnedScrollWindow*>(g_skinnedScrollRecords.Find(window));
}

int HasSkinnedScrollBars(HWND window) { return FindSkinnedScrollWindow(window) != nullptr ? 1 : 0; }

int AttachSkinnedScrollBars(HWND window) {
    if (FindSkinnedScrollWindow(window) != nullptr)
        return 0;
    auto* record = static_cast<SkinnedScrollWindow*>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(SkinnedScrollWindow)));
    if (record == nullptr)
        return 0;

    // Read while the property is absent, so these reach the system even
    // when its scroll functions are redirected to the skinned bars.
    FillFromSystem(window, SB_HORZ, record->horizontal.info);
    FillFromSystem(window, SB_VERT, record->vertical.info);
    record->leftScrollBar = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0 ? 1 : 0;

    const LONG style = GetWindowLongA(window, GWL_STYLE);
    g_skinnedScrollRecords.Set(window, record);
    if (style & WS_HSCROLL)
        record->horizontal.flags = kBarWanted;
    if (style & WS_VSCROLL)
        record->vertical.flags = kBarWanted;

    record->horizontal.type = kHorizontalBar;
    record->vertical.type = kVerticalBar;
    for (SkinnedScrollBar* bar : {&record->horizontal, &record->vertical}) {
        bar->style = kBarStyleRaised;
        bar->arrowLength = -1;
        bar->thickness = -1;
    }
    record->suppressStyleChange = 0;
    record->previousWindowProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG>(&SkinnedScrollProc)));

    // Thumbs were drawn at least 8 pixels long before Windows 2000.
    const DWORD version = GetVersion();
    const bool olderThanNt5 = (version & 0x80000000u) != 0 || LOBYTE(LOWORD(version)) < 5;
    record->horizontal.minThumbLength = olderThanNt5 ? 8 : 6;
    record->vertical.minThumbLength = olderThanNt5 ? 8 : 6;

    ChangeFrame(window);
    return 1;
}

int SetSkinnedScrollBarSize(HWND window, int bars, int arrowLength, int thickness) {
    if (SizeRefused(arrowLength) || SizeRefused(thickness))
        return 0;
    SkinnedScrollWindow* record = FindSkinnedScrollWindow(window);
    if (record == nullptr)
        return 0;
    ForChosenBars(record, bars, [&](SkinnedScrollBar& bar) {
        bar.arrowLength = arrowLength;
        bar.thickness = thickness;
    });
    ChangeFrame(window);
    return 1;
}

int SetSkinnedScrollBarStyle(HWND window, int bars, int style) {
    SkinnedScrollWindow* record = FindSkinnedScrollWindow(window);
    if (record == nullptr)
        return 0;
    ForChosenBars(record, bars, [&](SkinnedScrollBar& bar) { bar.style = style; });
    SendMessageA(window, WM_NCPAINT, 1, 0);
    return 1;
}

int DetachSkinnedScrollBars(HWND window) {
    SkinnedScrollWindow* record = FindSkinnedScrollWindow(window);
    if (record == nullptr)
        return static_cast<int>(E_FAIL);
    // Timers of the interaction would otherwise keep reaching the window.
    EndSkinnedScrollInteraction(window);
    SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG>(record->previousWindowProcedure));
    g_skinnedScrollRecords.Remove(window);
    HeapFree(GetProcessHeap(), 0, record);
    ChangeFrame(window);
    return 0;
}

LRESULT CALLBACK SkinnedScrollProc(HWND window, UINT message, WPARAM first, LPARAM second) {
    SkinnedScrollWindow* record = FindSkinnedScrollWindow(window);
    if (record == nullptr)
        return DefWindowProcA(window, message, first, second);
    const WNDPROC previous = record->previousWindowProcedure;

    switch (message) {
    case WM_NCCALCSIZE:
        return LayoutNonClientArea(window, record, first, second);
    case WM_NCPAINT:
        return PaintSkinnedNonClient(window, record, first);

    // The mouse interaction: hit codes HTHSCROLL and HTVSCROLL for the bars,
    // presses with capture and auto-repeat, thumb dragging, hover tracking,
    // the repeat and hover timers, and the loss of the capture.
    case WM_NCHITTEST:
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:  // on a bar, a second press
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_TIMER:
    case WM_CAPTURECHANGED: {
        LRESULT result = 0;
        if (HandleSkinnedScrollMouse(window, record, message, first, second, &result))
            return result;
        break;
    }

    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
        if (first == HTHSCROLL || first == HTVSCROLL)
            return 0;
        break;
    case WM_STYLECHANGED:
        if (record->suppressStyleChange)
            return 0;
        if (static_cast<int>(first) == GWL_EXSTYLE) {
            const auto* change = reinterpret_cast<const STYLESTRUCT*>(second);
            record->leftScrollBar = (change->styleNew & WS_EX_LEFTSCROLLBAR) != 0 ? 1 : 0;
        }
        break;
    case WM_NCDESTROY:
        DetachSkinnedScrollBars(window);
        return CallWindowProcA(previous, window, message, first, second);
    default:
        break;
    }
    return CallWindowProcA(previous, window, message, first, second);
}
