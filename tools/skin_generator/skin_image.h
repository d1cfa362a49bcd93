// The two sample skin images of the stand-in host, and the 24-bit BMP
// writer that stores them. No Windows header: builds natively and cross.
//
// Layout of a skin image (pixel coordinates, origin top-left):
//   - colour slot i (0..21) at (48 + 2i, 0), the reference pixel at (111, 0);
//     a slot equal to the reference pixel is undefined;
//   - push button, normal image rows 0-14, pressed image rows 15-29, both in
//     columns 0-46: 4-pixel corners and edges around a centre.
// Colours are system colour values, 0x00BBGGRR.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skin {

constexpr int kImageWidth = 128;
constexpr int kImageHeight = 40;
constexpr int kSlotCount = 22;
constexpr int kReferenceX = 111;

inline int SlotX(int slot) { return 48 + 2 * slot; }

// Colours of one button image (normal or pressed). The bevel: `light` on the
// top-left corner, top and left edges; `dark` on the bottom-right corner,
// bottom and right edges; `mid` on the top-right and bottom-left corners.
struct ButtonColours {
    uint32_t light;
    uint32_t dark;
    uint32_t mid;
    uint32_t centre;
};

struct SkinDefinition {
    const char* fileName;               // "skin_blue.bmp"
    uint32_t slots[kSlotCount];         // colour written at each slot
    uint32_t reference;                 // pixel (111, 0)
    ButtonColours normal;
    ButtonColours pressed;
    uint32_t background;                // every other pixel
};

// Every slot of the blue skin is defined; the amber skin leaves slots 18 and
// 21 equal to its reference pixel (undefined).
const SkinDefinition& BlueSkin();
const SkinDefinition& AmberSkin();

inline bool SlotDefined(const SkinDefinition& skin, int slot) {
    return skin.slots[slot] != skin.reference;
}

// Pixels of a skin image, row by row from the top, one 0x00BBGGRR value each.
std::vector<uint32_t> RenderSkin(const SkinDefinition& skin);

// Colour of pixel (x, y) of the button image: y 0-14 normal, 15-29 pressed.
uint32_t ButtonPixel(const SkinDefinition& skin, int x, int y);

// Writes a bottom-up 24-bit BMP file. Returns 1 on success, 0 on failure.
int WriteBmp24(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);

// Writes skin_blue.bmp and skin_amber.bmp into a folder (no trailing
// separator needed). Returns 1 when both were written.
int WriteSampleSkins(const std::string& folder);

}  // namespace skin
