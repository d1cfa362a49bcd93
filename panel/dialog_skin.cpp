#include "panel/dialog_skin.h"

#include "host/host_protocol.h"

namespace {

HBITMAP g_skinBitmap = nullptr;       // last bitmap from the host
HBRUSH g_controlColourBrush = nullptr; // last brush handed out for WM_CTLCOLOR*

// Button images in the skin bitmap: normal rows 0-14, pressed rows 15-29,
// columns 0-46, cut into 4-pixel corners and edges around a 39 x 7 centre.
constexpr int kPressedImageTop = 15;
constexpr int kPiece = 4;
constexpr int kImageInnerWidth = 39;
constexpr int kImageInnerHeight = 7;
constexpr int kImageRight = kPiece + kImageInnerWidth;    // 43
constexpr int kImageBottom = kPiece + kImageInnerHeight;  // 11

constexpr int kButtonTextSize = 256;  // at most 255 characters

void DrawImagePieces(HDC target, HDC image, const RECT& item, bool pressed) {
    const int l = item.left, t = item.top, r = item.right, b = item.bottom;
    const int top = pressed ? kPressedImageTop : 0;
    const int innerWidth = r - l - 2 * kPiece;
    const int innerHeight = b - t - 2 * kPiece;

    BitBlt(target, l, t, kPiece, kPiece, image, 0, top, SRCCOPY);
    BitBlt(target, r - kPiece, t, kPiece, kPiece, image, kImageRight, top, SRCCOPY);
    BitBlt(target, l, b - kPiece, kPiece, kPiece, image, 0, top + kImageBottom, SRCCOPY);
    BitBlt(target, r - kPiece, b - kPiece, kPiece, kPiece, image, kImageRight, top + kImageBottom,
           SRCCOPY);

    StretchBlt(target, l + kPiece, t, innerWidth, kPiece, image, kPiece, top, kImageInnerWidth,
               kPiece, SRCCOPY);
    StretchBlt(target, l + kPiece, b - kPiece, innerWidth, kPiece, image, kPiece,
               top + kImageBottom, kImageInnerWidth, kPiece, SRCCOPY);
    StretchBlt(target, l, t + kPiece, kPiece, innerHeight, image, 0, top + kPiece, kPiece,
               kImageInnerHeight, SRCCOPY);
    StretchBlt(target, r - kPiece, t + kPiece, kPiece, innerHeight, image, kImageRight,
               top + kPiece, kPiece, kImageInnerHeight, SRCCOPY);
    StretchBlt(target, l + kPiece, t + kPiece, innerWidth, innerHeight, image, kPiece,
               top + kPiece, kImageInnerWidth, kImageInnerHeight, SRCCOPY);
}

void DrawSkinnedButton(HWND window, WPARAM controlId, const DRAWITEMSTRUCT& item) {
    char text[kButtonTextSize] = "";
    GetDlgItemTextA(window, static_cast<int>(controlId), text, sizeof text);

    HDC dc = item.hDC;
    const int saved = SaveDC(dc);
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    RECT face = item.rcItem;

    if (g_skinBitmap) {
        HDC image = CreateCompatibleDC(dc);
        HGDIOBJ previous = SelectObject(image, g_skinBitmap);
        SetStretchBltMode(dc, COLORONCOLOR);
        DrawImagePieces(dc, image, face, pressed);
        SelectObject(image, previous);
        DeleteDC(image);
    } else {
        // The host gave no skin: a system push button face, so the label
        // still has something to stand on.
        DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    }

    RECT label = item.rcItem;
    if (pressed) {
        label.left += 2;
        label.top += 2;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, SkinColour(SkinColourName::buttonText));
    if (HFONT font = reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)))
        SelectObject(dc, font);
    DrawTextA(dc, text, -1, &label, DT_SINGLELINE | DT_CENTER | DT_VCENTER);

    if (item.itemState & ODS_FOCUS) {
        const int r = item.rcItem.right, b = item.rcItem.bottom;
        HPEN pen = CreatePen(PS_SOLID, 0, RGB(0, 0, 0));
        HGDIOBJ previousPen = SelectObject(dc, pen);
        DrawDottedLine(dc, label.left + 2, label.top + 2, r - label.left - 3, false);
        DrawDottedLine(dc, r - 3, label.top + 2, b - label.top - 3, true);
        DrawDottedLine(dc, label.left + 2, label.top + 2, b - label.top - 3, true);
        DrawDottedLine(dc, label.left + 2, b - 3, r - label.left - 3, false);
        SelectObject(dc, previousPen);
        DeleteObject(pen);
    }
    RestoreDC(dc, saved);
}

