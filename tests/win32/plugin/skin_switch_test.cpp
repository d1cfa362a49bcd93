// The panel follows the host's skin, and a skin switch repaints it.
#include "resources/resource_ids.h"
#include "tests/win32/plugin/plugin_host_fixture.h"
#include "tools/skin_generator/skin_image.h"

namespace {

COLORREF PixelOf(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

// The list's empty area is painted with the item background colour, the
// panel's own surface with the window background colour.
void ExpectSkin(HWND panel, HWND list, const skin::SkinDefinition& s) {
    RECT client;
    GetClientRect(list, &client);
    EXPECT_EQ(PixelOf(list, client.right / 2, client.bottom - 4), static_cast<COLORREF>(s.slots[0]));
    EXPECT_EQ(PixelOf(panel, 300, 2), static_cast<COLORREF>(s.slots[2]));
}

}  // namespace

TEST_F(PluginHostTest, TheSkinSwitchRepaintsThePanelInTheNewColours) {
    Start();
    HWND list = Control(IDC_STREAM_LIST);
    RedrawWindow(Panel(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ExpectSkin(Panel(), list, skin::BlueSkin());
    size_t bitmaps = host->SkinBitmapsHandedOut().size();

    ASSERT_TRUE(host->SwitchSkin(1));
    Pump(100);
    ExpectSkin(Panel(), list, skin::AmberSkin());
    // A new bitmap was asked for, and the previous one was deleted by the plugin.
    const std::vector<HBITMAP>& handed = host->SkinBitmapsHandedOut();
    ASSERT_EQ(handed.size(), bitmaps + 1);
    EXPECT_EQ(GetObjectType(handed[bitmaps - 1]), 0u);
    EXPECT_NE(GetObjectType(handed[bitmaps]), 0u);
    Stop();
    EXPECT_EQ(GetObjectType(handed[bitmaps]), 0u);   // released at shut-down
}
