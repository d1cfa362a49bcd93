// The stream list as a window: row height, notices to the panel, keys,
// hover invalidation and the painting of the skinned scroll bar parts.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/list_view.h"
#include "scrollbars/skinned_scroll_bars.h"
#include "tests/support/catalogue_fixture.h"
#include "tests/support/dib_canvas.h"

namespace {

// One sequence shared by the parent and the list box's own procedure, so
// that the order of what each saw can be asserted.
std::vector<std::string> g_events;
HWND g_list = nullptr;
WNDPROC g_listBoxProc = nullptr;

LRESULT CALLBACK RecordingParent(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(second);
        LRESULT selection = SendMessageA(header->hwndFrom, LB_GETCURSEL, 0, 0);
        g_events.push_back("notify " + std::to_string(static_cast<int>(header->code)) + " id " +
                           std::to_string(header->idFrom) + " wparam " + std::to_string(first) + " sel " +
                           std::to_string(selection) + (header->hwndFrom == g_list ? "" : " wrong sender"));
        return 0;
    }
    if (message == WM_KEYDOWN) {
        g_events.push_back("parent key " + std::to_string(first) + " lparam " + std::to_string(second));
        return 0;
    }
    return DefWindowProcA(hwnd, message, first, second);
}

// Sits beneath the catalogue's procedure: what the list box itself receives.
LRESULT CALLBACK BeneathList(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    if (message == WM_KEYDOWN) g_events.push_back("list key " + std::to_string(first));
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN) {
        g_events.push_back("list button " + std::to_string(message));
    }
    return CallWindowProcA(g_listBoxProc, hwnd, message, first, second);
}

class ListControl : public ::testing::Test {
protected:
    void SetUp() override {
        g_events.clear();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RecordingParent;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ListControlParent";
        RegisterClassA(&wc);
        parent = CreateWindowExA(0, "ListControlParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 400, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED |
                                   LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                               0, 0, 300, 300, parent, reinterpret_cast<HMENU>(IDC_STREAM_LIST), wc.hInstance, nullptr);
        g_list = list;
        g_listBoxProc = reinterpret_cast<WNDPROC>(SetWindowLongA(list, GWL_WNDPROC, reinterpret_cast<LONG>(BeneathList)));
        view.Subclass(list);
        ASSERT_EQ(view.UpdateItemHeight(), 1);
        for (const char* name : {"A", "B", "C", "D"}) view.AddStream(MakeRecord(name));
        SendMessageA(list, LB_SETCURSEL, 0, 0);
        UpdateWindow(parent);
        g_events.clear();
    }
    void TearDown() override {
        view.ClearCatalogue();
        view.Unsubclass();
        DestroyWindow(parent);
    }

    RECT UpdateRectAfterMove(int x, int y) {
        ValidateRect(list, nullptr);
        SendMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        RECT r = {0, 0, 0, 0};
        GetUpdateRect(list, &r, FALSE);
        return r;
    }

    HWND parent = nullptr;
    HWND list = nullptr;
    CListView view;
};

}  // namespace

TEST_F(ListControl, RowsAre56PixelsAndAnUnattachedListIsRefused) {
    EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 56);
    CListView unattached;
    EXPECT_EQ(unattached.UpdateItemHeight(), 0);
}

TEST_F(ListControl, ClicksAreToldToTheParentBeforeTheListBoxHandlesThem) {
    // Row 2 lies at y 112..167. The first press of a double click has not
    // moved the selection yet when its notice arrives; the double click has.
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 130));
    SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(20, 130));
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 130));
    SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(20, 130));
    SendMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 10));
    std::vector<std::string> expected = {
        "notify -2 id 1001 wparam 1001 sel 0", "list button 513",
        "notify -3 id 1001 wparam 1001 sel 2", "list button 515",
        "notify -5 id 1001 wparam 1001 sel 2", "list button 516",
    };
    EXPECT_EQ(g_events, expected);
}

TEST_F(ListControl, EnterF2AndSpaceReachThePanelFirstOtherKeysDoNot) {
    for (WPARAM key : std::vector<WPARAM>{VK_RETURN, VK_F2, VK_SPACE, VK_DOWN, 'A'}) {
        SendMessageA(list, WM_KEYDOWN, key, 0x00010001);
        SendMessageA(list, WM_KEYUP, key, 0xC0010001);
    }
    std::vector<std::string> expected = {
        "parent key 13 lparam 0", "list key 13", "parent key 113 lparam 0", "list key 113",
        "parent key 32 lparam 0", "list key 32", "list key 40", "list key 65",
    };
    EXPECT_EQ(g_events, expected);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);   // the list box still moved on the down key
}