LRESULT AnswerControlColour(HDC dc, COLORREF background, COLORREF text) {
    COLORREF nearest = GetNearestColor(dc, background);
    if (nearest == CLR_INVALID) nearest = background;
    if (g_controlColourBrush) DeleteObject(g_controlColourBrush);
    g_controlColourBrush = CreateSolidBrush(nearest);
    SetTextColor(dc, text);
    SetBkColor(dc, nearest);
    return reinterpret_cast<LRESULT>(g_controlColourBrush);
}

void RemoveFromRegion(HRGN region, int left, int top, int right, int bottom) {
    HRGN part = CreateRectRgn(left, top, right, bottom);
    CombineRgn(region, region, part, RGN_DIFF);
    DeleteObject(part);
}

}  // namespace

void ReadSkinColours(HWND host) {
    if (g_skinBitmap) {
        DeleteObject(g_skinBitmap);
        g_skinBitmap = nullptr;
    }
    g_skinBitmap = reinterpret_cast<HBITMAP>(SendMessageA(host, kHostRequestMessage, 0, kHostRequestSkinBitmap));
    if (!g_skinBitmap) return;

    HDC image = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(image, g_skinBitmap);
    const uint32_t reference = GetPixel(image, kSkinReferenceX, 0);
    uint32_t pixels[kSkinColourCount];
    for (int i = 0; i < kSkinColourCount; ++i) pixels[i] = GetPixel(image, SkinSlotX(i), 0);
    SelectObject(image, previous);
    DeleteDC(image);

    uint32_t table[kSkinColourCount];
    BuildSkinColourTable(pixels, reference, table);
    SetSkinColourTable(table);
}

HBITMAP HeldSkinBitmap() { return g_skinBitmap; }

void ReleaseSkinObjects() {
    if (g_skinBitmap) {
        DeleteObject(g_skinBitmap);
        g_skinBitmap = nullptr;
    }
    if (g_controlColourBrush) {
        DeleteObject(g_controlColourBrush);
        g_controlColourBrush = nullptr;
    }
}

LRESULT SkinPreFilter(HWND window, UINT message, WPARAM first, LPARAM second) {
    switch (message) {
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(second);
        if (item && item->CtlType == ODT_BUTTON) DrawSkinnedButton(window, first, *item);
        return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        return AnswerControlColour(reinterpret_cast<HDC>(first), SkinColour(SkinColourName::itemBackground),
                                   SkinColour(SkinColourName::itemText));
    case WM_CTLCOLORDLG:
        return AnswerControlColour(reinterpret_cast<HDC>(first), SkinColour(SkinColourName::windowBackground),
                                   SkinColour(SkinColourName::itemText));
    case WM_CTLCOLORSTATIC:
        return AnswerControlColour(reinterpret_cast<HDC>(first), SkinColour(SkinColourName::windowBackground),
                                   SkinColour(SkinColourName::windowText));
    default:
        return 0;
    }
}

void PaintChildBorders(HWND window, const unsigned int* entries, int count) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (!dc) return;
    const RECT& area = paint.rcPaint;
    HRGN erase = paint.fErase ? CreateRectRgnIndirect(&area) : nullptr;

    HPEN pen = CreatePen(PS_SOLID, 0, SkinColour(SkinColourName::divider));
    HGDIOBJ previousPen = SelectObject(dc, pen);
    for (int n = 0; entries && n < count; ++n) {
        const unsigned int id = entries[n] & 0xFFFF;
        const unsigned int kind = entries[n] >> 16;
        HWND control = GetDlgItem(window, static_cast<int>(id));
        if (!control) continue;
        RECT box;
        GetWindowRect(control, &box);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
        const bool touches = box.left <= area.right && box.right >= area.left &&
                             box.top <= area.bottom && box.bottom >= area.top;
        if (!touches || kind != kBorderBottomRight) continue;
        MoveToEx(dc, box.left, box.bottom, nullptr);
        LineTo(dc, box.right, box.bottom);
        LineTo(dc, box.right, box.top - 1);
        if (erase) {
            RemoveFromRegion(erase, box.left, box.bottom, box.right, box.bottom + 1);
            RemoveFromRegion(erase, box.right, box.top, box.right + 1, box.bottom);
        }
    }
    SelectObject(dc, previousPen);
    DeleteObject(pen);

    if (erase) {
        HBRUSH brush = CreateSolidBrush(SkinColour(SkinColourName::windowBackground));
        FillRgn(dc, erase, brush);
        DeleteObject(brush);
        DeleteObject(erase);
    }
    EndPaint(window, &paint);
}

void DrawDottedLine(HDC dc, int x, int y, int length, bool vertical) {
    for (int i = y & 1; i < length - 1; i += 2) {
        const int px = vertical ? x : x + i;
        const int py = vertical ? y + i : y;
        MoveToEx(dc, px, py, nullptr);
        LineTo(dc, px + 1, py);
    }
}
