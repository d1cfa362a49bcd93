// Painting of the skinned bars: the custom-draw protocol as the parent sees
// it, and the default painting read back from the window's pixels.
#include <utility>

#include "tests/win32/scrollbars/scroll_fixture.h"

namespace scrolltest {
namespace {

class PaintTest : public ScrollBarsTest {
protected:
    // A 200x200 list with a 1-pixel border and 16-pixel bars. Vertical bar:
    // x 183..199, y 1..183, thumb y 85..100; horizontal bar: y 183..199,
    // x 1..183, thumb x 17..47; corner box 183..199 both ways.
    void SetUpList(DWORD exStyle = 0) {
        CreateList(WS_VSCROLL | WS_HSCROLL, exStyle);
        ASSERT_EQ(AttachSkinnedScrollBars(list_), 1);
        ASSERT_EQ(SetSkinnedScrollBarSize(list_, 3, 16, 16), 1);
        SetInfo(Record()->vertical, 0, 99, 10, 45);
        SetInfo(Record()->horizontal, 0, 99, 20, 0);
    }
    static void SetInfo(SkinnedScrollBar& bar, int nMin, int nMax, UINT nPage, int nPos) {
        bar.info.nMin = nMin;
        bar.info.nMax = nMax;
        bar.info.nPage = nPage;
        bar.info.nPos = nPos;
    }
    void Press(int bar, int part) {
        g_scrollInteraction.trackedWindow = list_;
        g_scrollInteraction.pressedBar = bar;
        g_scrollInteraction.pressedPart = part;
    }
    void Hover(int bar, int part) {
        g_scrollInteraction.trackedWindow = list_;
        g_scrollInteraction.hoverBar = bar;
        g_scrollInteraction.hoverPart = part;
    }
    std::vector<Notification> Items() const {
        std::vector<Notification> items;
        for (const Notification& n : g_notifications)
            if (n.draw.drawStage == kSkinScrollItemPaint)
                items.push_back(n);
        return items;
    }
    const Notification* ItemOf(UINT bar, UINT item) const {
        for (const Notification& n : g_notifications)
            if (n.draw.drawStage == kSkinScrollItemPaint && n.draw.bar == bar && n.draw.item == item)
                return &n;
        return nullptr;
    }
    UINT StateOf(UINT bar, UINT item) const {
        const Notification* n = ItemOf(bar, item);
        return n != nullptr ? n->draw.state : 0xDEAD;
    }
    void FillWindow(const RECT& r, COLORREF colour) {
        HDC dc = GetWindowDC(list_);
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        ReleaseDC(list_, dc);
    }
};

COLORREF Sys(int index) { return GetSysColor(index); }

// Changes system colours for one test and puts them back.
class SysColours {
public:
    void Set(int index, COLORREF colour) {
        saved_.push_back({index, GetSysColor(index)});
        SetSysColors(1, &index, &colour);
    }
    ~SysColours() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
            SetSysColors(1, &it->first, &it->second);
    }

private:
    std::vector<std::pair<int, COLORREF>> saved_;
};

// A size grip drawn by the platform on magenta, as pixels.
std::vector<COLORREF> ReferenceGrip(UINT kind) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT r = {0, 0, 16, 16};
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(memory, &r, magenta);
    DeleteObject(magenta);
    DrawFrameControl(memory, &r, DFC_SCROLL, kind);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            pixels.push_back(GetPixel(memory, x, y));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

COLORREF TrackLight() {
    const COLORREF highlight = Sys(COLOR_BTNHIGHLIGHT);
    return highlight != 0xFFFFFF && highlight == Sys(COLOR_WINDOW) ? Sys(COLOR_BTNFACE) : highlight;
}

struct ExpectedItem {
    UINT bar, item;
    RECT rect;
};

TEST_F(PaintTest, ParentThatPaintsGetsEveryItemInWindowCoordinates) {
    SetUpList();
    g_prePaintAnswer[0] = g_prePaintAnswer[1] = kSkinScrollParentPaints;
    PaintNonClient();

    const ExpectedItem expected[] = {
        {0, kPartUpArrow, {1, 183, 17, 199}},      {0, kPartTrackBefore, {17, 183, 17, 199}},
        {0, kPartTrackAfter, {47, 183, 167, 199}}, {0, kPartThumb, {17, 183, 47, 199}},
        {0, kPartDownArrow, {167, 183, 183, 199}}, {1, kPartUpArrow, {183, 1, 199, 17}},
        {1, kPartTrackBefore, {183, 17, 199, 85}}, {1, kPartTrackAfter, {183, 100, 199, 167}},
        {1, kPartThumb, {183, 85, 199, 100}},      {1, kPartDownArrow, {183, 167, 199, 183}},
    };
    // Stage 1, the items, stage 2, for each bar; then the corner box.
    ASSERT_EQ(g_notifications.size(), 2u * 7u + 1u);
    size_t next = 0;
    HDC dc = g_notifications[0].draw.hdc;
    EXPECT_NE(dc, nullptr);
    for (UINT bar = 0; bar < 2; ++bar) {
        for (UINT stage : {kSkinScrollPrePaint, kSkinScrollPostPaint}) {
            const Notification& n = g_notifications[stage == kSkinScrollPrePaint ? bar * 7 : bar * 7 + 6];
            EXPECT_EQ(n.wParam, 0u);
            EXPECT_EQ(n.draw.hwndFrom, list_);
            EXPECT_EQ(n.draw.idFrom, static_cast<UINT_PTR>(kListId));
            EXPECT_EQ(n.draw.code, 0xFFFFF001u);
            EXPECT_EQ(n.draw.drawStage, stage);
            EXPECT_EQ(n.draw.hdc, dc);
            EXPECT_EQ(n.draw.bar, bar);
            EXPECT_EQ(n.draw.item, 0u);
            EXPECT_EQ(n.draw.state, 0u);
            EXPECT_TRUE(IsRectEmpty(&n.draw.rect) && n.draw.rect.left == 0 && n.draw.rect.bottom == 0);
        }
        for (int i = 1; i <= 5; ++i) {
            const Notification& n = g_notifications[bar * 7 + i];
            const ExpectedItem& e = expected[next++];
            SCOPED_TRACE(testing::Message() << "bar " << e.bar << " item " << e.item);
            EXPECT_EQ(n.wParam, static_cast<WPARAM>(kListId));
            EXPECT_EQ(n.draw.hwndFrom, list_);
            EXPECT_EQ(n.draw.idFrom, static_cast<UINT_PTR>(kListId));
            EXPECT_EQ(n.draw.code, NM_SKINSCROLL_CUSTOMDRAW);
            EXPECT_EQ(n.draw.drawStage, kSkinScrollItemPaint);
            EXPECT_EQ(n.draw.hdc, dc);
            EXPECT_EQ(n.draw.bar, e.bar);
            EXPECT_EQ(n.draw.item, e.item);
            EXPECT_EQ(n.draw.state, static_cast<UINT>(kItemNormal));
            EXPECT_TRUE(EqualRect(&n.draw.rect, &e.rect))
                << n.draw.rect.left << "," << n.draw.rect.top << "," << n.draw.rect.right << "," << n.draw.rect.bottom;
        }
    }
    const Notification& corner = g_notifications.back();
    EXPECT_EQ(corner.wParam, static_cast<WPARAM>(kListId));
    EXPECT_EQ(corner.draw.drawStage, kSkinScrollItemPaint);
    EXPECT_EQ(corner.draw.item, static_cast<UINT>(kPartCornerBox));
    EXPECT_EQ(corner.draw.bar, kSkinScrollCornerBar);
    EXPECT_EQ(corner.draw.state, static_cast<UINT>(kItemNormal));
    const RECT box = {183, 183, 199, 199};
    EXPECT_TRUE(EqualRect(&corner.draw.rect, &box));
}

TEST_F(PaintTest, ItemStatesFollowTheTrackedWindowOnly) {
    SetUpList();
    g_prePaintAnswer[0] = g_prePaintAnswer[1] = kSkinScrollParentPaints;

    // Pressed parts on another window are drawn normal here.
    g_scrollInteraction.trackedWindow = parent_;
    g_scrollInteraction.pressedBar = 1;
    g_scrollInteraction.pressedPart = kPartTrackAfter;
    PaintNonClient();
    EXPECT_EQ(StateOf(1, kPartTrackAfter), static_cast<UINT>(kItemNormal));

    Press(1, kPartTrackAfter);
    PaintNonClient();
    EXPECT_EQ(StateOf(1, kPartTrackAfter), static_cast<UINT>(kItemPressed));
    EXPECT_EQ(StateOf(0, kPartTrackAfter), static_cast<UINT>(kItemNormal));  // only on the pressed bar

    // Disabled arrows, and hover only with the hover style.
    Record()->vertical.flags |= kBarUpArrowDisabled;
    g_scrollInteraction.pressedBar = -1;
    Hover(1, kPartThumb);
    PaintNonClient();
    EXPECT_EQ(StateOf(1, kPartUpArrow), static_cast<UINT>(kItemDisabled));
    EXPECT_EQ(StateOf(1, kPartThumb), static_cast<UINT>(kItemNormal));
    ASSERT_EQ(SetSkinnedScrollBarStyle(list_, 1, kBarStyleFlatHover), 1);
    PaintNonClient();
    EXPECT_EQ(StateOf(1, kPartThumb), static_cast<UINT>(kItemHot));
    Hover(1, kPartDownArrow);
    PaintNonClient();
    EXPECT_EQ(StateOf(1, kPartDownArrow), static_cast<UINT>(kItemHot));
    Hover(0, kPartDownArrow);  // the other bar's hover
    PaintNonClient();
    EXPECT_EQ(StateOf(1, kPartDownArrow), static_cast<UINT>(kItemNormal));

    // A bar that cannot scroll: arrows disabled, one whole track, no thumb.
    SetInfo(Record()->vertical, 0, 0, 0, 0);
    PaintNonClient();
    EXPECT_EQ(ItemOf(1, kPartThumb), nullptr);
    EXPECT_EQ(ItemOf(1, kPartTrackBefore), nullptr);
    const Notification* track = ItemOf(1, kPartTrackAfter);
    ASSERT_NE(track, nullptr);
    const RECT whole = {183, 17, 199, 167};
    EXPECT_TRUE(EqualRect(&track->draw.rect, &whole));
    EXPECT_EQ(StateOf(1, kPartDownArrow), static_cast<UINT>(kItemDisabled));
}

TEST_F(PaintTest, ParentThatDeclinesGetsOnlyTheStages) {
    SetUpList();
    PaintNonClient();
    ASSERT_EQ(g_notifications.size(), 4u);
    const UINT stages[] = {kSkinScrollPrePaint, kSkinScrollPostPaint, kSkinScrollPrePaint, kSkinScrollPostPaint};
    const UINT bars[] = {0, 0, 1, 1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(g_notifications[i].draw.drawStage, stages[i]);
        EXPECT_EQ(g_notifications[i].draw.bar, bars[i]);
        EXPECT_EQ(g_notifications[i].wParam, 0u);
    }
}

TEST_F(PaintTest, ParentPaintingOneBarLeavesItUntouched) {
    SetUpList();
    g_prePaintAnswer[1] = kSkinScrollParentPaints;
    const RECT vertical = {183, 1, 199, 183};
    FillWindow(vertical, RGB(255, 0, 255));
    g_notifications.clear();
    SendMessageA(list_, WM_NCPAINT, 1, 0);
    EXPECT_EQ(Count(Pixels(vertical), RGB(255, 0, 255)), 16 * 182);
    EXPECT_EQ(Items().size(), 5u + 1u);  // vertical items and the corner box
    EXPECT_NE(ItemOf(kSkinScrollCornerBar, kPartCornerBox), nullptr);
    // The horizontal bar was painted by default.
    EXPECT_NE(Pixel(100, 190), RGB(255, 0, 255));
}

TEST_F(PaintTest, TrackIsACheckerboardAlignedOnEachPart) {
    SysColours colours;
    colours.Set(COLOR_SCROLLBAR, RGB(200, 100, 50));
    SetUpList();
    PaintNonClient();
    const COLORREF light = TrackLight();
    const COLORREF dark = Sys(COLOR_SCROLLBAR);
    ASSERT_NE(light, dark);
    // Vertical track after the thumb starts at y 100, before it at y 17.
    const COLORREF first = Pixel(183, 100);
    EXPECT_TRUE(first == light || first == dark);
    EXPECT_EQ(Pixel(184, 101), first);
    EXPECT_EQ(Pixel(184, 100), first == light ? dark : light);
    EXPECT_EQ(Pixel(183, 101), first == light ? dark : light);
    // Each part's pattern starts at its own top-left corner.
    EXPECT_EQ(Pixel(183, 17), first);
    EXPECT_EQ(Pixel(47, 183), first);
    const std::vector<COLORREF> track = Pixels({183, 100, 199, 167});
    EXPECT_EQ(Count(track, light), 16 * 67 / 2);
    EXPECT_EQ(Count(track, dark), 16 * 67 / 2);

    // Pressed: the complements, on the pressed part only.
    Press(1, kPartTrackAfter);
    PaintNonClient();
    const std::vector<COLORREF> pressed = Pixels({183, 100, 199, 167});
    EXPECT_EQ(Count(pressed, ~light & 0xFFFFFF) + Count(pressed, ~dark & 0xFFFFFF), 16 * 67);
    EXPECT_EQ(Count(Pixels({183, 17, 199, 85}), light), 16 * 68 / 2);

    // A highlight that is not white but equals the window colour gives way to the face colour.
    colours.Set(COLOR_BTNHIGHLIGHT, RGB(230, 230, 230));
    colours.Set(COLOR_WINDOW, RGB(230, 230, 230));
    colours.Set(COLOR_BTNFACE, RGB(10, 200, 10));
    g_scrollInteraction = ScrollInteraction();
    PaintNonClient();
    const std::vector<COLORREF> faced = Pixels({183, 100, 199, 167});
    EXPECT_EQ(Count(faced, RGB(10, 200, 10)), 16 * 67 / 2);
    EXPECT_EQ(Count(faced, RGB(200, 100, 50)), 16 * 67 / 2);
}

TEST_F(PaintTest, ThumbIsARaisedEdgeOrFlatOrSolid) {
    SetUpList();
    PaintNonClient();
    // Vertical thumb: x 183..199, y 85..100.
    EXPECT_EQ(Pixel(190, 92), Sys(COLOR_BTNFACE));
    EXPECT_EQ(Pixel(198, 99), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(Pixel(197, 98), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(184, 86), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(Pixel(183, 85), Sys(COLOR_3DLIGHT));

    // Pressed with the raised style: still an edge.
    Press(1, kPartThumb);
    PaintNonClient();
    EXPECT_EQ(Pixel(198, 99), Sys(COLOR_3DDKSHADOW));

    // Flat: the edge is flat, pressed it is solid.
    g_scrollInteraction = ScrollInteraction();
    ASSERT_EQ(SetSkinnedScrollBarStyle(list_, 3, kBarStyleFlat), 1);
    PaintNonClient();
    EXPECT_EQ(Pixel(190, 92), Sys(COLOR_BTNFACE));
    EXPECT_NE(Pixel(198, 99), Sys(COLOR_3DDKSHADOW));
    const std::vector<COLORREF> flat = Pixels({183, 85, 199, 100});
    EXPECT_LT(Count(flat, Sys(COLOR_BTNSHADOW)), 16 * 15);
    Press(1, kPartThumb);
    PaintNonClient();
    EXPECT_EQ(Count(Pixels({183, 85, 199, 100}), Sys(COLOR_BTNSHADOW)), 16 * 15);
    // Pressed on another window: not solid.
    g_scrollInteraction.trackedWindow = parent_;
    PaintNonClient();
    EXPECT_EQ(Pixel(190, 92), Sys(COLOR_BTNFACE));

    // Hot with the hover style: solid.
    g_scrollInteraction = ScrollInteraction();
    ASSERT_EQ(SetSkinnedScrollBarStyle(list_, 3, kBarStyleFlatHover), 1);
    Hover(1, kPartThumb);
    PaintNonClient();
    EXPECT_EQ(Count(Pixels({183, 85, 199, 100}), Sys(COLOR_BTNSHADOW)), 16 * 15);
}

TEST_F(PaintTest, ArrowsAreFrameControlGlyphs) {
    SetUpList();
    PaintNonClient();
    const RECT up = {183, 1, 199, 17};
    const RECT right = {167, 183, 183, 199};
    std::vector<COLORREF> pixels = Pixels(up);
    EXPECT_GT(Count(pixels, Sys(COLOR_BTNTEXT)), 5);
    EXPECT_GT(Count(pixels, Sys(COLOR_BTNFACE)), 100);
    EXPECT_GT(Count(Pixels(right), Sys(COLOR_BTNTEXT)), 5);

    // Disabled: the glyph is no longer in the text colour.
    Record()->vertical.flags |= kBarUpArrowDisabled;
    PaintNonClient();
    pixels = Pixels(up);
    EXPECT_EQ(Count(pixels, Sys(COLOR_BTNTEXT)), 0);
    EXPECT_GT(Count(pixels, Sys(COLOR_BTNSHADOW)), 5);
    Record()->vertical.flags &= ~kBarUpArrowDisabled;

    // Flat and pressed: the glyph in white on the dark shadow.
    ASSERT_EQ(SetSkinnedScrollBarStyle(list_, 3, kBarStyleFlat), 1);
    Press(1, kPartUpArrow);
    PaintNonClient();
    pixels = Pixels(up);
    const int white = Count(pixels, RGB(255, 255, 255));
    EXPECT_GT(white, 5);
    EXPECT_EQ(white + Count(pixels, Sys(COLOR_3DDKSHADOW)), 16 * 16);

    // Flat with hover, hot: white on the shadow colour.
    g_scrollInteraction = ScrollInteraction();
    ASSERT_EQ(SetSkinnedScrollBarStyle(list_, 3, kBarStyleFlatHover), 1);
    Hover(0, kPartDownArrow);
    PaintNonClient();
    pixels = Pixels(right);
    const int hotWhite = Count(pixels, RGB(255, 255, 255));
    EXPECT_GT(hotWhite, 5);
    EXPECT_EQ(hotWhite + Count(pixels, Sys(COLOR_BTNSHADOW)), 16 * 16);
    // The other arrows stay as drawn, with the glyph in the text colour.
    EXPECT_GT(Count(Pixels(up), Sys(COLOR_BTNTEXT)), 5);
}

TEST_F(PaintTest, ShortBarHasHalfArrowsAndNoThumb) {
    CreateList(WS_VSCROLL | WS_HSCROLL);
    ASSERT_EQ(AttachSkinnedScrollBars(list_), 1);
    ASSERT_EQ(SetSkinnedScrollBarSize(list_, 3, 16, 16), 1);
    // 49 pixels high: a vertical bar of 49 - 2 - 16 = 31 pixels.
    SetWindowPos(list_, nullptr, 0, 0, 200, 49, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetInfo(Record()->vertical, 0, 99, 10, 0);
    g_prePaintAnswer[1] = kSkinScrollParentPaints;
    PaintNonClient();
    std::vector<Notification> items;
    for (const Notification& n : Items())
        if (n.draw.bar == 1)
            items.push_back(n);
    ASSERT_EQ(items.size(), 3u);
    const RECT up = {183, 1, 199, 16}, gap = {183, 16, 199, 17}, down = {183, 17, 199, 32};
    EXPECT_EQ(items[0].draw.item, static_cast<UINT>(kPartUpArrow));
    EXPECT_TRUE(EqualRect(&items[0].draw.rect, &up));
    EXPECT_EQ(items[1].draw.item, static_cast<UINT>(kPartTrackAfter));
    EXPECT_TRUE(EqualRect(&items[1].draw.rect, &gap));
    EXPECT_EQ(items[1].draw.state, static_cast<UINT>(kItemNormal));
    EXPECT_EQ(items[2].draw.item, static_cast<UINT>(kPartDownArrow));
    EXPECT_TRUE(EqualRect(&items[2].draw.rect, &down));

    // Too low for a horizontal bar: 17 pixels less the border leave 15.
    SetWindowPos(list_, nullptr, 0, 0, 200, 17, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Record()->horizontal.shown, 0);
    EXPECT_EQ(Record()->vertical.shown, 1);
    PaintNonClient();
    for (const Notification& n : g_notifications)
        EXPECT_NE(n.draw.bar, 0u);
}

TEST_F(PaintTest, CornerBoxIsFaceColouredOrAGrip) {
    SetUpList();
    PaintNonClient();
    const RECT box = {183, 183, 199, 199};
    EXPECT_EQ(Count(Pixels(box), Sys(COLOR_BTNFACE)), 16 * 16);

    // At the parent's bottom-right corner the box is a size grip.
    SetWindowPos(list_, nullptr, 200, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PaintNonClient();
    FillWindow(box, RGB(255, 0, 255));
    SendMessageA(list_, WM_NCPAINT, 1, 0);
    EXPECT_EQ(Pixels(box), ReferenceGrip(DFCS_SCROLLSIZEGRIP));
    EXPECT_GT(Count(Pixels(box), Sys(COLOR_BTNSHADOW)), 5);
    // One pixel off the corner: face colour again.
    SetWindowPos(list_, nullptr, 200, 99, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PaintNonClient();
    EXPECT_EQ(Count(Pixels(box), Sys(COLOR_BTNFACE)), 16 * 16);
}

TEST_F(PaintTest, LeftScrollBarGripAtTheBottomLeftCorner) {
    SetUpList(WS_EX_LEFTSCROLLBAR);
    // Vertical bar x 1..17, horizontal bar x 17..199; corner 1..17.
    g_prePaintAnswer[0] = g_prePaintAnswer[1] = kSkinScrollParentPaints;
    PaintNonClient();
    const RECT box = {1, 183, 17, 199};
    const Notification* corner = ItemOf(kSkinScrollCornerBar, kPartCornerBox);
    ASSERT_NE(corner, nullptr);
    EXPECT_TRUE(EqualRect(&corner->draw.rect, &box));
    const RECT up = {1, 1, 17, 17};
    ASSERT_NE(ItemOf(1, kPartUpArrow), nullptr);
    EXPECT_TRUE(EqualRect(&ItemOf(1, kPartUpArrow)->draw.rect, &up));
    const RECT left = {17, 183, 33, 199};
    ASSERT_NE(ItemOf(0, kPartUpArrow), nullptr);
    EXPECT_TRUE(EqualRect(&ItemOf(0, kPartUpArrow)->draw.rect, &left));

    g_prePaintAnswer[0] = g_prePaintAnswer[1] = 0;
    PaintNonClient();
    EXPECT_EQ(Count(Pixels(box), Sys(COLOR_BTNFACE)), 16 * 16);
    // At the bottom-left corner, the grip for a bar on the left.
    SetWindowPos(list_, nullptr, 0, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PaintNonClient();
    FillWindow(box, RGB(255, 0, 255));
    SendMessageA(list_, WM_NCPAINT, 1, 0);
    EXPECT_EQ(Pixels(box), ReferenceGrip(DFCS_SCROLLSIZEGRIPRIGHT));
    // The bottom-right corner does not count for it.
    SetWindowPos(list_, nullptr, 200, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PaintNonClient();
    EXPECT_EQ(Count(Pixels(box), Sys(COLOR_BTNFACE)), 16 * 16);
}

}  // namespace
}  // namespace scrolltest
