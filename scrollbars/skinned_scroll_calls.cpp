// The eight scroll-bar calls answered from and into the skinned bars'
// records. None of these may call the system's own scroll functions: once
// those are redirected, such a call would come straight back here.
#include "scrollbars/skinned_scroll_calls.h"

#include "scrollbars/portable/scroll_interaction_rules.h"
#include "scrollbars/skinned_scroll_internal.h"

namespace {

// SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED
constexpr UINT kFrameChanged = 0x37;

void ChangeFrame(HWND window) { SetWindowPos(window, nullptr, 0, 0, 0, 0, kFrameChanged); }
void RepaintNonClient(HWND window) { SendMessageA(window, WM_NCPAINT, 1, 0); }

// The bar a single-bar call is about, or null.
SkinnedScrollBar* FindBar(HWND window, int bar, SkinnedScrollWindow** record = nullptr) {
    SkinnedScrollWindow* found = FindSkinnedScrollWindow(window);
    if (record != nullptr)
        *record = found;
    if (found == nullptr)
        return nullptr;
    if (bar == SB_HORZ)
        return &found->horizontal;
    if (bar == SB_VERT)
        return &found->vertical;
    return nullptr;
}

void Store(SCROLLINFO& info, const ScrollInfoValues& v) {
    info.nMin = v.nMin;
    info.nMax = v.nMax;
    info.nPage = v.nPage;
    info.nPos = v.nPos;
    info.nTrackPos = v.nTrackPos;
}

bool IsWanted(const SkinnedScrollBar& bar) { return (bar.flags & kBarWanted) != 0; }

void SetWanted(HWND window, SkinnedScrollBar& bar, LONG styleBit, bool wanted) {
    if (wanted)
        bar.flags |= kBarWanted;
    else
        bar.flags &= ~kBarWanted;
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    const LONG changed = wanted ? style | styleBit : style & ~styleBit;
    if (changed != style)
        SetWindowLongA(window, GWL_STYLE, changed);
}

}  // namespace

bool SkinnedScrollCallApplies(HWND window, int bar, bool allowBoth) {
    if (!HasSkinnedScrollBars(window))
        return false;
    return bar == SB_HORZ || bar == SB_VERT || (allowBoth && bar != SB_CTL);
}

BOOL SkinnedEnableScrollBar(HWND window, UINT which, UINT arrows) {
    SkinnedScrollWindow* record = FindSkinnedScrollWindow(window);
    if (record == nullptr)
        return FALSE;
    if (which != SB_HORZ && which != SB_VERT && which != SB_BOTH)
        return TRUE;
    bool horizontalChanged = false;
    bool verticalChanged = false;
    if (which == SB_HORZ || which == SB_BOTH) {
        const uint32_t flags = FlagsWithArrows(record->horizontal.flags, arrows);
        horizontalChanged = flags != record->horizontal.flags;
        record->horizontal.flags = flags;
    }
    if (which == SB_VERT || which == SB_BOTH) {
        const uint32_t flags = FlagsWithArrows(record->vertical.flags, arrows);
        verticalChanged = flags != record->vertical.flags;
        record->vertical.flags = flags;
    }
    if (which == SB_HORZ)
        return horizontalChanged;
    if (which == SB_VERT)
        return verticalChanged;
    return horizontalChanged && verticalChanged;
}

BOOL SkinnedGetScrollInfo(HWND window, int bar, LPSCROLLINFO info) {
    const SkinnedScrollBar* found = FindBar(window, bar);
    if (found == nullptr || info == nullptr)
        return FALSE;
    ScrollInfoValues values = ScrollValues(*info);
    const int32_t result = ReadScrollInfo(ScrollValues(found->info), info->fMask, &values);
    Store(*info, values);
    return result;
}

int SkinnedGetScrollPos(HWND window, int bar) {
    const SkinnedScrollBar* found = FindBar(window, bar);
    return found != nullptr ? found->info.nPos : 0;
}

BOOL SkinnedGetScrollRange(HWND window, int bar, LPINT minimum, LPINT maximum) {
    const SkinnedScrollBar* found = FindBar(window, bar);
    if (found == nullptr || minimum == nullptr || maximum == nullptr)
        return FALSE;
    *minimum = found->info.nMin;
    *maximum = found->info.nMax;
    return TRUE;
}

int SkinnedSetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw) {
    SkinnedScrollWindow* record = nullptr;
    SkinnedScrollBar* found = FindBar(window, bar, &record);
    if (found == nullptr || info == nullptr)
        return 0;
    // Stored even while the thumb is dragged; only the painting waits.
    const ScrollInfoValues values = WriteScrollInfo(ScrollValues(found->info), info->fMask, ScrollValues(*info));
    Store(found->info, values);
    const bool dragging = record->thumbTracking != 0;

    // Compared with the wanted flag, not with `shown`, which also depends
    // on room: a bar without room would be shown again at every call.
    const bool wanted = ScrollBarWantedAfter(info->fMask, values);
    const bool visibilityChanged = wanted != IsWanted(*found);
    if (visibilityChanged)
        SkinnedShowScrollBar(window, bar, wanted ? TRUE : FALSE);
    if (redraw && !dragging) {
        if (visibilityChanged)
            ChangeFrame(window);
        else
            RepaintNonClient(window);
    }
    return values.nPos;
}

int SkinnedSetScrollPos(HWND window, int bar, int position, BOOL redraw) {
    SkinnedScrollWindow* record = nullptr;
    SkinnedScrollBar* found = FindBar(window, bar, &record);
    if (found == nullptr)
        return 0;
    const int previous = found->info.nPos;
    found->info.nPos = ClampScrollPosition(ScrollValues(found->info), position);
    if (redraw && !record->thumbTracking)
        RepaintNonClient(window);
    return previous;
}

BOOL SkinnedSetScrollRange(HWND window, int bar, int minimum, int maximum, BOOL redraw) {
    SkinnedScrollWindow* record = nullptr;
    SkinnedScrollBar* found = FindBar(window, bar, &record);
    if (found == nullptr)
        return FALSE;
    // A new range in the middle of a drag would pull the thumb away from
    // the cursor; the drag keeps the range it started with.
    if (record->thumbTracking)
        return found->info.nPos;
    found->info.nMin = minimum;
    found->info.nMax = maximum;
    if (minimum == maximum)
        SkinnedShowScrollBar(window, bar, FALSE);
    if (redraw)
        RepaintNonClient(window);
    return TRUE;
}

BOOL SkinnedShowScrollBar(HWND window, int which, BOOL show) {
    SkinnedScrollWindow* record = FindSkinnedScrollWindow(window);
    if (record == nullptr)
        return FALSE;
    const bool wanted = show == 1;
    if (which == SB_HORZ || which == SB_BOTH)
        SetWanted(window, record->horizontal, WS_HSCROLL, wanted);
    if (which == SB_VERT || which == SB_BOTH)
        SetWanted(window, record->vertical, WS_VSCROLL, wanted);
    ChangeFrame(window);
    return TRUE;
}
