// The stream list's owner drawing: real DRAWITEMSTRUCTs on DIB sections,
// compared pixel by pixel with the expected logo, with reference renderings
// of the texts and badges, and once through a real owner-drawn list box.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "host/plugin.h"
#include "panel/portable/skin_colours.h"
#include "tests/support/dib_canvas.h"
#include "ui/drawing/drawing_helpers.h"

namespace {

const COLORREF kItemBackground = RGB(16, 24, 32);     // SkinColour 0
const COLORREF kItemText = RGB(0, 210, 90);           // SkinColour 1
const COLORREF kSelection = RGB(30, 60, 150);         // SkinColour 6
const COLORREF kUntouched = RGB(77, 66, 55);          // canvas before drawing
const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kRed = RGB(255, 0, 0);

HFONT ArialFont(int height, int weight) {
    return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, 16, "Arial");
}

COLORREF LogoPixel(int x, int y) {
    if (x == 0 && y == 0) return RGB(250, 250, 0);      // marks the top-left corner
    if (y < 16) return kMagenta;                        // top band: key colour
    return ((x / 4 + y / 4) & 1) ? RGB(200, 100, 0) : RGB(0, 120, 240);
}

class StreamListDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        uint32_t table[kSkinColourCount];
        memcpy(table, kDefaultSkinColours, sizeof table);
        table[0] = kItemBackground;
        table[1] = kItemText;
        table[6] = kSelection;
        SetSkinColourTable(table);

        plugin = std::make_unique<CPlugin>();
        plugin->badgeFont = ArialFont(12, FW_NORMAL);
        plugin->sloganFont = ArialFont(14, FW_NORMAL);
        plugin->titleFont = ArialFont(16, FW_BOLD);
        ASSERT_NE(plugin->preferences.Create(IDD_PREFERENCES, nullptr, &CDialog::ModelessDialogProc), 0);

        record = std::make_unique<StreamRecord>();
        memset(record.get(), 0, sizeof *record);
        SetField(record->name, "Alpha FM");
        SetField(record->slogan, "La voix du matin");
        SetField(record->address, "http://alpha.example/live");
        record->transparentColour = 0xFF00FF;
        PaintLogo(record->logo, LogoPixel);
    }

    void TearDown() override {
        plugin->preferences.DestroyWindow();
        DeleteObject(plugin->badgeFont);
        DeleteObject(plugin->sloganFont);
        DeleteObject(plugin->titleFont);
        plugin.reset();
        ResetSkinColourTable();
    }

    void SetRedIcons(bool on) {
        CheckDlgButton(plugin->preferences.window, IDC_RED_ICONS, on ? BST_CHECKED : BST_UNCHECKED);
    }

    int Draw(Canvas& canvas, const RECT& r, UINT state = 0, UINT action = ODA_DRAWENTIRE,
             WPARAM controlId = IDC_STREAM_LIST, UINT itemId = 0) {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_LISTBOX;
        item.CtlID = static_cast<UINT>(controlId);
        item.itemID = itemId;
        item.itemAction = action;
        item.itemState = state;
        item.hwndItem = nullptr;
        item.hDC = canvas.dc();
        item.rcItem = r;
        item.itemData = reinterpret_cast<ULONG_PTR>(record.get());
        return plugin->OnDrawItem(controlId, &item);
    }

    // Badge place i of an item whose rectangle starts at (left, top).
    static RECT Place(const RECT& item, int i) {
        return RECT{item.left + 56 + 56 * i, item.top + 39, item.left + 104 + 56 * i, item.top + 49};
    }
    // The badge with its ring: what a badge may paint.
    static RECT Footprint(const RECT& place) {
        return RECT{place.left, place.top - 2, place.right + 2, place.bottom + 2};
    }

    // Empty when the canvas shows, at place i, the badge that DrawLinkBadge
    // draws with these colours on the item's background.
    std::string BadgeDifferences(const Canvas& canvas, const RECT& item, int i, bool selected, const char* label,
                                 const char* address, COLORREF accent) {
        COLORREF fill = selected ? kSelection : kItemBackground;
        Canvas expected(canvas.width(), canvas.height(), fill);
        RECT place = Place(item, i);
        DrawLinkBadge(expected.dc(), plugin->badgeFont, &place, selected ? kItemBackground : kSelection,
                      kItemBackground, accent, kSelection, label, address);
        return canvas.Differences(expected, Footprint(Place(item, i)));
    }

    std::string NoBadgeAt(const Canvas& canvas, const RECT& item, int i, bool selected) {
        Canvas expected(canvas.width(), canvas.height(), selected ? kSelection : kItemBackground);
        return canvas.Differences(expected, Footprint(Place(item, i)));
    }

    std::unique_ptr<CPlugin> plugin;
    std::unique_ptr<StreamRecord> record;
};

