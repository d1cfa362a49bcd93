#include "scrollbars/portable/scroll_geometry.h"

namespace {

// Scroll values wrap like the platform's 32-bit arithmetic does.
int32_t WrapToInt32(uint32_t value) { return static_cast<int32_t>(value); }

bool Within(int32_t value, int32_t begin, int32_t end) { return value >= begin && value < end; }

constexpr uint32_t kLargestRange = 0x7FFFFFFE;

}  // namespace

#ifdef _WIN32
// The platform's own: the DLL then carries no 64-bit division routine.
extern "C" __declspec(dllimport) int __stdcall MulDiv(int number, int numerator, int denominator);

int32_t ScrollMulDiv(int32_t number, int32_t numerator, int32_t denominator) {
    return MulDiv(number, numerator, denominator);
}
#else
int32_t ScrollMulDiv(int32_t number, int32_t numerator, int32_t denominator) {
    if (denominator == 0)
        return -1;
    int64_t n = number;
    int64_t d = denominator;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    const int64_t product = n * numerator;
    const int64_t quotient = (product >= 0 ? product + d / 2 : product - d / 2) / d;
    if (quotient > 0x7FFFFFFF || quotient < -0x7FFFFFFF)
        return -1;
    return static_cast<int32_t>(quotient);
}
#endif

int32_t ResolveScrollSize(int32_t value, int32_t metric) {
    if (value >= 0)
        return value;
    return static_cast<int32_t>(-static_cast<int64_t>(value) * metric);
}

BarSize ResolveBarSize(int32_t type, int32_t arrowLength, int32_t thickness, const ScrollMetrics& metrics) {
    if (type == kHorizontalBar)
        return {ResolveScrollSize(arrowLength, metrics.cxHScroll), ResolveScrollSize(thickness, metrics.cyHScroll)};
    if (type == kVerticalBar)
        return {ResolveScrollSize(arrowLength, metrics.cyVScroll), ResolveScrollSize(thickness, metrics.cxVScroll)};
    return {0, 0};
}

bool IsScrollable(const ScrollInfoValues& info) {
    return info.nPage <= static_cast<uint32_t>(info.nMax) && info.nMax > info.nMin && info.nMax != 0;
}

bool IsBarActive(uint32_t flags, const ScrollInfoValues& info) {
    return (flags & (kBarUpArrowDisabled | kBarDownArrowDisabled)) !=
               (kBarUpArrowDisabled | kBarDownArrowDisabled) &&
           IsScrollable(info);
}

NonClientLayout LayoutNonClient(const ScrollRect& proposed, const ScrollRect& withoutBars,
                                const BarLayoutInput& horizontal, const BarLayoutInput& vertical,
                                bool leftScrollBar) {
    NonClientLayout layout{};
    layout.borderLeft = withoutBars.left - proposed.left;
    layout.borderRight = proposed.right - withoutBars.right;
    layout.borderTop = withoutBars.top - proposed.top;
    layout.borderBottom = proposed.bottom - withoutBars.bottom;

    ScrollRect client = withoutBars;
    layout.horizontalShown =
        (horizontal.flags & kBarWanted) != 0 && horizontal.thickness < client.bottom - client.top;
    if (layout.horizontalShown)
        client.bottom -= horizontal.thickness;

    layout.verticalShown = (vertical.flags & kBarWanted) != 0 && client.right - client.left >= vertical.thickness;
    if (layout.verticalShown) {
        if (leftScrollBar)
            client.left += vertical.thickness;
        else
            client.right -= vertical.thickness;
    }
    layout.client = client;
    return layout;
}

BarRects ComputeBarRects(const BarPlacement& p) {
    const int32_t hThick = p.horizontalThickness;
    const int32_t vThick = p.verticalThickness;
    const int32_t bottomEdge = p.window.bottom - p.borderBottom;
    const int32_t leftEdge = p.window.left + p.borderLeft;
    const int32_t rightEdge = p.window.right - p.borderRight;

    BarRects rects{};
    rects.horizontal.top = bottomEdge - hThick;
    rects.horizontal.bottom = bottomEdge;
    rects.horizontal.left = p.leftScrollBar ? leftEdge + vThick : leftEdge;
    rects.horizontal.right = p.leftScrollBar ? rightEdge : rightEdge - vThick;

    rects.vertical.top = p.window.top + p.borderTop;
    rects.vertical.bottom = bottomEdge - hThick;
    if (p.leftScrollBar) {
        rects.vertical.left = leftEdge;
        rects.vertical.right = leftEdge + vThick;
    } else {
        rects.vertical.right = rightEdge;
        rects.vertical.left = rightEdge - vThick;
    }

    rects.corner.top = bottomEdge - hThick;
    rects.corner.bottom = bottomEdge;
    rects.corner.left = rects.vertical.left;
    rects.corner.right = rects.vertical.right;
    return rects;
}

ScrollRect SwapAxes(const ScrollRect& r) { return {r.top, r.left, r.bottom, r.right}; }
ScrollPoint SwapAxes(const ScrollPoint& p) { return {p.y, p.x}; }
ScrollRect ToWorking(int32_t type, const ScrollRect& r) { return type == kVerticalBar ? SwapAxes(r) : r; }
ScrollPoint ToWorking(int32_t type, const ScrollPoint& p) { return type == kVerticalBar ? SwapAxes(p) : p; }

