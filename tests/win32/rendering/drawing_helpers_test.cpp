// The two drawing helpers on DIB sections, read back pixel by pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "catalogue/logo_images.h"
#include "tests/support/dib_canvas.h"
#include "ui/drawing/drawing_helpers.h"

namespace {

const COLORREF kBackground = RGB(10, 20, 30);
const COLORREF kMagenta = RGB(255, 0, 255);

// A logo bitmap made the way the stream list makes it: compatible with the target.
class Logo {
public:
    Logo(HDC compatibleWith, const std::function<COLORREF(int, int)>& colour) {
        PaintLogo(bytes, colour);
        BITMAPINFO info = LogoBitmapInfo();
        bitmap = CreateDIBitmap(compatibleWith, &info.bmiHeader, CBM_INIT, bytes, &info, DIB_RGB_COLORS);
    }
    ~Logo() { DeleteObject(bitmap); }
    // The bitmap's pixels as they are now, in the record's layout.
    void ReadBack(HDC dc, uint8_t (&out)[kLogoBytes]) const {
        BITMAPINFO info = LogoBitmapInfo();
        GetDIBits(dc, bitmap, 0, kLogoSide, out, &info, DIB_RGB_COLORS);
    }

    uint8_t bytes[kLogoBytes];
    HBITMAP bitmap = nullptr;
};

COLORREF Checker(int x, int y) {
    if (x < 24) return kMagenta;                              // left half: key colour
    return ((x + y) & 1) ? RGB(200, 40, 0) : RGB(0, 90, 160);
}

TEST(DrawTransparentBitmap, KeyPixelsShowTheTargetAndTheRestIsCopied) {
    Canvas target(80, 80, kBackground);
    Logo logo(target.dc(), Checker);
    ASSERT_NE(logo.bitmap, nullptr);

    EXPECT_NE(DrawTransparentBitmap(target.dc(), logo.bitmap, 5, 7, 0xFF00FF), 0);

    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) {
            bool inside = x >= 5 && x < 53 && y >= 7 && y < 55;
            COLORREF expected = inside ? Checker(x - 5, y - 7) : kBackground;
            if (expected == kMagenta) expected = kBackground;
            ASSERT_EQ(Hex(target.At(x, y)), Hex(expected)) << "at " << x << ", " << y;
        }

    // The logo itself is handed back untouched.
    uint8_t after[kLogoBytes];
    logo.ReadBack(target.dc(), after);
    EXPECT_EQ(memcmp(after, logo.bytes, kLogoBytes), 0);
}

TEST(DrawTransparentBitmap, BitmapWithoutKeyPixelsIsCopiedWhole) {
    auto noKey = [](int x, int y) { return RGB(x * 5, y * 5, 77); };
    Canvas target(60, 60, kBackground);
    Logo logo(target.dc(), noKey);

    EXPECT_NE(DrawTransparentBitmap(target.dc(), logo.bitmap, 0, 0, 0xFF00FF), 0);

    for (int y = 0; y < kLogoSide; ++y)
        for (int x = 0; x < kLogoSide; ++x) ASSERT_EQ(Hex(target.At(x, y)), Hex(noKey(x, y))) << x << ", " << y;
    EXPECT_EQ(Hex(target.At(48, 0)), Hex(kBackground));
    EXPECT_EQ(Hex(target.At(0, 48)), Hex(kBackground));
}

TEST(DrawTransparentBitmap, KeyIsReadWithRedInTheThirdByte) {
    // 0x123456 in the record's order is red 0x12, green 0x34, blue 0x56. Its
    // byte-swapped twin, red 0x56 and blue 0x12, must stay opaque.
    const COLORREF key = RGB(0x12, 0x34, 0x56);
    const COLORREF twin = RGB(0x56, 0x34, 0x12);
    auto colour = [&](int x, int) { return x < 16 ? key : (x < 32 ? twin : RGB(1, 2, 3)); };
    Canvas target(48, 48, kBackground);
    Logo logo(target.dc(), colour);

    EXPECT_NE(DrawTransparentBitmap(target.dc(), logo.bitmap, 0, 0, 0x123456), 0);

    EXPECT_EQ(target.Count(RECT{0, 0, 16, 48}, kBackground), 16 * 48);
    EXPECT_EQ(target.Count(RECT{16, 0, 32, 48}, twin), 16 * 48);
    EXPECT_EQ(target.Count(RECT{32, 0, 48, 48}, RGB(1, 2, 3)), 16 * 48);
}