TEST_F(StreamListDrawing, NormalAndSelectedLooksFillTheItemAndShowTheLogoWithItsKeyTransparent) {
    const RECT item = {0, 56, 300, 112};
    for (bool selected : {false, true}) {
        SCOPED_TRACE(selected ? "selected" : "normal");
        Canvas canvas(320, 170, kUntouched);
        EXPECT_EQ(Draw(canvas, item, selected ? ODS_SELECTED : 0, selected ? ODA_SELECT : ODA_DRAWENTIRE), 1);
        COLORREF fill = selected ? kSelection : kItemBackground;

        EXPECT_EQ(Hex(canvas.At(0, 56)), Hex(fill));
        EXPECT_EQ(Hex(canvas.At(299, 111)), Hex(fill));
        EXPECT_EQ(Hex(canvas.At(299, 60)), Hex(fill));
        EXPECT_EQ(canvas.Count(RECT{0, 0, 320, 56}, kUntouched), 320 * 56);
        EXPECT_EQ(canvas.Count(RECT{0, 112, 320, 170}, kUntouched), 320 * 58);
        EXPECT_EQ(canvas.Count(RECT{300, 56, 320, 112}, kUntouched), 20 * 56);

        for (int y = 56; y < 112; ++y)
            for (int x = 0; x < 56; ++x) {
                int lx = x - 4, ly = y - 60;
                bool inLogo = lx >= 0 && lx < 48 && ly >= 0 && ly < 48;
                COLORREF expected = inLogo ? LogoPixel(lx, ly) : fill;
                if (expected == kMagenta) expected = fill;
                ASSERT_EQ(Hex(canvas.At(x, y)), Hex(expected)) << "at " << x << ", " << y;
            }
    }
}

TEST_F(StreamListDrawing, TitleAndSloganMatchAReferenceRendering) {
    struct Case {
        int16_t kind;
        const char* name;
        const char* slogan;
        bool selected;
        const char* title;     // as Windows-1252 bytes
        const char* second;
    };
    const Case cases[] = {
        {kStreamKindRadio, "Alpha FM", "La voix du matin", false, "[Radio] Alpha FM", "La voix du matin"},
        {kStreamKindTv, "Canal 9", "", false, "[T\xE9l\xE9] Canal 9", "Pas de slogan..."},
        {7, "Canal 9", "Toujours", true, "[T\xE9l\xE9] Canal 9", "Toujours"},
    };
    const RECT item = {0, 0, 400, 56};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        record->kind = c.kind;
        SetField(record->name, c.name);
        SetField(record->slogan, c.slogan);
        Canvas canvas(400, 56, kUntouched);
        Draw(canvas, item, c.selected ? ODS_SELECTED : 0);

        COLORREF fill = c.selected ? kSelection : kItemBackground;
        Canvas expected(400, 56, fill);
        SetTextColor(expected.dc(), kItemText);
        SetBkColor(expected.dc(), fill);
        HGDIOBJ old = SelectObject(expected.dc(), plugin->titleFont);
        TextOutA(expected.dc(), 56, 4, c.title, static_cast<int>(strlen(c.title)));
        SelectObject(expected.dc(), plugin->sloganFont);
        TextOutA(expected.dc(), 56, 20, c.second, static_cast<int>(strlen(c.second)));
        SelectObject(expected.dc(), old);

        const RECT titleBand = {56, 4, 400, 20};
        EXPECT_GT(400 * 16 - expected.Count(titleBand, fill), 50) << "the reference shows the title";
        EXPECT_EQ(canvas.Differences(expected, RECT{56, 0, 400, 37}), "");
    }
}

TEST_F(StreamListDrawing, TitleIsCutTo259Characters) {
    std::string name(259, 'i');
    SetField(record->name, name.c_str());
    Canvas canvas(1600, 56, kUntouched);
    Draw(canvas, RECT{0, 0, 1600, 56});

    std::string title = ("[Radio] " + name).substr(0, 259);
    Canvas expected(1600, 56, kItemBackground);
    SetTextColor(expected.dc(), kItemText);
    SetBkColor(expected.dc(), kItemBackground);
    HGDIOBJ old = SelectObject(expected.dc(), plugin->titleFont);
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(expected.dc(), title.c_str(), static_cast<int>(title.size()), &extent);
    ASSERT_LT(56 + extent.cx + 40, 1600) << "the canvas is wide enough to see a longer title";
    TextOutA(expected.dc(), 56, 4, title.c_str(), static_cast<int>(title.size()));
    SelectObject(expected.dc(), old);
    EXPECT_EQ(canvas.Differences(expected, RECT{56, 4, 1600, 20}), "");
}

