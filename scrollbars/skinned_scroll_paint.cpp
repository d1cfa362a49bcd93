// Painting of the skinned scroll bars at WM_NCPAINT: each bar is offered to
// the parent item by item through the custom-draw notification, or painted
// here with system colours and the platform's frame-control glyphs.
#include "scrollbars/skinned_scroll_internal.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;

COLORREF TrackLight() {
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    // A highlight that would vanish against the window colour makes a
    // checkerboard no one can see.
    if (highlight != kWhite && highlight == GetSysColor(COLOR_WINDOW))
        return GetSysColor(COLOR_BTNFACE);
    return highlight;
}

COLORREF TrackDark() { return GetSysColor(COLOR_SCROLLBAR); }

COLORREF Complement(COLORREF colour) { return ~colour & 0xFFFFFF; }

RECT ToWindowCoordinates(const ScrollRect& screen, const RECT& windowRect) {
    return {screen.left - windowRect.left, screen.top - windowRect.top, screen.right - windowRect.left,
            screen.bottom - windowRect.top};
}

void FillChecked(HDC hdc, const RECT& rect, COLORREF textColour, COLORREF backColour) {
    static const WORD kChecker[8] = {0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555};
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, kChecker);
    if (pattern == nullptr)
        return;
    HBRUSH brush = CreatePatternBrush(pattern);
    if (brush != nullptr) {
        const COLORREF oldText = SetTextColor(hdc, textColour);
        const COLORREF oldBack = SetBkColor(hdc, backColour);
        POINT oldOrigin;
        SetBrushOrgEx(hdc, rect.left, rect.top, &oldOrigin);
        FillRect(hdc, &rect, brush);
        SetBrushOrgEx(hdc, oldOrigin.x, oldOrigin.y, nullptr);
        SetBkColor(hdc, oldBack);
        SetTextColor(hdc, oldText);
        DeleteObject(brush);
    }
    DeleteObject(pattern);
}

// A flat arrow is drawn off-screen first; pressed and hot arrows keep only
// the glyph's shape, white on a dark background.
void DrawFlatArrow(HDC hdc, const RECT& rect, UINT controlState, int32_t state) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    HDC memory = CreateCompatibleDC(hdc);
    HBITMAP picture = CreateCompatibleBitmap(hdc, width, height);
    if (memory == nullptr || picture == nullptr) {
        if (picture != nullptr)
            DeleteObject(picture);
        if (memory != nullptr)
            DeleteDC(memory);
        return;
    }
    HGDIOBJ oldPicture = SelectObject(memory, picture);
    RECT local = {0, 0, width, height};
    DrawFrameControl(memory, &local, DFC_SCROLL, controlState);

    if (state == kItemPressed || state == kItemHot) {
        const COLORREF background = GetSysColor(state == kItemPressed ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW);
        HDC maskDc = CreateCompatibleDC(hdc);
        HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
        if (maskDc != nullptr && mask != nullptr) {
            HGDIOBJ oldMask = SelectObject(maskDc, mask);
            // Colour to monochrome: the glyph's pixels become 1.
            SetBkColor(memory, GetSysColor(COLOR_BTNTEXT));
            BitBlt(maskDc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
            // Monochrome to colour: 1 takes the background colour, 0 the text colour.
            const COLORREF oldText = SetTextColor(hdc, background);
            const COLORREF oldBack = SetBkColor(hdc, kWhite);
            BitBlt(hdc, rect.left, rect.top, width, height, maskDc, 0, 0, SRCCOPY);
            SetBkColor(hdc, oldBack);
            SetTextColor(hdc, oldText);
            SelectObject(maskDc, oldMask);
        }
        if (mask != nullptr)
            DeleteObject(mask);
        if (maskDc != nullptr)
            DeleteDC(maskDc);
    } else {
        BitBlt(hdc, rect.left, rect.top, width, height, memory, 0, 0, SRCCOPY);
    }
    SelectObject(memory, oldPicture);
    DeleteObject(picture);
    DeleteDC(memory);
}