ThumbGeometry ComputeThumb(const ScrollRect& bar, int32_t arrowLength, const ScrollInfoValues& info,
                           int32_t minThumbLength) {
    const int32_t a = arrowLength;
    const int32_t start = bar.left;
    const int32_t trackLength = (bar.right - bar.left) - 2 * a;
    const uint32_t range = static_cast<uint32_t>(info.nMax) - static_cast<uint32_t>(info.nMin);

    int32_t length;
    if (info.nPage != 0) {
        if (range > kLargestRange)
            return {0, start + a};
        length = ScrollMulDiv(WrapToInt32(info.nPage), trackLength, WrapToInt32(range + 1));
        if (length < minThumbLength)
            length = minThumbLength;
    } else {
        length = a;
    }

    int32_t offset = 0;
    if (range <= kLargestRange) {
        const int32_t freeLength = trackLength - length;
        const uint32_t page = info.nPage > 1 ? info.nPage : 1;
        offset = ScrollMulDiv(WrapToInt32(static_cast<uint32_t>(info.nPos) - static_cast<uint32_t>(info.nMin)),
                              freeLength, WrapToInt32(range - page + 1));
        if (offset > freeLength)
            offset = freeLength;
        if (offset < 0)
            offset = 0;
    }
    return {length, start + a + offset};
}

BarItems LayoutBarItems(const BarPaintInput& in) {
    BarItems out{};
    const ScrollRect& bar = in.bar;
    const int32_t a = in.arrowLength;
    const int32_t length = bar.right - bar.left;
    if (length <= 0)
        return out;

    const bool scrollable = IsScrollable(in.info);
    const bool upInactive = (in.flags & kBarUpArrowDisabled) != 0 || !scrollable;
    const bool downInactive = (in.flags & kBarDownArrowDisabled) != 0 || !scrollable;

    auto add = [&out](int32_t part, int32_t begin, int32_t end, int32_t state, bool inactive) {
        out.items[out.count++] = {part, begin, end, state, inactive};
    };
    auto arrowState = [&in](int32_t part, bool inactive) {
        if (in.pressedPart == part)
            return kItemPressed;
        if (in.hoverPart == part && !inactive)
            return kItemHot;
        return inactive ? kItemDisabled : kItemNormal;
    };
    auto trackState = [&in](int32_t part) { return in.pressedPart == part ? kItemPressed : kItemNormal; };

    if (2 * a < length) {
        add(kPartUpArrow, bar.left, bar.left + a, arrowState(kPartUpArrow, upInactive), upInactive);
        const ThumbGeometry thumb = ComputeThumb(bar, a, in.info, in.minThumbLength);
        const int32_t trackLength = length - 2 * a;
        const bool bothDisabled = (in.flags & (kBarUpArrowDisabled | kBarDownArrowDisabled)) ==
                                  (kBarUpArrowDisabled | kBarDownArrowDisabled);
        if (thumb.length > 0 && trackLength >= thumb.length && scrollable && !bothDisabled) {
            const int32_t thumbEnd = thumb.start + thumb.length;
            add(kPartTrackBefore, bar.left + a, thumb.start, trackState(kPartTrackBefore), false);
            add(kPartTrackAfter, thumbEnd, bar.right - a, trackState(kPartTrackAfter), false);
            int32_t thumbState = kItemNormal;
            if (in.pressedPart == kPartThumb)
                thumbState = kItemPressed;
            else if (in.hoverPart == kPartThumb)
                thumbState = kItemHot;
            add(kPartThumb, thumb.start, thumbEnd, thumbState, false);
        } else {
            add(kPartTrackAfter, bar.left + a, bar.right - a, kItemNormal, false);
        }
        add(kPartDownArrow, bar.right - a, bar.right, arrowState(kPartDownArrow, downInactive), downInactive);
    } else {
        const int32_t half = length / 2;
        add(kPartUpArrow, bar.left, bar.left + half, arrowState(kPartUpArrow, upInactive), upInactive);
        if (length % 2 != 0)
            add(kPartTrackAfter, bar.left + half, bar.right - half, kItemNormal, false);
        add(kPartDownArrow, bar.right - half, bar.right, arrowState(kPartDownArrow, downInactive), downInactive);
    }
    return out;
}

ScrollRect ItemRect(const ScrollRect& bar, const BarItem& item) { return {item.begin, bar.top, item.end, bar.bottom}; }

int32_t HitTestBar(const ScrollRect& bar, const ScrollPoint& point, int32_t arrowLength,
                   const ScrollInfoValues& info, int32_t minThumbLength) {
    if (point.y < bar.top || point.y >= bar.bottom)
        return kPartNone;
    const ThumbGeometry thumb = ComputeThumb(bar, arrowLength, info, minThumbLength);
    const int32_t a = arrowLength;
    const int32_t width = bar.right - bar.left;
    const int32_t arrowSpan = 2 * a < width ? a : width / 2;

    if (Within(point.x, bar.left, bar.left + arrowSpan))
        return kPartUpArrow;
    if (Within(point.x, bar.right - arrowSpan, bar.right))
        return kPartDownArrow;
    if (thumb.length >= width - 2 * a)
        return kPartNone;
    const int32_t thumbEnd = thumb.start + thumb.length;
    if (Within(point.x, thumb.start, thumbEnd))
        return kPartThumb;
    if (Within(point.x, bar.left + arrowSpan, thumb.start))
        return kPartTrackBefore;
    if (Within(point.x, thumbEnd, bar.right - arrowSpan))
        return kPartTrackAfter;
    return kPartNone;
}
