// Rules of the skinned scroll bars' mouse interaction and of their answers
// to the scroll-bar calls, without any window: where a dragged thumb goes
// and which position it stands for, and how scroll information is read,
// stored and clamped.
//
// Bar arithmetic is in working orientation (see scroll_geometry.h).
#pragma once

#include <cstdint>

#include "scrollbars/portable/scroll_geometry.h"

// How far the cursor may stray from a bar while its thumb is dragged before
// the thumb jumps back to where it was picked up.
constexpr int32_t kThumbSnapAlong = 48;   // beyond either end of the bar
constexpr int32_t kThumbSnapAcross = 24;  // to either side of the bar

// The thumb as it was picked up.
struct ThumbDrag {
    ScrollRect bar;  // the whole bar, arrows included
    int32_t arrowLength;
    int32_t thumbLength;
    int32_t thumbStart;  // along the bar
    int32_t offset;      // cursor along the bar minus thumbStart at the press
};

bool InThumbSnapZone(const ScrollRect& bar, const ScrollPoint& point);

// Where the thumb starts for the cursor at `point`: follows the cursor
// within the track inside the snap zone, back at the press outside it.
int32_t DraggedThumbStart(const ThumbDrag& drag, const ScrollPoint& point);

// The scroll position that a thumb starting at `thumbStart` stands for.
int32_t DraggedThumbPosition(const ThumbDrag& drag, int32_t thumbStart, const ScrollInfoValues& info);

// SCROLLINFO mask bits.
constexpr uint32_t kScrollInfoRange = 0x1;
constexpr uint32_t kScrollInfoPage = 0x2;
constexpr uint32_t kScrollInfoPos = 0x4;
constexpr uint32_t kScrollInfoDisableNoScroll = 0x8;
constexpr uint32_t kScrollInfoTrackPos = 0x10;

// Copies the fields `mask` asks for from `bar` into `out` (others untouched).
// 1 when the range was asked for, else whether anything was copied.
int32_t ReadScrollInfo(const ScrollInfoValues& bar, uint32_t mask, ScrollInfoValues* out);

// `position` raised to nMin, then lowered to nMax - nPage + 1 (compared unsigned).
int32_t ClampScrollPosition(const ScrollInfoValues& info, int32_t position);

// Stores the fields `mask` gives: range first, then the page (at most
// nMax - nMin + 1, compared unsigned), then the position clamped with the
// new range and page.
ScrollInfoValues WriteScrollInfo(const ScrollInfoValues& bar, uint32_t mask, const ScrollInfoValues& given);

// Whether a bar given `mask` and holding `info` is to be visible.
bool ScrollBarWantedAfter(uint32_t mask, const ScrollInfoValues& info);

// Bar flags with the two arrow bits replaced by those of `arrows`.
uint32_t FlagsWithArrows(uint32_t flags, uint32_t arrows);
