// The editor's logo preview drawn with a key colour by the mask method:
// plain block transfers through monochrome masks, so it needs nothing from
// the system beyond the basic raster operations.
#include <windows.h>

#include "catalogue/stream_editor.h"

namespace {

struct MemoryContext {
    HDC dc;
    HGDIOBJ previous;
};

MemoryContext Select(HDC compatible, HBITMAP bitmap) {
    HDC dc = CreateCompatibleDC(compatible);
    return MemoryContext{dc, dc ? SelectObject(dc, bitmap) : nullptr};
}

void Release(MemoryContext& context, HBITMAP bitmap) {
    if (context.dc) {
        SelectObject(context.dc, context.previous);
        DeleteDC(context.dc);
    }
    if (bitmap) DeleteObject(bitmap);
}

}  // namespace

void DrawLogoPreview(HDC target, HBITMAP bitmap, int x, int y, COLORREF keyRRGGBB) {
    if (target == nullptr || bitmap == nullptr) return;
    x = static_cast<short>(x);
    y = static_cast<short>(y);
    const COLORREF key = RGB((keyRRGGBB >> 16) & 0xFF, (keyRRGGBB >> 8) & 0xFF, keyRRGGBB & 0xFF);

    BITMAP info;
    if (GetObjectA(bitmap, sizeof info, &info) == 0) return;
    MemoryContext source = Select(target, bitmap);
    if (source.dc == nullptr) return;
    POINT size = {info.bmWidth, info.bmHeight};
    DPtoLP(source.dc, &size, 1);
    const int w = size.x;
    const int h = size.y;

    HBITMAP backBits = CreateBitmap(w, h, 1, 1, nullptr);
    HBITMAP maskBits = CreateBitmap(w, h, 1, 1, nullptr);
    HBITMAP workBits = CreateCompatibleBitmap(target, w, h);
    HBITMAP saveBits = CreateCompatibleBitmap(target, w, h);
    MemoryContext back = Select(target, backBits);
    MemoryContext mask = Select(target, maskBits);
    MemoryContext work = Select(target, workBits);
    MemoryContext save = Select(target, saveBits);

    if (backBits && maskBits && workBits && saveBits && back.dc && mask.dc && work.dc && save.dc) {
        SetMapMode(source.dc, GetMapMode(target));
        BitBlt(save.dc, 0, 0, w, h, source.dc, 0, 0, SRCCOPY);

        // Colour to monochrome: pixels of the background colour become 1.
        const COLORREF background = SetBkColor(source.dc, key);
        BitBlt(mask.dc, 0, 0, w, h, source.dc, 0, 0, SRCCOPY);
        SetBkColor(source.dc, background);
        BitBlt(back.dc, 0, 0, w, h, mask.dc, 0, 0, NOTSRCCOPY);

        BitBlt(work.dc, 0, 0, w, h, target, x, y, SRCCOPY);
        BitBlt(work.dc, 0, 0, w, h, mask.dc, 0, 0, SRCAND);
        BitBlt(source.dc, 0, 0, w, h, back.dc, 0, 0, SRCAND);
        BitBlt(work.dc, 0, 0, w, h, source.dc, 0, 0, SRCPAINT);
        BitBlt(target, x, y, w, h, work.dc, 0, 0, SRCCOPY);

        BitBlt(source.dc, 0, 0, w, h, save.dc, 0, 0, SRCCOPY);
    }

    Release(save, saveBits);
    Release(work, workBits);
    Release(mask, maskBits);
    Release(back, backBits);
    Release(source, nullptr);
}
