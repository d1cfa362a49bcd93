#include "catalogue/portable/logo_scaling.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint32_t kKey = 0xFF00FF;
constexpr uint32_t kOpaque = 0xFF000000;

uint32_t At(const uint8_t (&logo)[kLogoBytes], int x, int y) {   // y from the top
    const uint8_t* p = logo + ((kLogoSide - 1 - y) * kLogoSide + x) * 3;
    return (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

std::vector<uint32_t> Filled(int w, int h, uint32_t argb) { return std::vector<uint32_t>(size_t(w) * h, argb); }

TEST(LogoScaling, ASquarePictureFillsTheLogo) {
    uint8_t logo[kLogoBytes];
    auto red = Filled(96, 96, kOpaque | 0xFF0000);
    ASSERT_TRUE(ScaleToLogoArgb(red.data(), 96, 96, kKey, logo));
    for (int y = 0; y < kLogoSide; ++y)
        for (int x = 0; x < kLogoSide; ++x) ASSERT_EQ(At(logo, x, y), 0xFF0000u) << x << "," << y;
}

TEST(LogoScaling, AWidePictureIsCentredWithKeyColouredMargins) {
    uint8_t logo[kLogoBytes];
    auto blue = Filled(200, 100, kOpaque | 0x0000FF);
    ASSERT_TRUE(ScaleToLogoArgb(blue.data(), 200, 100, kKey, logo));
    EXPECT_EQ(At(logo, 0, 0), kKey);
    EXPECT_EQ(At(logo, 47, 11), kKey);
    EXPECT_EQ(At(logo, 0, 12), 0x0000FFu);
    EXPECT_EQ(At(logo, 47, 35), 0x0000FFu);
    EXPECT_EQ(At(logo, 20, 36), kKey);
    // A tall one likewise, left and right.
    auto tall = Filled(10, 40, kOpaque | 0x00FF00);
    ASSERT_TRUE(ScaleToLogoArgb(tall.data(), 10, 40, kKey, logo));
    EXPECT_EQ(At(logo, 0, 20), kKey);
    EXPECT_EQ(At(logo, 24, 20), 0x00FF00u);
    EXPECT_EQ(At(logo, 47, 20), kKey);
}

TEST(LogoScaling, PixelsAreAveragedOverTheirArea) {
    // Black and white columns, one pixel each: halved, every logo pixel is grey.
    std::vector<uint32_t> stripes(96 * 96);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x) stripes[y * 96 + x] = kOpaque | (x % 2 ? 0xFFFFFF : 0);
    uint8_t logo[kLogoBytes];
    ASSERT_TRUE(ScaleToLogoArgb(stripes.data(), 96, 96, kKey, logo));
    EXPECT_EQ(At(logo, 10, 10), 0x808080u);
    // A small icon grows: each of its pixels covers a 3 x 3 block.
    std::vector<uint32_t> icon(16 * 16, kOpaque | 0x112233);
    icon[0] = kOpaque | 0xABCDEF;
    ASSERT_TRUE(ScaleToLogoArgb(icon.data(), 16, 16, kKey, logo));
    EXPECT_EQ(At(logo, 2, 2), 0xABCDEFu);
    EXPECT_EQ(At(logo, 3, 3), 0x112233u);
}

TEST(LogoScaling, TransparentPartsTakeTheKeyColour) {
    std::vector<uint32_t> picture(48 * 48, 0x00FFFFFF);   // fully transparent white
    for (int x = 0; x < 48; ++x) picture[24 * 48 + x] = kOpaque | 0x336699;
    picture[10 * 48 + 10] = 0x40FF0000;    // a quarter opaque: transparent
    picture[11 * 48 + 11] = 0xC0FF0000;    // three quarters: kept, colour undiluted
    uint8_t logo[kLogoBytes];
    ASSERT_TRUE(ScaleToLogoArgb(picture.data(), 48, 48, 0x00FF00, logo));
    EXPECT_EQ(At(logo, 5, 5), 0x00FF00u);
    EXPECT_EQ(At(logo, 5, 24), 0x336699u);
    EXPECT_EQ(At(logo, 10, 10), 0x00FF00u);
    EXPECT_EQ(At(logo, 11, 11), 0xFF0000u);
}

TEST(LogoScaling, NothingToScaleIsRefused) {
    uint8_t logo[kLogoBytes] = {7};
    uint32_t one = kOpaque;
    EXPECT_FALSE(ScaleToLogoArgb(nullptr, 4, 4, kKey, logo));
    EXPECT_FALSE(ScaleToLogoArgb(&one, 0, 4, kKey, logo));
    EXPECT_EQ(logo[0], 7);
    EXPECT_TRUE(ScaleToLogoArgb(&one, 1, 1, kKey, logo));   // one pixel fills the whole logo
    EXPECT_EQ(At(logo, 47, 47), 0u);
}

}  // namespace
