#include "catalogue/portable/logo_scaling.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr double kOpaqueEnough = 0.5;   // of full opacity
constexpr uint32_t kTransparentPixel = 0;
constexpr uint32_t kOpaquePixel = 0xFF000000u;

void Put(uint8_t (&logo)[kLogoBytes], int x, int y, uint32_t rgb) {
    uint8_t* p = logo + ((kLogoSide - 1 - y) * kLogoSide + x) * 3;
    p[0] = static_cast<uint8_t>(rgb);
    p[1] = static_cast<uint8_t>(rgb >> 8);
    p[2] = static_cast<uint8_t>(rgb >> 16);
}

// lround for the values here, which are never negative (the C library's
// lround would bring its own error handling into the DLL).
long RoundToNearest(double nonNegative) { return static_cast<long>(nonNegative + 0.5); }

}  // namespace

bool ScaleToLogoArgb(const uint32_t* pixels, int width, int height, uint32_t keyColour,
                     uint8_t (&logo)[kLogoBytes]) {
    ScaledPicture picture;
    const ptrdiff_t stride = static_cast<ptrdiff_t>(width) * static_cast<ptrdiff_t>(sizeof(uint32_t));
    if (!ScalePictureRows(reinterpret_cast<const uint8_t*>(pixels), stride, width, height, picture)) return false;
    KeyScaledPicture(picture, keyColour, logo);
    return true;
}

void KeyScaledPicture(const ScaledPicture& picture, uint32_t keyColour, uint8_t (&logo)[kLogoBytes]) {
    keyColour &= 0xFFFFFF;
    for (int y = 0; y < kLogoSide; ++y) {
        for (int x = 0; x < kLogoSide; ++x) {
            const uint32_t argb = picture.pixels[y * kLogoSide + x];
            // A pixel of the key colour itself stays transparent, as in the bitmaps users prepare.
            Put(logo, x, y, argb >> 24 ? argb & 0xFFFFFF : keyColour);
        }
    }
}

bool ScalePictureRows(const uint8_t* firstRow, ptrdiff_t stride, int width, int height, ScaledPicture& picture) {
    if (firstRow == nullptr || width <= 0 || height <= 0) return false;
    for (uint32_t& pixel : picture.pixels) pixel = kTransparentPixel;

    // The picture's place in the logo: the longer side fills it.
    const double scale = static_cast<double>(std::max(width, height)) / kLogoSide;
    const int placedWidth = std::max(1, static_cast<int>(RoundToNearest(width / scale)));
    const int placedHeight = std::max(1, static_cast<int>(RoundToNearest(height / scale)));
    const int left = (kLogoSide - placedWidth) / 2;
    const int top = (kLogoSide - placedHeight) / 2;
    const double stepX = static_cast<double>(width) / placedWidth;
    const double stepY = static_cast<double>(height) / placedHeight;

    for (int py = 0; py < placedHeight; ++py) {
        const double y0 = py * stepY, y1 = (py + 1) * stepY;
        for (int px = 0; px < placedWidth; ++px) {
            const double x0 = px * stepX, x1 = (px + 1) * stepX;
            double area = 0, alpha = 0, red = 0, green = 0, blue = 0;
            for (int sy = static_cast<int>(y0); sy < height && sy < y1; ++sy) {
                const double coverY = std::min<double>(sy + 1, y1) - std::max<double>(sy, y0);
                for (int sx = static_cast<int>(x0); sx < width && sx < x1; ++sx) {
                    const double cover = coverY * (std::min<double>(sx + 1, x1) - std::max<double>(sx, x0));
                    if (cover <= 0) continue;
                    uint32_t argb;
                    memcpy(&argb, firstRow + sy * stride + static_cast<ptrdiff_t>(sx) * 4, sizeof argb);
                    const double a = (argb >> 24) / 255.0 * cover;
                    area += cover;
                    alpha += a;
                    red += ((argb >> 16) & 0xFF) * a;
                    green += ((argb >> 8) & 0xFF) * a;
                    blue += (argb & 0xFF) * a;
                }
            }
            if (area <= 0 || alpha / area < kOpaqueEnough) continue;   // stays transparent
            auto channel = [alpha](double sum) { return static_cast<uint32_t>(std::min(255L, RoundToNearest(sum / alpha))); };
            picture.pixels[(top + py) * kLogoSide + left + px] =
                kOpaquePixel | (channel(red) << 16) | (channel(green) << 8) | channel(blue);
        }
    }
    return true;
}