TEST(DrawTransparentBitmap, CoordinatesAreSigned16BitValues) {
    auto red = [](int, int) { return RGB(220, 0, 0); };
    Canvas target(60, 60, kBackground);
    Logo logo(target.dc(), red);

    // 0x1FFFE is -2 once cut to 16 bits, 0x10003 is 3.
    EXPECT_NE(DrawTransparentBitmap(target.dc(), logo.bitmap, 0x1FFFE, 0x10003, 0xFF00FF), 0);

    EXPECT_EQ(Hex(target.At(0, 3)), Hex(RGB(220, 0, 0)));
    EXPECT_EQ(Hex(target.At(45, 3)), Hex(RGB(220, 0, 0)));
    EXPECT_EQ(Hex(target.At(46, 3)), Hex(kBackground));
    EXPECT_EQ(Hex(target.At(0, 2)), Hex(kBackground));
    EXPECT_EQ(Hex(target.At(0, 50)), Hex(RGB(220, 0, 0)));
    EXPECT_EQ(Hex(target.At(0, 51)), Hex(kBackground));
}

TEST(DrawTransparentBitmap, RefusesMissingObjects) {
    Canvas target(10, 10, kBackground);
    EXPECT_EQ(DrawTransparentBitmap(target.dc(), nullptr, 0, 0, 0), 0);
    EXPECT_EQ(DrawTransparentBitmap(nullptr, reinterpret_cast<HBITMAP>(GetStockObject(DEFAULT_GUI_FONT)), 0, 0, 0),
              0);
    EXPECT_EQ(target.Count(RECT{0, 0, 10, 10}, kBackground), 100);
}

// ---- link badges ---------------------------------------------------------------

const COLORREF kOutline = RGB(0, 0, 200);
const COLORREF kFill = RGB(40, 40, 40);
const COLORREF kAccent = RGB(0, 230, 0);
const COLORREF kRing = RGB(230, 230, 0);
const COLORREF kSurround = RGB(90, 0, 90);

class LinkBadge : public ::testing::Test {
protected:
    void SetUp() override {
        font = CreateFontA(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, 16, "Arial");
        ASSERT_NE(font, nullptr);
    }
    void TearDown() override { DeleteObject(font); }

    HFONT font = nullptr;
    const RECT place = {20, 20, 68, 30};
};