TEST_F(StreamListDrawing, AbsentLinksLeaveTheirPlaceToTheNextBadge) {
    const RECT item = {0, 0, 300, 56};
    SetRedIcons(false);

    SetField(record->website, "http://alpha.example/");
    {
        Canvas canvas(300, 56, kUntouched);
        Draw(canvas, item);
        EXPECT_EQ(BadgeDifferences(canvas, item, 0, false, "web", record->website, kSelection), "");
        EXPECT_EQ(NoBadgeAt(canvas, item, 1, false), "");
        EXPECT_EQ(NoBadgeAt(canvas, item, 2, false), "");
    }

    SetField(record->website, "");
    SetField(record->podcast, "http://alpha.example/podcast.xml");
    {
        Canvas canvas(300, 56, kUntouched);
        Draw(canvas, item);
        EXPECT_EQ(BadgeDifferences(canvas, item, 0, false, "podcast", record->podcast, kSelection), "");
        EXPECT_EQ(NoBadgeAt(canvas, item, 1, false), "");
    }

    SetField(record->playlist, "http://alpha.example/list.pls");
    {
        Canvas canvas(300, 56, kUntouched);
        Draw(canvas, item, ODS_SELECTED);
        EXPECT_EQ(BadgeDifferences(canvas, item, 0, true, "titre", record->playlist, kSelection), "");
        EXPECT_EQ(BadgeDifferences(canvas, item, 1, true, "podcast", record->podcast, kSelection), "");
        EXPECT_EQ(NoBadgeAt(canvas, item, 2, true), "");
    }
}

TEST_F(StreamListDrawing, RedIconsShowEveryBadgeAndHoveringAMissingLinkSetsNoHotLink) {
    const RECT item = {0, 56, 300, 112};
    SetRedIcons(true);
    plugin->view.hotLink = nullptr;
    plugin->view.mouseX = 56 + 56 + 20;   // inside the second place, "titre"
    plugin->view.mouseY = 56 + 44;
    Canvas canvas(300, 170, kUntouched);
    Draw(canvas, item);

    EXPECT_EQ(BadgeDifferences(canvas, item, 0, false, "web", "", kSelection), "");
    EXPECT_EQ(BadgeDifferences(canvas, item, 1, false, "titre", "", kRed), "");
    EXPECT_EQ(BadgeDifferences(canvas, item, 2, false, "podcast", "", kSelection), "");
    EXPECT_EQ(Hex(canvas.At(104 - 5, 56 + 39 + 5)), Hex(kRed));   // a red dot even unhovered
    EXPECT_EQ(plugin->view.hotLink, nullptr);
}

TEST_F(StreamListDrawing, HoveredBadgeTakesTheTextColourAndBecomesTheHotLink) {
    // Row 1 of the list, web site and podcast set, no playlist, mouse on "web".
    const RECT item = {0, 56, 300, 112};
    SetRedIcons(false);
    SetField(record->website, "http://alpha.example/");
    SetField(record->podcast, "http://alpha.example/podcast.xml");
    plugin->view.mouseX = 80;
    plugin->view.mouseY = 100;
    plugin->view.hotLink = nullptr;
    Canvas canvas(300, 170, kUntouched);
    Draw(canvas, item);

    EXPECT_EQ(BadgeDifferences(canvas, item, 0, false, "web", record->website, kItemText), "");
    EXPECT_EQ(BadgeDifferences(canvas, item, 1, false, "podcast", record->podcast, kSelection), "");
    EXPECT_EQ(plugin->view.hotLink, record->website);

    // With the red-icons option the empty playlist keeps its place between them.
    SetRedIcons(true);
    plugin->view.mouseX = 112 + 56 + 1;
    plugin->view.mouseY = 96;
    Canvas second(300, 170, kUntouched);
    Draw(second, item);
    EXPECT_EQ(BadgeDifferences(second, item, 0, false, "web", record->website, kSelection), "");
    EXPECT_EQ(BadgeDifferences(second, item, 1, false, "titre", record->playlist, kSelection), "");
    EXPECT_EQ(BadgeDifferences(second, item, 2, false, "podcast", record->podcast, kItemText), "");
    EXPECT_EQ(plugin->view.hotLink, record->podcast);
}

TEST_F(StreamListDrawing, PointsOnABadgeBorderDoNotCountAsInside) {
    const RECT item = {0, 0, 300, 56};
    SetField(record->website, "http://alpha.example/");
    const POINT border[] = {{56, 44}, {104, 44}, {80, 39}, {80, 49}, {55, 44}, {80, 50}};
    for (POINT p : border) {
        SCOPED_TRACE(std::to_string(p.x) + ", " + std::to_string(p.y));
        const char* earlier = record->address;   // drawing never clears a hot link
        plugin->view.hotLink = earlier;
        plugin->view.mouseX = p.x;
        plugin->view.mouseY = p.y;
        Canvas canvas(300, 56, kUntouched);
        Draw(canvas, item);
        EXPECT_EQ(BadgeDifferences(canvas, item, 0, false, "web", record->website, kSelection), "");
        EXPECT_EQ(plugin->view.hotLink, earlier);
    }
    plugin->view.mouseX = 57;
    plugin->view.mouseY = 40;
    Canvas canvas(300, 56, kUntouched);
    Draw(canvas, item);
    EXPECT_EQ(plugin->view.hotLink, record->website);
}

