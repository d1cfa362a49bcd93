// Two drawing operations shared by the stream list and the stream editor:
// a logo drawn with a transparent key colour, and one link badge of a list
// item. Plain functions on a device context, with no state of their own.
#pragma once

#include <windows.h>

#include <cstdint>

// Draws `bitmap` with its top-left corner at (x, y), leaving the target
// unchanged wherever the bitmap holds `keyColour`. x and y are taken as
// signed 16-bit values. The key is in the record's order, 0x00RRGGBB.
// Non-zero on success, 0 when the bitmap or a drawing object is missing.
int DrawTransparentBitmap(HDC target, HBITMAP bitmap, int x, int y, uint32_t keyColour);

// Draws one badge in `*rect`: a rounded outline box, a ring over its right
// end with a dot in it (pure red when `address` is empty), and `label`
// centred in the accent colour. Then moves `*rect` to the next badge's
// place, 56 pixels to the right, keeping its size. The device context's
// font, text colour and background mode are left as they were.
void DrawLinkBadge(HDC dc, HFONT font, RECT* rect, COLORREF outline, COLORREF fill, COLORREF accent,
                   COLORREF ring, const char* label, const char* address);

// Distance from one badge's left edge to the next one's.
constexpr int kBadgeStep = 56;
// The dot of a badge without an address.
constexpr COLORREF kMissingLinkColour = 0x0000FF;
