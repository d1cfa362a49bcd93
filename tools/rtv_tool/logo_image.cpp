#include "tools/rtv_tool/logo_image.h"

#include "tools/rtv_tool/png_logo.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

uint32_t Read16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t Read32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// 5 x 7 glyphs, one byte a row, bit 4 the leftmost column.
struct Glyph {
    char c;
    uint8_t rows[7];
};
constexpr Glyph kFont[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}}, {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}}, {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}}, {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}}, {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}}, {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}}, {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
};
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

const Glyph* FindGlyph(char c) {
    for (const Glyph& g : kFont) {
        if (g.c == c) return &g;
    }
    return nullptr;
}

void SetLogoPixel(uint8_t (&logo)[kLogoBytes], int x, int y, uint32_t rgb) {
    uint8_t* p = logo + ((kLogoSide - 1 - y) * kLogoSide + x) * 3;
    p[0] = rgb & 0xFF;
    p[1] = (rgb >> 8) & 0xFF;
    p[2] = (rgb >> 16) & 0xFF;
}

// The letter or digit a Windows-1252 byte stands for, accents dropped; 0 for none.
char FoldToGlyph(unsigned char b) {
    if (b >= 'a' && b <= 'z') return static_cast<char>(b - 'a' + 'A');
    if ((b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9')) return static_cast<char>(b);
    if (b >= 0xC0) {
        static const char kLatin[] = "AAAAAAACEEEEIIIIDNOOOOO_OUUUUYTSAAAAAAACEEEEIIIIDNOOOOO_OUUUUYTY";
        char c = kLatin[b - 0xC0];
        return c == '_' ? 0 : c;
    }
    switch (b) {
        case 0x8A: case 0x9A: return 'S';
        case 0x8C: case 0x9C: return 'O';
        case 0x8E: case 0x9E: return 'Z';
        case 0x9F: return 'Y';
        default: return 0;
    }
}

}  // namespace

uint32_t RgbImage::Pixel(int x, int y) const {
    const uint8_t* p = &bgr[(static_cast<size_t>(y) * width + x) * 3];
    return (p[2] << 16) | (p[1] << 8) | p[0];
}

bool DecodeBmp24(const uint8_t* data, size_t size, RgbImage& image, std::string& error) {
    image = RgbImage();
    if (size < 14 + 40 || data[0] != 'B' || data[1] != 'M') {
        error = "not a BMP file";
        return false;
    }
    uint32_t pixelOffset = Read32(data + 10);
    uint32_t headerSize = Read32(data + 14);
    if (headerSize < 40 || 14 + static_cast<uint64_t>(headerSize) > size) {
        error = "unsupported BMP header (size " + std::to_string(headerSize) + ")";
        return false;
    }
    int32_t width = static_cast<int32_t>(Read32(data + 18));
    int32_t height = static_cast<int32_t>(Read32(data + 22));
    uint32_t planes = Read16(data + 26);
    uint32_t bits = Read16(data + 28);
    uint32_t compression = Read32(data + 30);
    if (bits != 24) {
        error = "only 24-bit BMP files can be logos (this one has " + std::to_string(bits) + " bits per pixel)";
        return false;
    }
    if (planes != 1 || compression != 0) {
        error = "compressed BMP files cannot be logos";
        return false;
    }
    bool topDown = height < 0;
    int64_t rows = topDown ? -static_cast<int64_t>(height) : height;
    if (width <= 0 || rows == 0 || width > kMaxBmpSide || rows > kMaxBmpSide) {
        error = "BMP size " + std::to_string(width) + " x " + std::to_string(rows) + " is not usable";
        return false;
    }
    uint64_t stride = (static_cast<uint64_t>(width) * 3 + 3) & ~static_cast<uint64_t>(3);
    if (pixelOffset < 14 + headerSize || pixelOffset + stride * rows > size) {
        error = "the BMP file is truncated";
        return false;
    }
    image.width = width;
    image.height = static_cast<int>(rows);
    image.bgr.resize(static_cast<size_t>(width) * image.height * 3);
    for (int y = 0; y < image.height; ++y) {
        int fileRow = topDown ? y : image.height - 1 - y;
        memcpy(&image.bgr[static_cast<size_t>(y) * width * 3], data + pixelOffset + stride * fileRow,
               static_cast<size_t>(width) * 3);
    }
    return true;
}

void ScaleToLogo(const RgbImage& image, uint8_t (&logo)[kLogoBytes]) {
    for (int y = 0; y < kLogoSide; ++y) {
        int sy = static_cast<int>((2 * static_cast<int64_t>(y) + 1) * image.height / (2 * kLogoSide));
        for (int x = 0; x < kLogoSide; ++x) {
            int sx = static_cast<int>((2 * static_cast<int64_t>(x) + 1) * image.width / (2 * kLogoSide));
            SetLogoPixel(logo, x, y, image.Pixel(sx, sy));
        }
    }
}

namespace {

// The bytes of a picture file, up to what the largest accepted picture takes.
bool ReadPictureFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = "cannot open " + path;
        return false;
    }
    uint8_t buffer[65536];
    size_t got;
    constexpr size_t kLimit = static_cast<size_t>(kMaxBmpSide) * kMaxBmpSide * 3 + 65536;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0 && bytes.size() <= kLimit) {
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    bool readError = ferror(file) != 0;
    fclose(file);
    if (readError) error = "cannot read " + path;
    return !readError;
}

}  // namespace