void DrawArrow(HDC hdc, const SkinnedScrollBar& bar, int32_t part, const RECT& rect, int32_t state, bool inactive) {
    UINT controlState;
    if (bar.type == kVerticalBar)
        controlState = part == kPartUpArrow ? DFCS_SCROLLUP : DFCS_SCROLLDOWN;
    else
        controlState = part == kPartUpArrow ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
    if (inactive)
        controlState |= DFCS_INACTIVE;
    if (state == kItemPressed)
        controlState |= DFCS_PUSHED | DFCS_FLAT;
    if (bar.style == kBarStyleRaised) {
        RECT r = rect;
        DrawFrameControl(hdc, &r, DFC_SCROLL, controlState);
    } else {
        DrawFlatArrow(hdc, rect, controlState | DFCS_FLAT, state);
    }
}

void DrawThumb(HDC hdc, const SkinnedScrollBar& bar, const RECT& rect, int32_t state) {
    if (bar.style != kBarStyleRaised && (state == kItemPressed || state == kItemHot)) {
        FillRect(hdc, &rect, GetSysColorBrush(COLOR_BTNSHADOW));
        return;
    }
    RECT inside = rect;
    DrawEdge(hdc, &inside, EDGE_RAISED, BF_RECT | BF_ADJUST | (bar.style != kBarStyleRaised ? BF_FLAT : 0));
    FillRect(hdc, &inside, GetSysColorBrush(COLOR_BTNFACE));
}

