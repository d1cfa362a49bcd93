#include "panel/portable/skin_colours.h"

#include <cstring>

// constexpr so that the live table below is filled before any code runs.
constexpr uint32_t kDefaultSkinColours[kSkinColourCount] = {
    0x000000,  // 0  itemBackground
    0x00FF00,  // 1  itemText
    0x3C2424,  // 2  windowBackground
    0x423839,  // 3  buttonText
    0xFFFFFF,  // 4  windowText
    0xA59484,  // 5  divider
    0xC60000,  // 6  selectionBackground
    0x784848,  // 7
    0xFFFFFF,  // 8
    0xB46C6C,  // 9
    0x3C2424,  // 10
    0x1E1212,  // 11
    0x3C2424,  // 12
    0x3C2424,  // 13
    0x3C2424,  // 14
    0x968279,  // 15
    0x6E584E,  // 16
    0x3C2424,  // 17
    0xFFFFFF,  // 18
    0xB40000,  // 19
    0x00FF00,  // 20
    0x800000,  // 21
};

namespace {

struct Table {
    uint32_t entries[kSkinColourCount];
};

constexpr Table DefaultTable() {
    Table table{};
    for (int i = 0; i < kSkinColourCount; ++i) table.entries[i] = kDefaultSkinColours[i];
    return table;
}

Table g_table = DefaultTable();

}  // namespace

void BuildSkinColourTable(const uint32_t pixels[kSkinColourCount], uint32_t reference,
                          uint32_t table[kSkinColourCount]) {
    // In increasing order: the substitutes of 18 to 21 come from entries
    // already filled in this pass.
    for (int i = 0; i < kSkinColourCount; ++i) {
        const uint32_t c = pixels[i];
        if (c != kSkinPixelOutside && c != kSkinPixelUnset && c != reference) {
            table[i] = c;
            continue;
        }
        switch (i) {
        case 18:
        case 20:
            table[i] = table[4];
            break;
        case 19:
            table[i] = table[6];
            break;
        case 21:
            table[i] = ((table[2] >> 1) & 0x7F7F7F) + ((table[6] >> 1) & 0x7F7F7F);
            break;
        default:
            table[i] = kDefaultSkinColours[i];
            break;
        }
    }
}

uint32_t SkinColour(int index) {
    const unsigned slot = static_cast<unsigned>(index);
    return slot < static_cast<unsigned>(kSkinColourCount) ? g_table.entries[slot] : 0;
}

void SetSkinColourTable(const uint32_t table[kSkinColourCount]) {
    memcpy(g_table.entries, table, sizeof g_table.entries);
}

void ResetSkinColourTable() { SetSkinColourTable(kDefaultSkinColours); }
