// The real DLL draws its stream list rows in the host skin's colours.
#include <cstdint>

#include "resources/resource_ids.h"
#include "tests/support/dib_canvas.h"
#include "tests/win32/plugin/plugin_host_fixture.h"
#include "tools/skin_generator/skin_image.h"


TEST_F(PluginHostTest, StreamListRowsAreDrawnInTheSkinColours) {
    WriteList("Ondaria.rtv", {"Un", "Deux", "Trois"});
    Start();
    HWND list = Control(IDC_STREAM_LIST);
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    RECT client;
    GetClientRect(list, &client);
    ASSERT_GE(client.bottom, 3 * 56) << "the list shows its three rows";
    const int width = client.right;
    Canvas canvas(width, client.bottom, RGB(0, 0, 0));
    SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    auto at = [&](int x, int y) { return static_cast<uint32_t>(canvas.At(x, y)); };

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
