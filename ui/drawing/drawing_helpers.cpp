// The mask method for transparent logos, and the link badges of the stream list.
#include "ui/drawing/drawing_helpers.h"

namespace {

// A memory context holding a bitmap, with the context's first bitmap put
// back before either is deleted.
struct MemorySurface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;

    bool Open(HDC compatibleWith, HBITMAP held) {
        dc = CreateCompatibleDC(compatibleWith);
        bitmap = held;
        if (dc == nullptr || bitmap == nullptr) return false;
        previous = SelectObject(dc, bitmap);
        return previous != nullptr;
    }
    // Puts the first bitmap back; deletes the held one only when it is ours.
    void Close(bool deleteBitmap) {
        if (dc && previous) SelectObject(dc, previous);
        if (dc) DeleteDC(dc);
        if (deleteBitmap && bitmap) DeleteObject(bitmap);
        dc = nullptr;
        bitmap = nullptr;
        previous = nullptr;
    }
};

// Draws `shape` with a 1-pixel pen and a solid brush made for it alone.
template <typename Shape>
void WithPenAndBrush(HDC dc, COLORREF penColour, COLORREF brushColour, Shape shape) {
    HPEN pen = CreatePen(PS_SOLID, 1, penColour);
    HBRUSH brush = CreateSolidBrush(brushColour);
    HGDIOBJ oldPen = pen ? SelectObject(dc, pen) : nullptr;
    HGDIOBJ oldBrush = brush ? SelectObject(dc, brush) : nullptr;
    shape();
    if (oldBrush) SelectObject(dc, oldBrush);
    if (oldPen) SelectObject(dc, oldPen);
    if (brush) DeleteObject(brush);
    if (pen) DeleteObject(pen);
}

}  // namespace

int DrawTransparentBitmap(HDC target, HBITMAP bitmap, int x, int y, uint32_t keyColour) {
    if (target == nullptr || bitmap == nullptr) return 0;
    x = static_cast<short>(x);
    y = static_cast<short>(y);
    // The record keeps red in the third byte; GDI wants it in the lowest.
    COLORREF key = RGB((keyColour >> 16) & 0xFF, (keyColour >> 8) & 0xFF, keyColour & 0xFF);

    BITMAP info;
    if (GetObjectA(bitmap, sizeof info, &info) == 0) return 0;

    MemorySurface source;
    if (!source.Open(target, bitmap)) {
        source.Close(false);
        return 0;
    }
    POINT size = {info.bmWidth, info.bmHeight};
    DPtoLP(source.dc, &size, 1);
    const int width = size.x;
    const int height = size.y;

    MemorySurface back, mask, work, save;
    bool ready = back.Open(target, CreateBitmap(width, height, 1, 1, nullptr)) &&
                 mask.Open(target, CreateBitmap(width, height, 1, 1, nullptr)) &&
                 work.Open(target, CreateCompatibleBitmap(target, width, height)) &&
                 save.Open(target, CreateCompatibleBitmap(target, width, height));
    if (ready) {
        SetMapMode(source.dc, GetMapMode(target));

        BitBlt(save.dc, 0, 0, width, height, source.dc, 0, 0, SRCCOPY);

        // Key-coloured pixels become 1 in the mask, all others 0.
        COLORREF oldBackground = SetBkColor(source.dc, key);
        BitBlt(mask.dc, 0, 0, width, height, source.dc, 0, 0, SRCCOPY);
        SetBkColor(source.dc, oldBackground);

        BitBlt(back.dc, 0, 0, width, height, mask.dc, 0, 0, NOTSRCCOPY);

        BitBlt(work.dc, 0, 0, width, height, target, x, y, SRCCOPY);
        BitBlt(work.dc, 0, 0, width, height, mask.dc, 0, 0, SRCAND);
        BitBlt(source.dc, 0, 0, width, height, back.dc, 0, 0, SRCAND);
        BitBlt(work.dc, 0, 0, width, height, source.dc, 0, 0, SRCPAINT);

        BitBlt(target, x, y, width, height, work.dc, 0, 0, SRCCOPY);

        // The caller's bitmap comes back as it was given.
        BitBlt(source.dc, 0, 0, width, height, save.dc, 0, 0, SRCCOPY);
    }
    save.Close(true);
    work.Close(true);
    mask.Close(true);
    back.Close(true);
    source.Close(false);
    return ready ? 1 : 0;
}

void DrawLinkBadge(HDC dc, HFONT font, RECT* rect, COLORREF outline, COLORREF fill, COLORREF accent,
                   COLORREF ring, const char* label, const char* address) {
    if (dc == nullptr || rect == nullptr) return;
    const int left = rect->left, top = rect->top, right = rect->right, bottom = rect->bottom;

    WithPenAndBrush(dc, outline, fill, [&] { RoundRect(dc, left, top, right, bottom, 5, 5); });
    WithPenAndBrush(dc, ring, fill, [&] { Ellipse(dc, right - 12, top - 2, right + 2, bottom + 2); });
    const bool noAddress = address == nullptr || address[0] == 0;
    const COLORREF dot = noAddress ? kMissingLinkColour : accent;
    WithPenAndBrush(dc, dot, dot, [&] { Ellipse(dc, right - 8, top + 2, right - 2, bottom - 2); });

    if (label) {
        COLORREF oldText = SetTextColor(dc, accent);
        int oldMode = SetBkMode(dc, TRANSPARENT);
        HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
        RECT text = {left, top, right - 10, bottom};
        DrawTextA(dc, label, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (oldFont) SelectObject(dc, oldFont);
        SetBkMode(dc, oldMode);
        SetTextColor(dc, oldText);
    }

    rect->left += kBadgeStep;
    rect->right += kBadgeStep;
}
