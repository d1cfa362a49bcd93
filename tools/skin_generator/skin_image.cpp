#include "tools/skin_generator/skin_image.h"

#include <cstdio>

namespace skin {

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

// Slots 0-6 are the ones the panel draws with; every one differs between the
// two skins. Slots 7-21 are read and kept but not drawn.
const SkinDefinition kBlue = {
    "skin_blue.bmp",
    {
        Rgb(12, 22, 64),     // 0 item background
        Rgb(176, 214, 255),  // 1 item text
        Rgb(30, 52, 104),    // 2 window background
        Rgb(255, 255, 255),  // 3 button text
        Rgb(206, 232, 255),  // 4 window text
        Rgb(92, 142, 222),   // 5 divider
        Rgb(44, 96, 206),    // 6 selection
        Rgb(20, 40, 90), Rgb(230, 240, 255), Rgb(60, 110, 180), Rgb(30, 52, 104),
        Rgb(8, 14, 40), Rgb(34, 58, 112), Rgb(38, 64, 120), Rgb(42, 70, 128),
        Rgb(120, 150, 200), Rgb(70, 100, 150), Rgb(26, 46, 96),
        Rgb(210, 225, 250),  // 18
        Rgb(50, 110, 230),   // 19
        Rgb(190, 220, 250),  // 20
        Rgb(36, 74, 150),    // 21
    },
    Rgb(255, 0, 255),
    {Rgb(150, 190, 250), Rgb(16, 36, 90), Rgb(84, 114, 170), Rgb(64, 104, 186)},
    {Rgb(10, 20, 50), Rgb(170, 200, 240), Rgb(90, 100, 130), Rgb(24, 44, 96)},
    Rgb(30, 52, 104),
};

const SkinDefinition kAmber = {
    "skin_amber.bmp",
    {
        Rgb(44, 22, 2),      // 0 item background
        Rgb(255, 202, 84),   // 1 item text
        Rgb(86, 48, 10),     // 2 window background
        Rgb(34, 16, 0),      // 3 button text
        Rgb(255, 232, 176),  // 4 window text
        Rgb(204, 134, 44),   // 5 divider
        Rgb(172, 92, 4),     // 6 selection
        Rgb(100, 60, 20), Rgb(255, 240, 200), Rgb(200, 140, 60), Rgb(86, 48, 10),
        Rgb(30, 14, 0), Rgb(96, 54, 12), Rgb(104, 60, 14), Rgb(112, 66, 16),
        Rgb(210, 170, 110), Rgb(150, 110, 60), Rgb(76, 42, 8),
        Rgb(0, 250, 250),    // 18: equal to the reference, undefined
        Rgb(220, 120, 10),   // 19
        Rgb(255, 220, 150),  // 20
        Rgb(0, 250, 250),    // 21: equal to the reference, undefined
    },
    Rgb(0, 250, 250),
    {Rgb(255, 226, 150), Rgb(120, 60, 0), Rgb(200, 150, 80), Rgb(240, 172, 64)},
    {Rgb(70, 34, 0), Rgb(250, 200, 120), Rgb(150, 100, 50), Rgb(190, 112, 22)},
    Rgb(86, 48, 10),
};

}  // namespace

const SkinDefinition& BlueSkin() { return kBlue; }
const SkinDefinition& AmberSkin() { return kAmber; }

uint32_t ButtonPixel(const SkinDefinition& skin, int x, int y) {
    const ButtonColours& c = y < 15 ? skin.normal : skin.pressed;
    int row = y < 15 ? y : y - 15;
    bool left = x < 4, right = x > 42, top = row < 4, bottom = row > 10;
    if ((top && right) || (bottom && left)) return c.mid;
    if (top || left) return c.light;
    if (bottom || right) return c.dark;
    return c.centre;
}

std::vector<uint32_t> RenderSkin(const SkinDefinition& skin) {
    std::vector<uint32_t> pixels(kImageWidth * kImageHeight, skin.background);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 47; ++x) pixels[y * kImageWidth + x] = ButtonPixel(skin, x, y);
    // Row 0 right of the button: reference colour between and after the slots,
    // so a reading off by one pixel finds an undefined slot.
    for (int x = 47; x < kImageWidth; ++x) pixels[x] = skin.reference;
    for (int i = 0; i < kSlotCount; ++i) pixels[SlotX(i)] = skin.slots[i];
    return pixels;
}

int WriteBmp24(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * height) return 0;
    const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t imageSize = stride * static_cast<uint32_t>(height);
    const uint32_t offset = 14 + 40;
    std::vector<unsigned char> file(offset + imageSize, 0);
    auto put16 = [&](size_t at, uint32_t v) { file[at] = v & 0xFF; file[at + 1] = (v >> 8) & 0xFF; };
    auto put32 = [&](size_t at, uint32_t v) { put16(at, v & 0xFFFF); put16(at + 2, v >> 16); };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, offset + imageSize);
    put32(10, offset);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));  // positive: bottom-up rows
    put16(26, 1);
    put16(28, 24);
    put32(34, imageSize);
    put32(38, 2835);  // 72 dpi
    put32(42, 2835);
    for (int y = 0; y < height; ++y) {
        size_t row = offset + static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            uint32_t c = pixels[static_cast<size_t>(y) * width + x];
            file[row + x * 3 + 0] = (c >> 16) & 0xFF;  // blue
            file[row + x * 3 + 1] = (c >> 8) & 0xFF;   // green
            file[row + x * 3 + 2] = c & 0xFF;          // red
        }
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return 0;
    bool ok = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    ok = std::fclose(out) == 0 && ok;
    return ok ? 1 : 0;
}

int WriteSampleSkins(const std::string& folder) {
    std::string base = folder;
    if (!base.empty() && base.back() != '/' && base.back() != '\\') {
#ifdef _WIN32
        base += '\\';
#else
        base += '/';
#endif
    }
    int ok = 1;
    for (const SkinDefinition* s : {&kBlue, &kAmber})
        ok &= WriteBmp24(base + s->fileName, kImageWidth, kImageHeight, RenderSkin(*s));
    return ok;
}

}  // namespace skin
