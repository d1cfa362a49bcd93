// The sample skin images, read back by the system as the host hands them
// out, and the screenshot file.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "tests/support/test_folder.h"
#include "tools/skin_generator/skin_image.h"
#include "tools/standin_host/screen_capture.h"

namespace {

class SkinImage : public ::testing::TestWithParam<const skin::SkinDefinition*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(skin::WriteSampleSkins(folder.Path()));
        std::string path = folder.Path() + "\\" + GetParam()->fileName;
        bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr);
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
    }
    void TearDown() override {
        if (dc) {
            SelectObject(dc, old);
            DeleteDC(dc);
        }
        if (bitmap) DeleteObject(bitmap);
    }
    COLORREF At(int x, int y) { return GetPixel(dc, x, y); }

    TestFolder folder;
    HBITMAP bitmap = nullptr;
    HDC dc = nullptr;
    HGDIOBJ old = nullptr;
};

TEST_P(SkinImage, HoldsItsSlotsReferenceAndButtonImages) {
    const skin::SkinDefinition& s = *GetParam();
    BITMAP info;
    GetObjectA(bitmap, sizeof info, &info);
    EXPECT_GE(info.bmWidth, 112);
    EXPECT_GE(info.bmHeight, 30);
    EXPECT_EQ(info.bmBitsPixel, 24);
    for (int i = 0; i < skin::kSlotCount; ++i) {
        EXPECT_EQ(At(skin::SlotX(i), 0), s.slots[i]) << "slot " << i;
        EXPECT_NE(s.slots[i], 0x00FFC600u) << "slot " << i;  // that value reads as undefined
    }
    EXPECT_EQ(At(skin::kReferenceX, 0), s.reference);
    for (int i = 0; i <= 6; ++i) EXPECT_TRUE(skin::SlotDefined(s, i)) << "slot " << i;

    // Normal image rows 0-14, pressed 15-29: the bevel pieces and the centre.
    for (int top : {0, 15}) {
        const skin::ButtonColours& c = top == 0 ? s.normal : s.pressed;
        EXPECT_EQ(At(0, top), c.light);
        EXPECT_EQ(At(20, top + 3), c.light);
        EXPECT_EQ(At(3, top + 7), c.light);
        EXPECT_EQ(At(46, top), c.mid);
        EXPECT_EQ(At(0, top + 14), c.mid);
        EXPECT_EQ(At(43, top + 7), c.dark);
        EXPECT_EQ(At(20, top + 11), c.dark);
        EXPECT_EQ(At(46, top + 14), c.dark);
        EXPECT_EQ(At(4, top + 4), c.centre);
        EXPECT_EQ(At(42, top + 10), c.centre);
    }
    std::set<COLORREF> colours = {s.normal.light, s.normal.dark, s.normal.mid, s.normal.centre,
                                  s.pressed.light, s.pressed.dark, s.pressed.mid, s.pressed.centre};
    EXPECT_EQ(colours.size(), 8u);
}

INSTANTIATE_TEST_SUITE_P(BothSkins, SkinImage, ::testing::Values(&skin::BlueSkin(), &skin::AmberSkin()));

TEST(SampleSkins, DifferInEveryPanelColourAndOneLeavesSlotsUndefined) {
    const skin::SkinDefinition& blue = skin::BlueSkin();
    const skin::SkinDefinition& amber = skin::AmberSkin();
    for (int i = 0; i <= 6; ++i) EXPECT_NE(blue.slots[i], amber.slots[i]) << "slot " << i;
    for (int i = 0; i < skin::kSlotCount; ++i) EXPECT_TRUE(skin::SlotDefined(blue, i)) << "slot " << i;
    int undefined = 0;
    for (int i = 0; i < skin::kSlotCount; ++i) undefined += !skin::SlotDefined(amber, i);
    EXPECT_EQ(undefined, 2);
    EXPECT_FALSE(skin::SlotDefined(amber, 18));
    EXPECT_FALSE(skin::SlotDefined(amber, 21));
}

TEST(SampleSkins, AFolderThatCannotBeWrittenIsReported) {
    EXPECT_EQ(skin::WriteSampleSkins("Q:\\no\\such\\folder"), 0);
}

TEST(ScreenCapture, WritesAScreenSized24BitBmp) {
    TestFolder folder;
    std::string path = folder.Path() + "\\screen.bmp";
    ASSERT_TRUE(standin::CaptureScreenToBmp(path));
    FILE* in = std::fopen(path.c_str(), "rb");
    ASSERT_NE(in, nullptr);
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER header;
    ASSERT_EQ(std::fread(&file, sizeof file, 1, in), 1u);
    ASSERT_EQ(std::fread(&header, sizeof header, 1, in), 1u);
    std::fseek(in, 0, SEEK_END);
    long size = std::ftell(in);
    std::fclose(in);
    EXPECT_EQ(file.bfType, 0x4D42);
    EXPECT_EQ(header.biWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(header.biHeight, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(static_cast<DWORD>(size), file.bfSize);
    EXPECT_EQ(standin::CaptureScreenToBmp("Q:\\no\\such\\folder\\screen.bmp"), 0);
}

}  // namespace
