// A 32-bit top-down DIB section in a memory context, read back pixel by
// pixel, and 48 x 48 logos built pixel by pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/portable/stream_record.h"

class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF At(int x, int y) const;
    void Fill(const RECT& r, COLORREF colour);
    // Pixels of `colour` inside r.
    int Count(const RECT& r, COLORREF colour) const;
    // Empty when both canvases agree inside r, else the first difference.
    std::string Differences(const Canvas& other, const RECT& r) const;

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// A record logo whose pixel (x, y), counted from the top, is colour(x, y).
void PaintLogo(uint8_t (&logo)[kLogoBytes], const std::function<COLORREF(int x, int y)>& colour);

std::string Hex(COLORREF c);
