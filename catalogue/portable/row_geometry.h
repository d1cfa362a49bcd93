// Where the parts of a stream list row lie, in pixels from the row's top-left
// corner: shared by the list control (row height, which mouse moves can touch
// a badge) and the drawing of a row.
#pragma once

// A row is the logo with a margin above and below it.
constexpr int kRowLogoHeight = 48;
constexpr int kRowMarginY = 4;
constexpr int kRowHeight = kRowLogoHeight + 2 * kRowMarginY;

constexpr int kRowLogoOffset = 4;     // the logo's left and top
constexpr int kRowTextLeft = 56;      // title, slogan and the first badge
constexpr int kRowTitleTop = 4;
constexpr int kRowSloganTop = 20;
constexpr int kRowBadgeTop = 39;
constexpr int kRowBadgeWidth = 48;
constexpr int kRowBadgeHeight = 10;

// The band that holds the badges, a little larger than the badges: a mouse
// move inside it may change the badge under the mouse.
constexpr int kRowBadgeBandTop = 31;
constexpr int kRowBadgeBandLeft = 52;

static_assert(kRowBadgeBandTop < kRowBadgeTop && kRowBadgeBandLeft < kRowTextLeft,
              "the badge band must hold every badge, or hovering a badge's edge would not redraw it");
static_assert(kRowBadgeTop + kRowBadgeHeight <= kRowHeight, "badges must fit in the row");