TEST_F(StreamListDrawing, FocusChangesEmptyListsAndOtherControlsDrawNothing) {
    const RECT item = {0, 0, 300, 56};
    const RECT all = {0, 0, 300, 56};
    {
        Canvas canvas(300, 56, kUntouched);
        EXPECT_EQ(Draw(canvas, item, ODS_SELECTED | ODS_FOCUS, ODA_FOCUS), 1);
        EXPECT_EQ(Draw(canvas, item, 0, ODA_FOCUS), 1);
        EXPECT_EQ(canvas.Count(all, kUntouched), 300 * 56);
    }
    {
        Canvas canvas(300, 56, kUntouched);
        EXPECT_EQ(Draw(canvas, item, ODS_FOCUS, ODA_FOCUS | ODA_DRAWENTIRE), 1);
        EXPECT_EQ(Hex(canvas.At(1, 1)), Hex(kItemBackground)) << "a focus change with more to draw draws";
    }
    {
        Canvas canvas(300, 56, kUntouched);
        EXPECT_EQ(Draw(canvas, item, ODS_FOCUS, ODA_DRAWENTIRE | ODA_FOCUS, IDC_STREAM_LIST, static_cast<UINT>(-1)), 1);
        EXPECT_EQ(canvas.Count(all, kUntouched), 300 * 56);
    }
    {
        Canvas canvas(300, 56, kUntouched);
        EXPECT_EQ(Draw(canvas, item, 0, ODA_DRAWENTIRE, IDC_OPTIONS_BUTTON), 0);
        EXPECT_EQ(Draw(canvas, item, 0, ODA_DRAWENTIRE, 1013), 0);
        EXPECT_EQ(canvas.Count(all, kUntouched), 300 * 56);
    }
}

TEST_F(StreamListDrawing, WithoutAPreferencesWindowMissingLinksAreNotShown) {
    plugin->preferences.DestroyWindow();
    plugin->preferences.window = nullptr;
    const RECT item = {0, 0, 300, 56};
    Canvas canvas(300, 56, kUntouched);
    EXPECT_EQ(Draw(canvas, item), 1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(NoBadgeAt(canvas, item, i, false), "") << i;
}

// ---- through a real owner-drawn list box ------------------------------------------

CPlugin* g_drawer = nullptr;

LRESULT CALLBACK DrawingParent(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    if (message == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(second)->itemHeight = 56;
        return TRUE;
    }
    if (message == WM_DRAWITEM && g_drawer)
        return g_drawer->OnDrawItem(first, reinterpret_cast<DRAWITEMSTRUCT*>(second));
    return DefWindowProcA(hwnd, message, first, second);
}

TEST_F(StreamListDrawing, OwnerDrawnListBoxDrawsEveryRowInItsLook) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DrawingParent;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RenderingTestParent";
    RegisterClassA(&wc);
    HWND parent = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 320, 200, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT |
                                    LBS_NOTIFY,
                                0, 0, 300, 180, parent, reinterpret_cast<HMENU>(IDC_STREAM_LIST), wc.hInstance, nullptr);
    ASSERT_NE(list, nullptr);
    g_drawer = plugin.get();

    StreamRecord second = *record;
    SetField(second.name, "Canal 9");
    second.kind = kStreamKindTv;
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(record.get()));
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(&second));
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    ASSERT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 56);

    Canvas canvas(300, 180, kUntouched);
    SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);

    EXPECT_EQ(Hex(canvas.At(1, 1)), Hex(kItemBackground));
    EXPECT_EQ(Hex(canvas.At(299, 55)), Hex(kItemBackground));
    EXPECT_EQ(Hex(canvas.At(1, 57)), Hex(kSelection));
    EXPECT_EQ(Hex(canvas.At(299, 111)), Hex(kSelection));
    EXPECT_EQ(Hex(canvas.At(4, 76)), Hex(LogoPixel(0, 16)));       // the logo in the second row
    EXPECT_EQ(Hex(canvas.At(4, 60)), Hex(LogoPixel(0, 0)));
    EXPECT_GT(56 * 300 - canvas.Count(RECT{0, 0, 300, 56}, kItemBackground), 500) << "row 0 has content";

    g_drawer = nullptr;
    DestroyWindow(parent);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

}  // namespace