TEST_F(LinkBadge, DrawsOutlineRingDotAndLabelThenMovesTheRectangle) {
    Canvas canvas(160, 60, kSurround);
    RECT r = place;
    DrawLinkBadge(canvas.dc(), font, &r, kOutline, kFill, kAccent, kRing, "web", "http://a.example/");

    EXPECT_EQ(r.left, place.left + 56);
    EXPECT_EQ(r.right, place.right + 56);
    EXPECT_EQ(r.top, place.top);
    EXPECT_EQ(r.bottom, place.bottom);

    // Rounded outline, filled inside; its corners are cut.
    EXPECT_EQ(Hex(canvas.At(23, 20)), Hex(kOutline));
    EXPECT_EQ(Hex(canvas.At(23, 29)), Hex(kOutline));
    EXPECT_EQ(Hex(canvas.At(20, 25)), Hex(kOutline));
    EXPECT_EQ(Hex(canvas.At(21, 25)), Hex(kFill));
    EXPECT_EQ(Hex(canvas.At(20, 20)), Hex(kSurround));
    // The ring spans (56, 18)-(70, 32), over the box's right end and beyond it.
    EXPECT_EQ(Hex(canvas.At(63, 18)), Hex(kRing));
    EXPECT_EQ(Hex(canvas.At(63, 31)), Hex(kRing));
    EXPECT_EQ(Hex(canvas.At(69, 25)), Hex(kRing));
    EXPECT_EQ(Hex(canvas.At(63, 17)), Hex(kSurround));
    EXPECT_EQ(Hex(canvas.At(63, 20)), Hex(kFill));   // ring's fill covers the outline
    // The dot, (60, 22)-(66, 28), in the accent colour.
    EXPECT_EQ(Hex(canvas.At(62, 24)), Hex(kAccent));
    EXPECT_EQ(Hex(canvas.At(63, 25)), Hex(kAccent));
    EXPECT_EQ(Hex(canvas.At(63, 21)), Hex(kFill));

    // The label, in the accent colour, centred in (20, 20)-(58, 30).
    RECT label = {21, 20, 56, 30};
    EXPECT_GT(canvas.Count(label, kAccent), 5);
    int minX = 1000, maxX = -1;
    for (int y = label.top; y < label.bottom; ++y)
        for (int x = label.left; x < label.right; ++x) {
            COLORREF c = canvas.At(x, y);
            if (c != kFill && c != kOutline) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
        }
    HGDIOBJ old = SelectObject(canvas.dc(), font);
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(canvas.dc(), "web", 3, &extent);
    SelectObject(canvas.dc(), old);
    int expectedLeft = 20 + (38 - extent.cx) / 2;
    // Ink starts where the centred text starts and ends within its advance.
    EXPECT_NEAR(minX, expectedLeft, 2);
    EXPECT_LE(maxX, expectedLeft + extent.cx);
    EXPECT_GT(maxX, expectedLeft + extent.cx / 2);
    // Nothing spills beyond the badge and its ring.
    EXPECT_EQ(canvas.Count(RECT{0, 0, 160, 17}, kSurround), 160 * 17);
    EXPECT_EQ(canvas.Count(RECT{0, 33, 160, 60}, kSurround), 160 * 27);
    EXPECT_EQ(canvas.Count(RECT{71, 0, 160, 60}, kSurround), 89 * 60);
}

TEST_F(LinkBadge, EmptyAddressGetsARedDotWhateverTheAccent) {
    for (COLORREF accent : {kAccent, RGB(255, 255, 255), kMissingLinkColour}) {
        Canvas canvas(100, 50, kSurround);
        RECT r = place;
        DrawLinkBadge(canvas.dc(), font, &r, kOutline, kFill, accent, kRing, "titre", "");
        EXPECT_EQ(Hex(canvas.At(63, 25)), Hex(RGB(255, 0, 0))) << Hex(accent);
        EXPECT_GT(canvas.Count(RECT{21, 21, 58, 29}, accent), 5) << "label keeps the accent " << Hex(accent);
    }
}

TEST_F(LinkBadge, LabelBackgroundIsTransparentAndTheContextIsLeftAsItWas) {
    Canvas canvas(100, 50, kSurround);
    HDC dc = canvas.dc();
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(255, 0, 255));
    SetTextColor(dc, RGB(1, 2, 3));
    HGDIOBJ ownFont = GetCurrentObject(dc, OBJ_FONT);
    HGDIOBJ ownPen = GetCurrentObject(dc, OBJ_PEN);
    HGDIOBJ ownBrush = GetCurrentObject(dc, OBJ_BRUSH);

    RECT r = place;
    DrawLinkBadge(dc, font, &r, kOutline, kFill, kAccent, kRing, "podcast", "http://p.example/");

    EXPECT_EQ(canvas.Count(RECT{0, 0, 100, 50}, RGB(255, 0, 255)), 0);
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(Hex(GetTextColor(dc)), Hex(RGB(1, 2, 3)));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), ownFont);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), ownPen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), ownBrush);
}

TEST_F(LinkBadge, SuccessiveBadgesSitFiftySixPixelsApart) {
    Canvas canvas(200, 50, kSurround);
    RECT r = place;
    for (const char* label : {"web", "titre", "podcast"})
        DrawLinkBadge(canvas.dc(), font, &r, kOutline, kFill, kAccent, kRing, label, "x");
    EXPECT_EQ(r.left, place.left + 3 * 56);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Hex(canvas.At(23 + 56 * i, 20)), Hex(kOutline)) << i;
        EXPECT_EQ(Hex(canvas.At(63 + 56 * i, 25)), Hex(kAccent)) << i;
    }
    // The ring ends at 69 and the next box starts at 76: the gap between shows through.
    EXPECT_EQ(Hex(canvas.At(72, 25)), Hex(kSurround));
}

}  // namespace
