#include "scrollbars/portable/scroll_interaction_rules.h"

namespace {

// Scroll values wrap like the platform's 32-bit arithmetic does.
int32_t Wrap(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

bool Within(int64_t value, int64_t begin, int64_t end) { return value >= begin && value < end; }

}  // namespace

bool InThumbSnapZone(const ScrollRect& bar, const ScrollPoint& point) {
    return Within(point.x, int64_t{bar.left} - kThumbSnapAlong, int64_t{bar.right} + kThumbSnapAlong) &&
           Within(point.y, int64_t{bar.top} - kThumbSnapAcross, int64_t{bar.bottom} + kThumbSnapAcross);
}

int32_t DraggedThumbStart(const ThumbDrag& drag, const ScrollPoint& point) {
    if (!InThumbSnapZone(drag.bar, point))
        return drag.thumbStart;
    const int64_t trackStart = int64_t{drag.bar.left} + drag.arrowLength;
    const int64_t trackEnd = int64_t{drag.bar.right} - drag.arrowLength;
    int64_t start = int64_t{point.x} - drag.offset;
    if (start < trackStart)
        start = trackStart;
    if (start > trackEnd - drag.thumbLength)
        start = trackEnd - drag.thumbLength;
    return Wrap(start);
}

int32_t DraggedThumbPosition(const ThumbDrag& drag, int32_t thumbStart, const ScrollInfoValues& info) {
    const int64_t trackStart = int64_t{drag.bar.left} + drag.arrowLength;
    const int32_t moved = Wrap(thumbStart - trackStart);
    const int32_t range = Wrap(int64_t{info.nMax} - info.nMin);
    if (range <= 0)
        return moved;
    const int32_t trackLength = Wrap(int64_t{drag.bar.right} - drag.bar.left - 2 * int64_t{drag.arrowLength});
    const int32_t positions = Wrap(int64_t{range} - info.nPage + 1);
    return Wrap(int64_t{info.nMin} + ScrollMulDiv(moved, positions, Wrap(int64_t{trackLength} - drag.thumbLength)));
}

int32_t ReadScrollInfo(const ScrollInfoValues& bar, uint32_t mask, ScrollInfoValues* out) {
    bool copied = false;
    if (mask & kScrollInfoPage) {
        out->nPage = bar.nPage;
        copied = true;
    }
    if (mask & kScrollInfoPos) {
        out->nPos = bar.nPos;
        copied = true;
    }
    if (mask & kScrollInfoTrackPos) {
        out->nTrackPos = bar.nTrackPos;
        copied = true;
    }
    if (mask & kScrollInfoRange) {
        out->nMin = bar.nMin;
        out->nMax = bar.nMax;
        return 1;
    }
    return copied ? 1 : 0;
}

int32_t ClampScrollPosition(const ScrollInfoValues& info, int32_t position) {
    int32_t p = position < info.nMin ? info.nMin : position;
    const uint32_t last = static_cast<uint32_t>(info.nMax) - info.nPage + 1;
    if (static_cast<uint32_t>(p) > last)
        p = static_cast<int32_t>(last);
    return p;
}

ScrollInfoValues WriteScrollInfo(const ScrollInfoValues& bar, uint32_t mask, const ScrollInfoValues& given) {
    ScrollInfoValues v = bar;
    if (mask & kScrollInfoRange) {
        v.nMin = given.nMin;
        v.nMax = given.nMax;
    }
    if (mask & kScrollInfoPage) {
        const uint32_t span = static_cast<uint32_t>(v.nMax) - static_cast<uint32_t>(v.nMin) + 1;
        v.nPage = given.nPage < span ? given.nPage : span;
    }
    if (mask & kScrollInfoPos)
        v.nPos = ClampScrollPosition(v, given.nPos);
    return v;
}

bool ScrollBarWantedAfter(uint32_t mask, const ScrollInfoValues& info) {
    return (mask & kScrollInfoDisableNoScroll) != 0 || IsScrollable(info);
}

uint32_t FlagsWithArrows(uint32_t flags, uint32_t arrows) {
    const uint32_t arrowBits = kBarUpArrowDisabled | kBarDownArrowDisabled;
    return (flags & ~arrowBits) | (arrows & arrowBits);
}
