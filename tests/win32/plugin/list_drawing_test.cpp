// The real DLL draws its stream list rows in the host skin's colours.
#include <cstdint>

#include "tests/win32/plugin/plugin_host_fixture.h"
#include "tools/skin_generator/skin_image.h"

namespace {

// The list's client area printed into a 32-bit top-down DIB section.
std::vector<uint32_t> PrintClient(HWND list, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    std::vector<uint32_t> pixels;
    for (int i = 0; i < width * height; ++i) {
        uint32_t p = static_cast<uint32_t*>(bits)[i];   // 0x00RRGGBB
        pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return pixels;
}

}  // namespace

TEST_F(PluginHostTest, StreamListRowsAreDrawnInTheSkinColours) {
    WriteList("Ondaria.rtv", {"Un", "Deux", "Trois"});
    Start();
    HWND list = Control(1001);
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    RECT client;
    GetClientRect(list, &client);
    ASSERT_GE(client.bottom, 3 * 56) << "the list shows its three rows";
    const int width = client.right;
    std::vector<uint32_t> pixels = PrintClient(list, width, client.bottom);
    auto at = [&](int x, int y) { return pixels[y * width + x]; };

    const skin::SkinDefinition& blue = skin::BlueSkin();
    EXPECT_EQ(at(1, 1), blue.slots[0]);
    EXPECT_EQ(at(width - 2, 54), blue.slots[0]);
    EXPECT_EQ(at(1, 57), blue.slots[6]);
    EXPECT_EQ(at(width - 2, 110), blue.slots[6]);
    EXPECT_EQ(at(1, 113), blue.slots[0]);
    // The title in the text colour on each row.
    int textPixels = 0;
    for (int y = 60; y < 76; ++y)
        for (int x = 56; x < width; ++x) textPixels += at(x, y) == blue.slots[1];
    EXPECT_GT(textPixels, 20);
}