bool LoadLogoFile(const std::string& path, uint32_t keyColour, uint8_t (&logo)[kLogoBytes], std::string& error) {
    std::vector<uint8_t> bytes;
    if (!ReadPictureFile(path, bytes, error)) return false;
    if (!IsPng(bytes.data(), bytes.size())) return LoadLogoFromBmpFile(path, logo, error);
    if (LogoFromPng(bytes.data(), bytes.size(), keyColour, logo, error)) return true;
    error = path + ": " + error;
    return false;
}

bool LoadLogoFromBmpFile(const std::string& path, uint8_t (&logo)[kLogoBytes], std::string& error) {
    std::vector<uint8_t> bytes;
    if (!ReadPictureFile(path, bytes, error)) return false;
    RgbImage image;
    if (!DecodeBmp24(bytes.data(), bytes.size(), image, error)) {
        error = path + ": " + error;
        return false;
    }
    ScaleToLogo(image, logo);
    return true;
}

uint32_t LogoPixel(const uint8_t (&logo)[kLogoBytes], int x, int y) {
    const uint8_t* p = logo + ((kLogoSide - 1 - y) * kLogoSide + x) * 3;
    return (p[2] << 16) | (p[1] << 8) | p[0];
}

bool HasGlyph(char c) { return FindGlyph(c) != nullptr; }

bool DrawInitialsLogo(const std::string& letters, uint32_t colour, uint32_t transparent,
                      uint8_t (&logo)[kLogoBytes], std::string& error) {
    if (letters.empty() || letters.size() > 3) {
        error = "a logo holds 1 to 3 letters, not " + std::to_string(letters.size());
        return false;
    }
    for (char c : letters) {
        if (!HasGlyph(c)) {
            error = std::string("the logo letters may only be A-Z and 0-9 (not '") + c + "')";
            return false;
        }
    }
    colour &= 0xFFFFFF;
    transparent &= 0xFFFFFF;
    if (colour == transparent) {
        error = "the logo colour is the transparent colour: the logo would not show";
        return false;
    }
    int r = colour >> 16, g = (colour >> 8) & 0xFF, b = colour & 0xFF;
    uint32_t ink = (299 * r + 587 * g + 114 * b) / 1000 > 150 ? 0x000000 : 0xFFFFFF;
    if (ink == transparent) ink ^= 0xFFFFFF;

    for (int y = 0; y < kLogoSide; ++y) {
        for (int x = 0; x < kLogoSide; ++x) {
            int dx = 2 * x + 1 - kLogoSide, dy = 2 * y + 1 - kLogoSide;   // twice the offset from the centre
            SetLogoPixel(logo, x, y, dx * dx + dy * dy <= 47 * 47 ? colour : transparent);
        }
    }
    int n = static_cast<int>(letters.size());
    // Glyph pixels are drawn as blocks, taller than wide when there are many letters.
    int scaleX = n == 1 ? 4 : n == 2 ? 3 : 2;
    int scaleY = n == 3 ? 3 : 4;
    int textWidth = (n * kGlyphWidth + (n - 1)) * scaleX;
    int left = (kLogoSide - textWidth) / 2;
    int top = (kLogoSide - kGlyphHeight * scaleY) / 2;
    for (int i = 0; i < n; ++i) {
        const Glyph* glyph = FindGlyph(letters[i]);
        int x0 = left + i * (kGlyphWidth + 1) * scaleX;
        for (int row = 0; row < kGlyphHeight; ++row) {
            for (int col = 0; col < kGlyphWidth; ++col) {
                if (!(glyph->rows[row] & (0x10 >> col))) continue;
                for (int sy = 0; sy < scaleY; ++sy) {
                    for (int sx = 0; sx < scaleX; ++sx) {
                        SetLogoPixel(logo, x0 + col * scaleX + sx, top + row * scaleY + sy, ink);
                    }
                }
            }
        }
    }
    return true;
}

std::string InitialsFromName(const std::string& name) {
    std::string all, initials;
    bool inWord = false;
    for (unsigned char b : name) {
        char c = FoldToGlyph(b);
        if (c == 0) {
            inWord = false;
            continue;
        }
        if (all.size() < 3) all += c;
        if (!inWord && initials.size() < 3) initials += c;
        inWord = true;
    }
    return initials.size() > 1 ? initials : all;
}
