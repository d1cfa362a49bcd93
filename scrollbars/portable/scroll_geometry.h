// Arithmetic of the skinned scroll bars, without any window: sizes, the
// room taken at WM_NCCALCSIZE, bar rectangles, the thumb, the parts of a
// bar for painting and the part under a point.
//
// Bar arithmetic is written for a horizontal bar (along = x, across = y);
// a vertical bar is run through it after SwapAxes and swapped back after.
#pragma once

#include <cstdint>

struct ScrollRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct ScrollPoint {
    int32_t x;
    int32_t y;
};

// The values of a SCROLLINFO that the bars use.
struct ScrollInfoValues {
    int32_t nMin;
    int32_t nMax;
    uint32_t nPage;
    int32_t nPos;
    int32_t nTrackPos;
};

// Bar types, also the bar field of the custom-draw record.
constexpr int32_t kHorizontalBar = 0;
constexpr int32_t kVerticalBar = 1;

// Bits of SkinnedScrollBar::flags.
constexpr uint32_t kBarUpArrowDisabled = 1;    // ESB_DISABLE_LTUP
constexpr uint32_t kBarDownArrowDisabled = 2;  // ESB_DISABLE_RTDN
constexpr uint32_t kBarWanted = 8;

// Bar styles.
constexpr int32_t kBarStyleRaised = 0;
constexpr int32_t kBarStyleFlat = 1;
constexpr int32_t kBarStyleFlatHover = 2;

// Parts of a bar: hit-test results and custom-draw item numbers.
constexpr int32_t kPartNone = -1;
constexpr int32_t kPartUpArrow = 0;
constexpr int32_t kPartDownArrow = 1;
constexpr int32_t kPartTrackBefore = 2;
constexpr int32_t kPartTrackAfter = 3;
constexpr int32_t kPartThumb = 5;
constexpr int32_t kPartCornerBox = 32;

// Item states of the custom-draw record.
constexpr int32_t kItemPressed = 1;
constexpr int32_t kItemDisabled = 4;
constexpr int32_t kItemNormal = 0x20;
constexpr int32_t kItemHot = 0x40;

// The platform's MulDiv (on Windows, the platform's own): 64-bit product,
// quotient rounded to nearest with halves away from zero; -1 for a zero
// divisor or a quotient outside -0x7FFFFFFF .. 0x7FFFFFFF.
int32_t ScrollMulDiv(int32_t number, int32_t numerator, int32_t denominator);

// A size value >= 0 is pixels; -k is k times the metric.
int32_t ResolveScrollSize(int32_t value, int32_t metric);

struct ScrollMetrics {
    int32_t cxHScroll;  // arrow length of a horizontal bar
    int32_t cyHScroll;  // thickness of a horizontal bar
    int32_t cxVScroll;  // thickness of a vertical bar
    int32_t cyVScroll;  // arrow length of a vertical bar
};

struct BarSize {
    int32_t arrowLength;
    int32_t thickness;
};

// Resolved pixel sizes of a bar of the given type; 0 and 0 for an unknown type.
BarSize ResolveBarSize(int32_t type, int32_t arrowLength, int32_t thickness, const ScrollMetrics& metrics);

// nPage <= nMax (unsigned), nMax > nMin and nMax != 0.
bool IsScrollable(const ScrollInfoValues& info);
// Arrows not both disabled, and scrollable.
bool IsBarActive(uint32_t flags, const ScrollInfoValues& info);

struct BarLayoutInput {
    uint32_t flags;
    int32_t thickness;  // resolved
};

struct NonClientLayout {
    ScrollRect client;  // the rectangle to leave in the message
    int32_t borderLeft;
    int32_t borderRight;
    int32_t borderTop;
    int32_t borderBottom;
    bool horizontalShown;
    bool verticalShown;
};

// `proposed` is the rectangle as WM_NCCALCSIZE brought it, `withoutBars` the
// one the previous procedure left in it with the scroll styles hidden.
NonClientLayout LayoutNonClient(const ScrollRect& proposed, const ScrollRect& withoutBars,
                                const BarLayoutInput& horizontal, const BarLayoutInput& vertical,
                                bool leftScrollBar);

struct BarPlacement {
    ScrollRect window;  // window rectangle, any coordinate system
    int32_t borderLeft;
    int32_t borderRight;
    int32_t borderTop;
    int32_t borderBottom;
    int32_t horizontalThickness;  // 0 when that bar is not shown
    int32_t verticalThickness;    // 0 when that bar is not shown
    bool leftScrollBar;
};

struct BarRects {
    ScrollRect horizontal;
    ScrollRect vertical;
    ScrollRect corner;  // meaningful only when both bars are shown
};

BarRects ComputeBarRects(const BarPlacement& placement);

// Exchanges x and y (left<->top, right<->bottom).
ScrollRect SwapAxes(const ScrollRect& rect);
ScrollPoint SwapAxes(const ScrollPoint& point);
// The rectangle in working orientation for a bar of the given type, and back.
ScrollRect ToWorking(int32_t type, const ScrollRect& rect);
ScrollPoint ToWorking(int32_t type, const ScrollPoint& point);

struct ThumbGeometry {
    int32_t length;
    int32_t start;  // coordinate along the bar
};

// `bar` in working orientation.
ThumbGeometry ComputeThumb(const ScrollRect& bar, int32_t arrowLength, const ScrollInfoValues& info,
                           int32_t minThumbLength);

// Everything that decides how one bar is cut into items and in which state
// each item is drawn.
struct BarPaintInput {
    ScrollRect bar;  // working orientation
    int32_t arrowLength;
    int32_t minThumbLength;
    uint32_t flags;
    ScrollInfoValues info;
    int32_t pressedPart;  // kPartNone when nothing is pressed on this bar
    int32_t hoverPart;    // kPartNone when hover does not apply to this bar
};

struct BarItem {
    int32_t part;
    int32_t begin;  // along the bar, end excluded; across the bar it spans the whole rectangle
    int32_t end;
    int32_t state;  // kItemPressed, kItemHot, kItemDisabled or kItemNormal
    bool inactive;  // arrows only: drawn as disabled
};

struct BarItems {
    int32_t count;
    BarItem items[5];
};

// Items in painting order: up/left arrow, then either track before, track
// after and thumb, or the whole track; then the down/right arrow. A bar too
// short for two arrows gets two half arrows with the odd pixel, if any, as a
// normal track part between them. No items for a bar without length.
BarItems LayoutBarItems(const BarPaintInput& input);

// The item rectangle of `item` on `bar`, both in working orientation.
ScrollRect ItemRect(const ScrollRect& bar, const BarItem& item);

// Part of the bar under the point (both in working orientation), or kPartNone.
int32_t HitTestBar(const ScrollRect& bar, const ScrollPoint& point, int32_t arrowLength,
                   const ScrollInfoValues& info, int32_t minThumbLength);