void FillCornerBox(HWND window, const SkinnedScrollWindow& record, HDC hdc, const ScrollRect& screenBox,
                   const RECT& windowBox) {
    HWND parent = GetParent(window);
    RECT parentClient = {0, 0, 0, 0};
    bool grip = false;
    if (parent != nullptr && GetClientRect(parent, &parentClient)) {
        RECT box = ToRECT(screenBox);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&box), 2);
        const bool atBottom = box.bottom + record.borderBottom == parentClient.bottom;
        if (record.leftScrollBar)
            grip = atBottom && box.left - record.borderLeft == parentClient.left;
        else
            grip = atBottom && box.right + record.borderRight == parentClient.right;
    }
    RECT r = windowBox;
    if (grip)
        DrawFrameControl(hdc, &r, DFC_SCROLL, record.leftScrollBar ? DFCS_SCROLLSIZEGRIPRIGHT : DFCS_SCROLLSIZEGRIP);
    else
        FillRect(hdc, &r, GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace

LRESULT NotifySkinnedScroll(HWND window, HDC hdc, UINT stage, UINT bar, const RECT* rect, UINT item, UINT state) {
    NMSKINSCROLLDRAW draw = {};
    draw.hwndFrom = window;
    draw.idFrom = static_cast<UINT_PTR>(GetWindowLongA(window, GWL_ID));
    draw.code = NM_SKINSCROLL_CUSTOMDRAW;
    draw.drawStage = stage;
    draw.hdc = hdc;
    draw.bar = bar;
    WPARAM first = 0;
    if (stage == kSkinScrollItemPaint) {
        draw.rect = *rect;
        draw.item = item;
        draw.state = state;
        first = draw.idFrom;
    }
    return SendMessageA(GetParent(window), WM_NOTIFY, first, reinterpret_cast<LPARAM>(&draw));
}

void DrawSkinnedItem(HDC hdc, const SkinnedScrollBar& bar, int32_t part, const RECT& rect, int32_t state,
                     bool inactive) {
    switch (part) {
    case kPartUpArrow:
    case kPartDownArrow:
        DrawArrow(hdc, bar, part, rect, state, inactive);
        break;
    case kPartTrackBefore:
    case kPartTrackAfter:
        if (state == kItemPressed)
            FillChecked(hdc, rect, Complement(TrackLight()), Complement(TrackDark()));
        else
            FillChecked(hdc, rect, TrackLight(), TrackDark());
        break;
    case kPartThumb:
        DrawThumb(hdc, bar, rect, state);
        break;
    default:
        break;
    }
}

int PaintSkinnedBar(HWND window, SkinnedScrollBar* bar, HDC hdc, const RECT& barRect, int32_t pressedPart) {
    const ScrollRect working = ToWorking(bar->type, FromRECT(barRect));
    if (working.right - working.left <= 0)
        return 0;

    const ScrollInteraction& interaction = g_scrollInteraction;
    const bool tracked = interaction.trackedWindow == window;
    BarPaintInput input{};
    input.bar = working;
    input.arrowLength = SkinnedBarSize(*bar).arrowLength;
    input.minThumbLength = bar->minThumbLength;
    input.flags = bar->flags;
    input.info = ScrollValues(bar->info);
    input.pressedPart = tracked ? pressedPart : kPartNone;
    input.hoverPart = tracked && interaction.hoverBar == bar->type && bar->style == kBarStyleFlatHover
                          ? interaction.hoverPart
                          : kPartNone;
    const BarItems items = LayoutBarItems(input);

    const UINT barCode = static_cast<UINT>(bar->type);
    const bool parentPaints =
        NotifySkinnedScroll(window, hdc, kSkinScrollPrePaint, barCode, nullptr, 0, 0) == kSkinScrollParentPaints;
    for (int32_t i = 0; i < items.count; ++i) {
        const BarItem& item = items.items[i];
        const RECT rect = ToRECT(ToWorking(bar->type, ItemRect(working, item)));
        if (parentPaints)
            NotifySkinnedScroll(window, hdc, kSkinScrollItemPaint, barCode, &rect, static_cast<UINT>(item.part),
                                static_cast<UINT>(item.state));
        else
            DrawSkinnedItem(hdc, *bar, item.part, rect, item.state, item.inactive);
    }
    NotifySkinnedScroll(window, hdc, kSkinScrollPostPaint, barCode, nullptr, 0, 0);
    return parentPaints ? 1 : 0;
}

LRESULT PaintSkinnedNonClient(HWND window, SkinnedScrollWindow* record, WPARAM region) {
    RECT windowRect;
    GetWindowRect(window, &windowRect);
    HDC hdc = GetWindowDC(window);
    const BarRects rects = SkinnedBarScreenRects(window, *record);
    const ScrollInteraction& interaction = g_scrollInteraction;

    int parentPainted = 0;
    if (hdc != nullptr && record->horizontal.shown)
        parentPainted |= PaintSkinnedBar(window, &record->horizontal, hdc,
                                         ToWindowCoordinates(rects.horizontal, windowRect),
                                         interaction.pressedBar == kHorizontalBar ? interaction.pressedPart : kPartNone);
    if (hdc != nullptr && record->vertical.shown)
        parentPainted |= PaintSkinnedBar(window, &record->vertical, hdc,
                                         ToWindowCoordinates(rects.vertical, windowRect),
                                         interaction.pressedBar == kVerticalBar ? interaction.pressedPart : kPartNone);

    // The frame itself, drawn by the previous procedure as if there were no bars.
    const LRESULT result = CallWithoutScrollStyles(window, record, WM_NCPAINT, region, 0);

    if (hdc != nullptr && record->horizontal.shown && record->vertical.shown) {
        const RECT box = ToWindowCoordinates(rects.corner, windowRect);
        if (parentPainted)
            NotifySkinnedScroll(window, hdc, kSkinScrollItemPaint, kSkinScrollCornerBar, &box, kPartCornerBox,
                                kItemNormal);
        else
            FillCornerBox(window, *record, hdc, rects.corner, box);
    }
    if (hdc != nullptr)
        ReleaseDC(window, hdc);
    return result;
}

void RepaintSkinnedBar(HWND window, SkinnedScrollWindow* record, int32_t type, int32_t pressedPart) {
    SkinnedScrollBar* bar = type == kHorizontalBar ? &record->horizontal : &record->vertical;
    if (!bar->shown)
        return;
    RECT windowRect;
    GetWindowRect(window, &windowRect);
    const BarRects rects = SkinnedBarScreenRects(window, *record);
    HDC hdc = GetWindowDC(window);
    if (hdc == nullptr)
        return;
    PaintSkinnedBar(window, bar, hdc,
                    ToWindowCoordinates(type == kHorizontalBar ? rects.horizontal : rects.vertical, windowRect),
                    pressedPart);
    ReleaseDC(window, hdc);
}
