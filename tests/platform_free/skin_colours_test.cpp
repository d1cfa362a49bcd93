#include "panel/portable/skin_colours.h"

#include <gtest/gtest.h>

namespace {

struct Pixels {
    uint32_t slots[kSkinColourCount];
};

Pixels AllSlots(uint32_t value) {
    Pixels p;
    for (uint32_t& slot : p.slots) slot = value;
    return p;
}

struct SkinColourTable : ::testing::Test {
    void TearDown() override { ResetSkinColourTable(); }
};

TEST_F(SkinColourTable, StartsWithTheDefaultColours) {
    const uint32_t expected[kSkinColourCount] = {
        0x000000, 0x00FF00, 0x3C2424, 0x423839, 0xFFFFFF, 0xA59484, 0xC60000, 0x784848,
        0xFFFFFF, 0xB46C6C, 0x3C2424, 0x1E1212, 0x3C2424, 0x3C2424, 0x3C2424, 0x968279,
        0x6E584E, 0x3C2424, 0xFFFFFF, 0xB40000, 0x00FF00, 0x800000,
    };
    for (int i = 0; i < kSkinColourCount; ++i) {
        EXPECT_EQ(kDefaultSkinColours[i], expected[i]) << "entry " << i;
        EXPECT_EQ(SkinColour(i), expected[i]) << "entry " << i;
    }
    EXPECT_EQ(SkinColour(SkinColourName::windowBackground), 0x3C2424u);
    EXPECT_EQ(SkinColour(SkinColourName::divider), 0xA59484u);
}

TEST_F(SkinColourTable, IndexOutsideTheTableGivesZero) {
    uint32_t table[kSkinColourCount];
    for (int i = 0; i < kSkinColourCount; ++i) table[i] = 0x010101u * (i + 1);
    SetSkinColourTable(table);
    EXPECT_EQ(SkinColour(21), 0x161616u);
    EXPECT_EQ(SkinColour(22), 0u);
    EXPECT_EQ(SkinColour(-1), 0u);
    EXPECT_EQ(SkinColour(-2147483647 - 1), 0u);
    EXPECT_EQ(SkinColour(1000), 0u);
    ResetSkinColourTable();
    EXPECT_EQ(SkinColour(21), 0x800000u);
}

TEST(SkinColourRule, SlotsLikeTheReferenceTakeDefaultsAndFallbacks) {
    const Pixels p = AllSlots(0x123456);
    uint32_t table[kSkinColourCount];
    BuildSkinColourTable(p.slots, 0x123456, table);
    for (int i = 0; i < 18; ++i) EXPECT_EQ(table[i], kDefaultSkinColours[i]) << "entry " << i;
    EXPECT_EQ(table[18], 0xFFFFFFu);
    EXPECT_EQ(table[19], 0xC60000u);
    EXPECT_EQ(table[20], 0xFFFFFFu);
    EXPECT_EQ(table[21], 0x811212u);
}

TEST(SkinColourRule, OutsidePixelsAndTheUnsetColourAreUndefined) {
    // Slots 0-5 read, the rest outside the bitmap, as with a 60-pixel-wide skin.
    Pixels p = AllSlots(kSkinPixelOutside);
    const uint32_t read[6] = {0x101010, 0x202020, 0x404040, 0x303030, 0x0A0B0C, 0x505050};
    for (int i = 0; i < 6; ++i) p.slots[i] = read[i];
    p.slots[1] = kSkinPixelUnset;  // unset even though the reference is something else
    uint32_t table[kSkinColourCount];
    BuildSkinColourTable(p.slots, kSkinPixelOutside, table);

    EXPECT_EQ(table[0], 0x101010u);
    EXPECT_EQ(table[1], kDefaultSkinColours[1]);
    EXPECT_EQ(table[2], 0x404040u);
    EXPECT_EQ(table[4], 0x0A0B0Cu);
    EXPECT_EQ(table[6], 0xC60000u);
    for (int i = 7; i < 18; ++i) EXPECT_EQ(table[i], kDefaultSkinColours[i]) << "entry " << i;
    EXPECT_EQ(table[18], 0x0A0B0Cu) << "entry 4 as read in this pass";
    EXPECT_EQ(table[20], 0x0A0B0Cu);
    EXPECT_EQ(table[19], 0xC60000u);
    // Channel means rounded down: (0x40 + 0x00) / 2, (0x40 + 0x00) / 2, (0x40 + 0xC6) / 2.
    EXPECT_EQ(table[21], 0x832020u);
}

TEST(SkinColourRule, FallbacksFollowTheSkinNotTheOldTable) {
    uint32_t table[kSkinColourCount];
    for (uint32_t& entry : table) entry = 0xDEADBEu;  // leftovers of an earlier skin
    Pixels p = AllSlots(0x000001);
    p.slots[2] = 0xFF01FF;
    p.slots[4] = 0x112233;
    p.slots[6] = 0x03FF01;
    p.slots[19] = 0x0000FE;  // a defined slot keeps its own value
    BuildSkinColourTable(p.slots, 0x000001, table);
    EXPECT_EQ(table[18], 0x112233u);
    EXPECT_EQ(table[19], 0x0000FEu);
    EXPECT_EQ(table[20], 0x112233u);
    // Each channel halved before adding: 7F+01, 00+7F, 7F+00.
    EXPECT_EQ(table[21], 0x807F7Fu);
    EXPECT_EQ(table[0], kDefaultSkinColours[0]);
}

TEST(SkinColourRule, UnsetColourIsUndefinedEvenAsTheReference) {
    Pixels p = AllSlots(0x445566);
    p.slots[5] = kSkinPixelUnset;
    p.slots[19] = kSkinPixelUnset;
    uint32_t table[kSkinColourCount];
    BuildSkinColourTable(p.slots, kSkinPixelUnset, table);
    EXPECT_EQ(table[0], 0x445566u);
    EXPECT_EQ(table[5], kDefaultSkinColours[5]);
    EXPECT_EQ(table[19], 0x445566u) << "entry 6, which was read";
}

}  // namespace
