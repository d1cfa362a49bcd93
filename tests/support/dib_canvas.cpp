#include "tests/support/dib_canvas.h"

#include <cstdio>

namespace {
// DIB sections store 0x00RRGGBB; GDI speaks 0x00BBGGRR.
uint32_t ToDib(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
COLORREF FromDib(uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }
}  // namespace

Canvas::Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    previous_ = SelectObject(dc_, bitmap_);
    Fill(RECT{0, 0, width, height}, fill);
}

Canvas::~Canvas() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
}

COLORREF Canvas::At(int x, int y) const {
    GdiFlush();
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    return FromDib(bits_[y * width_ + x]);
}

void Canvas::Fill(const RECT& r, COLORREF colour) {
    GdiFlush();
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) bits_[y * width_ + x] = ToDib(colour);
}

int Canvas::Count(const RECT& r, COLORREF colour) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += At(x, y) == colour;
    return n;
}

std::string Canvas::Differences(const Canvas& other, const RECT& r) const {
    int count = 0;
    std::string first;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (At(x, y) != other.At(x, y)) {
                if (count++ == 0)
                    first = "at (" + std::to_string(x) + ", " + std::to_string(y) + ") " + Hex(At(x, y)) +
                            " instead of " + Hex(other.At(x, y));
            }
    return count ? std::to_string(count) + " pixels differ, first " + first : std::string();
}

void PaintLogo(uint8_t (&logo)[kLogoBytes], const std::function<COLORREF(int x, int y)>& colour) {
    for (int y = 0; y < kLogoSide; ++y)
        for (int x = 0; x < kLogoSide; ++x) {
            COLORREF c = colour(x, y);
            uint8_t* p = logo + (kLogoSide - 1 - y) * kLogoSide * 3 + x * 3;   // bottom row first
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
}

std::string Hex(COLORREF c) {
    char text[16];
    snprintf(text, sizeof text, "%06lX", static_cast<unsigned long>(c));
    return text;
}
