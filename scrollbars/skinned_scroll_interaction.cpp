// Mouse handling of the skinned scroll bars. Arrows and track parts send
// WM_HSCROLL / WM_VSCROLL to the window itself and repeat while held; the
// thumb follows the cursor within a snap zone; flat bars light up the part
// under the cursor, polled by a timer since non-client areas get no
// mouse-leave of their own.
#include "scrollbars/skinned_scroll_interaction.h"

#include "scrollbars/portable/scroll_interaction_rules.h"
#include "scrollbars/skinned_scroll_internal.h"

// The one mouse interaction of the process.
ScrollInteraction g_scrollInteraction;

namespace {

constexpr UINT kFirstRepeatDelay = 300;
constexpr UINT kRepeatInterval = 55;
constexpr UINT kHoverInterval = 20;

// Scroll request codes.
constexpr WORD kScrollThumbPosition = 4;  // SB_THUMBPOSITION
constexpr WORD kScrollThumbTrack = 5;     // SB_THUMBTRACK
constexpr WORD kScrollEnd = 8;            // SB_ENDSCROLL

// The window the hover timer runs on; the hover may move on to another
// window (trackedWindow) before the timer finds the cursor gone.
HWND g_hoverWindow = nullptr;
// Set around our own ReleaseCapture, whose WM_CAPTURECHANGED is no loss.
bool g_releasingCapture = false;

ScrollInteraction& Interaction() { return g_scrollInteraction; }

bool IsBarType(int32_t type) { return type == kHorizontalBar || type == kVerticalBar; }

SkinnedScrollBar& BarOf(SkinnedScrollWindow* record, int32_t type) {
    return type == kHorizontalBar ? record->horizontal : record->vertical;
}

ScrollRect ScreenRectOf(HWND window, const SkinnedScrollWindow& record, int32_t type) {
    const BarRects rects = SkinnedBarScreenRects(window, record);
    return type == kHorizontalBar ? rects.horizontal : rects.vertical;
}

bool Contains(const ScrollRect& r, const ScrollPoint& p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// Message positions are two signed 16-bit values.
ScrollPoint PointOf(LPARAM second) {
    return {static_cast<int16_t>(LOWORD(second)), static_cast<int16_t>(HIWORD(second))};
}

ScrollPoint CursorPoint() {
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    return {cursor.x, cursor.y};
}

int32_t HitTestScreen(HWND window, SkinnedScrollWindow* record, int32_t type, const ScrollPoint& screen) {
    if (!IsBarType(type))
        return kPartNone;
    const SkinnedScrollBar& bar = BarOf(record, type);
    return HitTestBar(ToWorking(type, ScreenRectOf(window, *record, type)), ToWorking(type, screen),
                      SkinnedBarSize(bar).arrowLength, ScrollValues(bar.info), bar.minThumbLength);
}

void SendScroll(HWND window, UINT message, WORD code, int32_t position) {
    SendMessageA(window, message, MAKEWPARAM(code, static_cast<WORD>(position)), 0);
}

bool IsArrowOrTrack(int32_t part) { return part >= kPartUpArrow && part <= kPartTrackAfter; }

// Nothing held any more; the window is left to the caller.
void ForgetHeldPart() {
    ScrollInteraction& in = Interaction();
    in.clickedPart = kPartNone;
    in.pressedPart = kPartNone;
    in.pressedBar = -1;
    in.repeatTimer = 0;
    in.scrollMessage = 0;
}

// A part is held on the window that took the last press.
bool HoldsPart(HWND window) {
    const ScrollInteraction& in = Interaction();
    return in.clickedPart != kPartNone && window != nullptr && window == in.trackedWindow;
}

// Track before, thumb and track after of a dragged thumb starting at
// `thumbStart`, painted at once; the arrows stay as they are.
void PaintDraggedThumb(HWND window, SkinnedScrollBar& bar, const ThumbDrag& drag, int32_t thumbStart) {
    if (!bar.shown)
        return;
    RECT windowRect;
    GetWindowRect(window, &windowRect);
    HDC hdc = GetWindowDC(window);
    if (hdc == nullptr)
        return;
    const int32_t thumbEnd = thumbStart + drag.thumbLength;
    const struct {
        int32_t part;
        int32_t begin;
        int32_t end;
        int32_t state;
    } items[3] = {{kPartTrackBefore, drag.bar.left + drag.arrowLength, thumbStart, kItemNormal},
                  {kPartTrackAfter, thumbEnd, drag.bar.right - drag.arrowLength, kItemNormal},
                  {kPartThumb, thumbStart, thumbEnd, kItemPressed}};

    const UINT barCode = static_cast<UINT>(bar.type);
    const bool parentPaints =
        NotifySkinnedScroll(window, hdc, kSkinScrollPrePaint, barCode, nullptr, 0, 0) == kSkinScrollParentPaints;
    for (const auto& item : items) {
        const ScrollRect screen = ToWorking(bar.type, ScrollRect{item.begin, drag.bar.top, item.end, drag.bar.bottom});
        const RECT rect = {screen.left - windowRect.left, screen.top - windowRect.top, screen.right - windowRect.left,
                           screen.bottom - windowRect.top};
        if (parentPaints)
            NotifySkinnedScroll(window, hdc, kSkinScrollItemPaint, barCode, &rect, static_cast<UINT>(item.part),
                                static_cast<UINT>(item.state));
        else
            DrawSkinnedItem(hdc, bar, item.part, rect, item.state, false);
    }
    NotifySkinnedScroll(window, hdc, kSkinScrollPostPaint, barCode, nullptr, 0, 0);
    ReleaseDC(window, hdc);
}

void DragThumb(HWND window, SkinnedScrollWindow* record, const ScrollPoint& screen) {
    ScrollInteraction& in = Interaction();
    const int32_t type = in.pressedBar;
    if (!IsBarType(type))
        return;
    SkinnedScrollBar& bar = BarOf(record, type);
    ThumbDrag drag{};
    drag.bar = ToWorking(type, FromRECT(in.dragBarRect));
    drag.arrowLength = SkinnedBarSize(bar).arrowLength;
    drag.thumbLength = in.dragThumbLength;
    drag.thumbStart = in.dragThumbStart;
    drag.offset = in.dragOffset;

    const int32_t thumbStart = DraggedThumbStart(drag, ToWorking(type, screen));
    PaintDraggedThumb(window, bar, drag, thumbStart);
    const int32_t position = DraggedThumbPosition(drag, thumbStart, ScrollValues(bar.info));
    if (position != in.lastThumbPos) {
        bar.info.nTrackPos = position;
        in.lastThumbPos = position;
        SendScroll(window, in.scrollMessage, kScrollThumbTrack, position);
    }
}

// The cursor moved (or the repeat timer asks where it is) while a part is held.
void FollowCursor(HWND window, SkinnedScrollWindow* record, const ScrollPoint& screen) {
    if (record->thumbTracking) {
        DragThumb(window, record, screen);
        return;
    }
    ScrollInteraction& in = Interaction();
    const int32_t hit = HitTestScreen(window, record, in.pressedBar, screen);
    in.pressedPart = hit == in.clickedPart ? in.clickedPart : kPartNone;
    if (hit != in.lastHitPart && IsBarType(in.pressedBar))
        RepaintSkinnedBar(window, record, in.pressedBar, in.pressedPart);
    in.lastHitPart = hit;
}

bool Press(HWND window, SkinnedScrollWindow* record, WPARAM hitCode, LPARAM second) {
    ScrollInteraction& in = Interaction();
    in.trackedWindow = window;
    int32_t type;
    UINT message;
    if (hitCode == HTHSCROLL) {
        type = kHorizontalBar;
        message = WM_HSCROLL;
    } else if (hitCode == HTVSCROLL) {
        type = kVerticalBar;
        message = WM_VSCROLL;
    } else {
        in.clickedPart = kPartNone;
        return false;
    }
    const ScrollPoint point = PointOf(second);
    const int32_t part = HitTestScreen(window, record, type, point);
    in.scrollMessage = message;
    in.pressedBar = type;
    in.clickedPart = part;
    SkinnedScrollBar& bar = BarOf(record, type);

    // A disabled arrow swallows the press. Nothing is held afterwards, so
    // the window's own mouse moves and button-up keep reaching it.
    if ((part == kPartUpArrow && (bar.flags & kBarUpArrowDisabled)) ||
        (part == kPartDownArrow && (bar.flags & kBarDownArrowDisabled))) {
        ForgetHeldPart();
        return true;
    }
    const bool active = IsBarActive(bar.flags, ScrollValues(bar.info));

    if (part == kPartThumb) {
        if (!active) {
            ForgetHeldPart();
            return true;
        }
        const ScrollRect screen = ScreenRectOf(window, *record, type);
        const ThumbGeometry thumb = ComputeThumb(ToWorking(type, screen), SkinnedBarSize(bar).arrowLength,
                                                 ScrollValues(bar.info), bar.minThumbLength);
        in.dragThumbLength = thumb.length;
        in.dragThumbStart = thumb.start;
        in.dragBarRect = ToRECT(screen);
        record->thumbTracking = 1;
        bar.info.nTrackPos = bar.info.nPos;
        in.dragOffset = ToWorking(type, point).x - thumb.start;
        // Sure to differ from the first position the drag computes (unless 0).
        in.lastThumbPos = static_cast<int32_t>(0u - static_cast<uint32_t>(bar.info.nPos));
        // Drawn pressed by any repaint until the release.
        in.pressedPart = kPartThumb;
        in.lastHitPart = kPartThumb;
        RepaintSkinnedBar(window, record, type, kPartThumb);
        SetCapture(window);
        return true;
    }
    if (part == kPartNone) {
        ForgetHeldPart();
        return false;
    }

    if (active) {
        SendScroll(window, message, static_cast<WORD>(part), 0);
        record = FindSkinnedScrollWindow(window);
        if (record == nullptr) {
            ForgetHeldPart();
            return true;
        }
        // The scroll may have brought the thumb under the cursor.
        const int32_t hit = HitTestScreen(window, record, type, point);
        in.lastHitPart = hit;
        in.pressedPart = hit == part ? part : kPartNone;
        RepaintSkinnedBar(window, record, type, in.pressedPart);
        const bool started = SetTimer(window, kScrollFirstRepeatTimer, kFirstRepeatDelay, nullptr) != 0;
        in.repeatTimer = started ? kScrollFirstRepeatTimer : 0;
    } else {
        in.lastHitPart = part;
    }
    SetCapture(window);
    return true;
}

bool Release(HWND window, SkinnedScrollWindow* record) {
    ScrollInteraction& in = Interaction();
    if (in.clickedPart == kPartNone)
        return false;
    const int32_t part = in.clickedPart;
    const int32_t type = in.pressedBar;
    const UINT message = in.scrollMessage;

    g_releasingCapture = true;
    ReleaseCapture();
    g_releasingCapture = false;
    if (IsArrowOrTrack(part) && in.repeatTimer != 0)
        KillTimer(window, in.repeatTimer);
    if (!IsArrowOrTrack(part) && part != kPartThumb) {
        ForgetHeldPart();
        return true;
    }
    if (record->thumbTracking) {
        // The last position reported, or the one held at the press when the
        // thumb never moved: the press marks its own with the negated position,
        // which a list box reads as a far position and jumps to.
        const SkinnedScrollBar& held = type == kHorizontalBar ? record->horizontal : record->vertical;
        SendScroll(window, message, kScrollThumbPosition, held.info.nTrackPos);
        record = FindSkinnedScrollWindow(window);
        if (record != nullptr)
            record->thumbTracking = 0;
    }
    SendScroll(window, message, kScrollEnd, 0);
    ForgetHeldPart();
    record = FindSkinnedScrollWindow(window);
    if (record != nullptr && IsBarType(type))
        RepaintSkinnedBar(window, record, type, kPartNone);
    return true;
}

// Another window took the capture while a part was held: end the held part
// as a release would, without the closing thumb position (the window has
// already followed the thumb), so no timer keeps firing and nothing stays
// drawn pressed.
void LoseCapture(HWND window, SkinnedScrollWindow* record, HWND newCapture) {
    ScrollInteraction& in = Interaction();
    if (g_releasingCapture || !HoldsPart(window) || newCapture == window)
        return;
    const int32_t part = in.clickedPart;
    const int32_t type = in.pressedBar;
    const UINT message = in.scrollMessage;
    if (in.repeatTimer != 0)
        KillTimer(window, in.repeatTimer);
    record->thumbTracking = 0;
    ForgetHeldPart();
    if (IsArrowOrTrack(part) || part == kPartThumb)
        SendScroll(window, message, kScrollEnd, 0);
    record = FindSkinnedScrollWindow(window);
    if (record != nullptr && IsBarType(type))
        RepaintSkinnedBar(window, record, type, kPartNone);
}

void StartHover(HWND window, SkinnedScrollWindow* record, WPARAM hitCode) {
    ScrollInteraction& in = Interaction();
    in.trackedWindow = window;
    int32_t type;
    if (hitCode == HTHSCROLL && in.hoverBar != kHorizontalBar)
        type = kHorizontalBar;
    else if (hitCode == HTVSCROLL && in.hoverBar != kVerticalBar)
        type = kVerticalBar;
    else
        return;
    in.hoverPart = kPartNone;
    in.prevHoverPart = kPartNone;
    in.hoverRect = ToRECT(ScreenRectOf(window, *record, type));
    in.hoverBar = type;
    // One hover at a time: a timer left on another window would outlive it.
    if (g_hoverWindow != nullptr && g_hoverWindow != window)
        KillTimer(g_hoverWindow, kScrollHoverTimer);
    g_hoverWindow = window;
    in.hoverTimer = SetTimer(window, kScrollHoverTimer, kHoverInterval, nullptr) != 0 ? kScrollHoverTimer : 0;
    PaintSkinnedNonClient(window, record, 1);
}

// The hover timer stops and nothing is hot any more.
void EndHover(HWND window) {
    ScrollInteraction& in = Interaction();
    KillTimer(window, kScrollHoverTimer);
    in.hoverBar = -1;
    in.hoverPart = kPartNone;
    in.prevHoverPart = kPartNone;
    in.hoverTimer = 0;
    g_hoverWindow = nullptr;
}

void PollHover(HWND window, SkinnedScrollWindow* record) {
    ScrollInteraction& in = Interaction();
    if (record->thumbTracking)
        return;
    const ScrollPoint cursor = CursorPoint();
    if (!Contains(FromRECT(in.hoverRect), cursor)) {
        EndHover(window);
        PaintSkinnedNonClient(window, record, 1);
        return;
    }
    if (!IsBarType(in.hoverBar))
        return;
    in.hoverPart = HitTestScreen(window, record, in.hoverBar, cursor);
    if (in.hoverPart != in.prevHoverPart)
        RepaintSkinnedBar(window, record, in.hoverBar,
                          in.pressedBar == in.hoverBar ? in.pressedPart : kPartNone);
    in.prevHoverPart = in.hoverPart;
}

bool Timer(HWND window, SkinnedScrollWindow* record, UINT_PTR id) {
    ScrollInteraction& in = Interaction();
    if (id == kScrollFirstRepeatTimer && in.repeatTimer == kScrollFirstRepeatTimer) {
        KillTimer(window, kScrollFirstRepeatTimer);
        in.repeatTimer = SetTimer(window, kScrollRepeatTimer, kRepeatInterval, nullptr) != 0 ? kScrollRepeatTimer : 0;
        return true;
    }
    if (id == kScrollRepeatTimer && in.repeatTimer == kScrollRepeatTimer) {
        FollowCursor(window, record, CursorPoint());
        if (in.pressedPart != kPartNone && in.scrollMessage != 0)
            SendScroll(window, in.scrollMessage, static_cast<WORD>(in.pressedPart), 0);
        return true;
    }
    if (id == kScrollHoverTimer && in.hoverTimer != 0) {
        PollHover(window, record);
        return true;
    }
    return false;
}

}  // namespace

void EndSkinnedScrollInteraction(HWND window) {
    ScrollInteraction& in = Interaction();
    if (HoldsPart(window)) {
        if (in.repeatTimer != 0)
            KillTimer(window, in.repeatTimer);
        if (SkinnedScrollWindow* record = FindSkinnedScrollWindow(window))
            record->thumbTracking = 0;
        ForgetHeldPart();
        if (GetCapture() == window)
            ReleaseCapture();
    }
    if (window != nullptr && window == g_hoverWindow) {
        EndHover(window);
    }
}

bool HandleSkinnedScrollMouse(HWND window, SkinnedScrollWindow* record, UINT message, WPARAM first, LPARAM second,
                              LRESULT* result) {
    *result = 0;
    switch (message) {
    case WM_NCHITTEST: {
        const ScrollPoint point = PointOf(second);
        const BarRects rects = SkinnedBarScreenRects(window, *record);
        if (record->horizontal.shown && Contains(rects.horizontal, point)) {
            *result = HTHSCROLL;
            return true;
        }
        if (record->vertical.shown && Contains(rects.vertical, point)) {
            *result = HTVSCROLL;
            return true;
        }
        return false;
    }
    case WM_NCMOUSEMOVE:
        StartHover(window, record, first);
        return false;
    case WM_NCLBUTTONDOWN:
        return Press(window, record, first, second);
    case WM_NCLBUTTONDBLCLK:
        if (first != HTHSCROLL && first != HTVSCROLL)
            return false;
        return Press(window, record, first, second);
    case WM_MOUSEMOVE: {
        if (!record->thumbTracking && Interaction().clickedPart == kPartNone)
            return false;
        // The message's own position (client coordinates of the capturing
        // window), which is also right when the message was sent.
        POINT point = {static_cast<int16_t>(LOWORD(second)), static_cast<int16_t>(HIWORD(second))};
        ClientToScreen(window, &point);
        FollowCursor(window, record, {point.x, point.y});
        return true;
    }
    case WM_LBUTTONUP:
        return Release(window, record);
    case WM_TIMER:
        return Timer(window, record, first);
    case WM_CAPTURECHANGED:
        LoseCapture(window, record, reinterpret_cast<HWND>(second));
        return false;
    default:
        return false;
    }
}
