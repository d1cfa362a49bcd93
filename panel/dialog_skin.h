// The panel's skinning: reading the colour table and button bitmap from the
// host's skin, the message pre-filter that draws the skinned push buttons
// and answers the control-colour messages, and the border painter of the
// panel's WM_PAINT. The colour table itself and SkinColour are in
// panel/skin_colours.h. Process-wide state, user-interface thread only.
#pragma once

#include <windows.h>

#include "panel/portable/skin_colours.h"

// Border entry: control id in the low 16 bits, kind in the high 16 bits.
constexpr unsigned int kBorderBottomRight = 1;  // a line below the control and up its right side
constexpr unsigned int BorderEntry(unsigned int kind, unsigned int controlId) {
    return (kind << 16) | (controlId & 0xFFFF);
}

// Drops the held skin bitmap, asks `host` for a new one and, when it gives
// one, reads the colour table from it and keeps it for the buttons. With no
// answer the colour table keeps its values and no bitmap is held.
void ReadSkinColours(HWND host);

// The bitmap the buttons are drawn from, or 0.
HBITMAP HeldSkinBitmap();

// Deletes the held skin bitmap and the control-colour brush.
void ReleaseSkinObjects();

// Run first for every message of the panel's dialog procedure. Draws the
// owner-drawn push buttons on WM_DRAWITEM (and still returns 0 so the
// message goes on); answers WM_CTLCOLOREDIT, -LISTBOX, -BTN, -DLG and
// -STATIC with a brush of the skin colour. 0 for anything else.
LRESULT SkinPreFilter(HWND window, UINT message, WPARAM first, LPARAM second);

// Paints `window`'s WM_PAINT request (BeginPaint to EndPaint): the border
// lines in SkinColour 5 beside the controls named by `entries`, and, when
// the background still needs erasing, SkinColour 2 over the rest.
void PaintChildBorders(HWND window, const unsigned int* entries, int count);

// Every other pixel of a line of `length` pixels from (x, y), with the
// current pen; the first pixel drawn is at offset (y & 1).
void DrawDottedLine(HDC dc, int x, int y, int length, bool vertical);