TEST_F(ListControl, MouseMovesInvalidateOnlyTheBadgeBandOfOneRowAndDropTheHotLink) {
    RECT client;
    GetClientRect(list, &client);
    view.hotLink = view.slots[0]->website;
    RECT r = UpdateRectAfterMove(60, 40);
    EXPECT_EQ(view.hotLink, nullptr);
    EXPECT_EQ(view.mouseX, 60);
    EXPECT_EQ(view.mouseY, 40);
    EXPECT_EQ(r.left, 52);
    EXPECT_EQ(r.top, 31);
    EXPECT_EQ(r.right, client.right);
    EXPECT_EQ(r.bottom, 56);

    view.hotLink = view.slots[0]->website;
    r = UpdateRectAfterMove(60, 20);
    EXPECT_TRUE(IsRectEmpty(&r));
    EXPECT_EQ(view.hotLink, nullptr);

    r = UpdateRectAfterMove(60, 87);
    EXPECT_TRUE(IsRectEmpty(&r));
    r = UpdateRectAfterMove(60, 88);
    EXPECT_EQ(r.top, 87);
    EXPECT_EQ(r.bottom, 112);

    SendMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(-5, -3));   // coordinates are signed
    EXPECT_EQ(view.mouseX, -5);
    EXPECT_EQ(view.mouseY, -3);
}

TEST(ListColours, ShadesAreTakenPerChannelAndClamped) {
    CListView view;
    view.SetColours(RGB(10, 250, 200), RGB(240, 20, 100));
    EXPECT_EQ(view.backgroundColour, RGB(240, 20, 100));
    EXPECT_EQ(view.backgroundLight, RGB(255, 51, 131));
    EXPECT_EQ(view.backgroundDark, RGB(209, 0, 69));
    EXPECT_EQ(view.backgroundDarker, RGB(193, 0, 53));
    EXPECT_EQ(view.selectionColour, RGB(10, 250, 200));
    EXPECT_EQ(view.selectionLight, RGB(41, 255, 231));
}

namespace {

// Parts are painted into a 64 x 64 canvas and read back.
class PartCanvas : public Canvas {
public:
    PartCanvas() : Canvas(64, 64, RGB(1, 2, 3)) {}
    void Clear(COLORREF c) { Fill(RECT{0, 0, 64, 64}, c); }
    int CountRow(int y, int x0, int x1, COLORREF c) const { return Count(RECT{x0, y, x1, y + 1}, c); }
};

NMSKINSCROLLDRAW Part(HDC dc, UINT stage, UINT bar, UINT item, RECT r) {
    NMSKINSCROLLDRAW d = {};
    d.code = NM_SKINSCROLL_CUSTOMDRAW;
    d.drawStage = stage;
    d.hdc = dc;
    d.rect = r;
    d.item = item;
    d.bar = bar;
    d.state = 0x20;
    return d;
}

const COLORREF kSelection = RGB(200, 40, 30);
const COLORREF kBackground = RGB(240, 20, 100);
const COLORREF kUntouched = RGB(1, 2, 3);

}  // namespace

TEST(ScrollBarParts, StagesAskForEveryItemAndDrawNothing) {
    CListView view;
    view.SetColours(kSelection, kBackground);
    PartCanvas canvas;
    for (UINT stage : {kSkinScrollPrePaint, kSkinScrollPostPaint}) {
        NMSKINSCROLLDRAW d = Part(canvas.dc(), stage, kVerticalBar, kPartUpArrow, RECT{0, 0, 16, 16});
        LRESULT answer = -1;
        EXPECT_EQ(view.DrawScrollBarPart(&d, &answer), 1);
        EXPECT_EQ(answer, kSkinScrollParentPaints);
    }
    EXPECT_EQ(canvas.At(5, 5), kUntouched);
}

