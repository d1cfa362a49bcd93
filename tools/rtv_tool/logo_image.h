// Logos for stream records: read from 24-bit BMP files, or drawn from a few
// letters on a coloured disc. The result is always the record's layout:
// 48 x 48 pixels, blue-green-red, bottom row first, no row padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/portable/stream_record.h"

// An image in memory: rows top first, 3 bytes a pixel (blue, green, red).
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgr;

    // 0x00RRGGBB of the pixel at (x, y), y counted from the top.
    uint32_t Pixel(int x, int y) const;
};

constexpr int kMaxBmpSide = 8192;

// Decodes an uncompressed 24-bit BMP (bottom-up or top-down, rows padded to
// 4 bytes). Anything else is refused with a message saying why.
bool DecodeBmp24(const uint8_t* data, size_t size, RgbImage& image, std::string& error);

// Scales any size to 48 x 48 by nearest pixel (so key colours stay exact)
// and writes the record layout.
void ScaleToLogo(const RgbImage& image, uint8_t (&logo)[kLogoBytes]);

// Reads a BMP file into a logo.
bool LoadLogoFromBmpFile(const std::string& path, uint8_t (&logo)[kLogoBytes], std::string& error);
// Reads a BMP or PNG file into a logo, whichever its bytes say it is; a PNG's
// transparent parts take `keyColour`.
bool LoadLogoFile(const std::string& path, uint32_t keyColour, uint8_t (&logo)[kLogoBytes], std::string& error);

// 0x00RRGGBB of a logo pixel, y counted from the top.
uint32_t LogoPixel(const uint8_t (&logo)[kLogoBytes], int x, int y);

// Draws `letters` (1 to 3 of A-Z and 0-9) in white or black, whichever shows
// better, on a disc of `colour`, the rest filled with `transparent` (all
// 0x00RRGGBB). Fails for other letters, or when the disc or the letters would
// be the transparent colour and vanish.
bool DrawInitialsLogo(const std::string& letters, uint32_t colour, uint32_t transparent,
                      uint8_t (&logo)[kLogoBytes], std::string& error);

// Letters for a logo from a Windows-1252 station name: the first letter or
// digit of each word, accents dropped, at most 3; a one-word name gives its
// first 3. Empty when the name holds no usable letter.
std::string InitialsFromName(const std::string& name);

// True when the 5 x 7 font has a glyph for `c` (A-Z, 0-9).
bool HasGlyph(char c);
