// The colour table taken from the host's skin: 22 system colour values
// (0x00BBGGRR) read from fixed pixels of the skin bitmap, and the rule that
// turns those pixels into the table. No Windows header: the Win32 side
// (panel/dialog_skin.h) reads the pixels and stores the result here.
#pragma once

#include <cstdint>

constexpr int kSkinColourCount = 22;

// The colours that drawing code asks for by name.
enum class SkinColourName : int {
    itemBackground = 0,
    itemText = 1,
    windowBackground = 2,
    buttonText = 3,
    windowText = 4,
    divider = 5,
    selectionBackground = 6,
};

// Where the skin bitmap keeps its colours: slot i at (48 + 2i, 0); a slot
// holding the same colour as the reference pixel is unset.
constexpr int kSkinReferenceX = 111;
constexpr int SkinSlotX(int index) { return 48 + 2 * index; }

// GetPixel's answer for a pixel outside the bitmap (CLR_INVALID).
constexpr uint32_t kSkinPixelOutside = 0xFFFFFFFFu;
// The colour skins paint into slots they leave unset (RGB 0, 198, 255).
constexpr uint32_t kSkinPixelUnset = 0x00FFC600u;

// The table before any skin has been read.
extern const uint32_t kDefaultSkinColours[kSkinColourCount];

// Builds a whole table from the 22 slot pixels and the reference pixel. An
// unset slot (outside the bitmap, kSkinPixelUnset, or equal to the
// reference) takes: 18 and 20 entry 4 of this table, 19 entry 6, 21 the
// per-channel mean of entries 2 and 6 rounded down, any other its default.
void BuildSkinColourTable(const uint32_t pixels[kSkinColourCount], uint32_t reference,
                          uint32_t table[kSkinColourCount]);

// The process-wide table (user-interface thread only).
// Entry `index`, or 0 when the index, taken as unsigned, is 22 or more.
uint32_t SkinColour(int index);
inline uint32_t SkinColour(SkinColourName name) { return SkinColour(static_cast<int>(name)); }
void SetSkinColourTable(const uint32_t table[kSkinColourCount]);
// Back to kDefaultSkinColours.
void ResetSkinColourTable();