TEST(ScrollBarParts, ArrowsAreRaisedButtonsWithATriangle) {
    CListView view;
    view.SetColours(kSelection, kBackground);
    PartCanvas canvas;
    NMSKINSCROLLDRAW up = Part(canvas.dc(), kSkinScrollItemPaint, kVerticalBar, kPartUpArrow, RECT{10, 20, 26, 36});
    LRESULT answer = -1;
    view.DrawScrollBarPart(&up, &answer);
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(canvas.At(10, 30), view.backgroundLight);    // left edge
    EXPECT_EQ(canvas.At(20, 20), view.backgroundLight);    // top edge
    EXPECT_EQ(canvas.At(25, 30), view.backgroundDarker);   // right edge, R - 1
    EXPECT_EQ(canvas.At(15, 35), view.backgroundDarker);   // bottom edge, B - 1
    EXPECT_EQ(canvas.At(12, 22), kBackground);             // face
    EXPECT_EQ(canvas.At(18, 25), kSelection);              // apex of the up triangle at (L + 8, T + 5)
    EXPECT_EQ(canvas.At(17, 29), kSelection);              // its base row
    EXPECT_EQ(canvas.At(18, 31), kBackground);             // below the triangle
    EXPECT_EQ(canvas.At(26, 30), kUntouched);              // nothing outside the rectangle

    canvas.Clear(kUntouched);
    NMSKINSCROLLDRAW down = Part(canvas.dc(), kSkinScrollItemPaint, kVerticalBar, kPartDownArrow, RECT{10, 20, 26, 36});
    view.DrawScrollBarPart(&down, &answer);
    EXPECT_EQ(canvas.At(18, 30), kSelection);              // apex pointing down at (L + 8, T + 10)
    EXPECT_EQ(canvas.At(17, 25), kSelection);
    EXPECT_EQ(canvas.At(18, 23), kBackground);
}

TEST(ScrollBarParts, ThumbGripHasOnePairUpTo16PixelsAndThreeAbove) {
    CListView view;
    view.SetColours(kSelection, kBackground);
    PartCanvas canvas;
    LRESULT answer = -1;
    NMSKINSCROLLDRAW small = Part(canvas.dc(), kSkinScrollItemPaint, kVerticalBar, kPartThumb, RECT{0, 0, 16, 16});
    view.DrawScrollBarPart(&small, &answer);
    // cy = 8: light line at 7, selection line at 8, from x 4 to 11.
    EXPECT_EQ(canvas.CountRow(7, 0, 16, view.selectionLight), 8);
    EXPECT_EQ(canvas.CountRow(8, 0, 16, kSelection), 8);
    EXPECT_EQ(canvas.CountRow(4, 0, 16, kSelection), 0);
    EXPECT_EQ(canvas.CountRow(11, 0, 16, view.selectionLight), 0);

    canvas.Clear(kUntouched);
    NMSKINSCROLLDRAW tall = Part(canvas.dc(), kSkinScrollItemPaint, kVerticalBar, kPartThumb, RECT{0, 0, 16, 17});
    view.DrawScrollBarPart(&tall, &answer);
    // cy = 8: pairs at 3/4, 7/8 and 11/12.
    EXPECT_EQ(canvas.CountRow(3, 0, 16, view.selectionLight), 8);
    EXPECT_EQ(canvas.CountRow(4, 0, 16, kSelection), 8);
    EXPECT_EQ(canvas.CountRow(11, 0, 16, view.selectionLight), 8);
    EXPECT_EQ(canvas.CountRow(12, 0, 16, kSelection), 8);
    EXPECT_EQ(canvas.At(3, 8), kBackground);
    EXPECT_EQ(canvas.At(12, 8), kBackground);
}

TEST(ScrollBarParts, TrackIsDarkCornerIsBackgroundAndOtherBarsAreLeftAlone) {
    CListView view;
    view.SetColours(kSelection, kBackground);
    PartCanvas canvas;
    LRESULT answer = -1;
    NMSKINSCROLLDRAW track = Part(canvas.dc(), kSkinScrollItemPaint, kHorizontalBar, kPartTrackAfter, RECT{0, 0, 30, 16});
    view.DrawScrollBarPart(&track, &answer);
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(canvas.At(0, 0), view.backgroundDark);
    EXPECT_EQ(canvas.At(29, 15), view.backgroundDark);

    NMSKINSCROLLDRAW corner = Part(canvas.dc(), kSkinScrollItemPaint, kSkinScrollCornerBar, kPartCornerBox, RECT{40, 40, 56, 56});
    view.DrawScrollBarPart(&corner, &answer);
    EXPECT_EQ(answer, kSkinScrollParentPaints);
    EXPECT_EQ(canvas.At(48, 48), kBackground);

    canvas.Clear(kUntouched);
    NMSKINSCROLLDRAW other = Part(canvas.dc(), kSkinScrollItemPaint, 7, kPartUpArrow, RECT{0, 0, 16, 16});
    answer = -1;
    view.DrawScrollBarPart(&other, &answer);
    EXPECT_EQ(answer, 0);
    NMSKINSCROLLDRAW unknownItem = Part(canvas.dc(), kSkinScrollItemPaint, kVerticalBar, 4, RECT{0, 0, 16, 16});
    view.DrawScrollBarPart(&unknownItem, &answer);
    EXPECT_EQ(canvas.At(8, 8), kUntouched);
}
