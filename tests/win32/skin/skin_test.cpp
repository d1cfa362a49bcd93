// Skinning against real windows: a stand-in host that hands out bitmaps made
// here, owner-drawn buttons painted into DIB sections through the button
// control itself, the control-colour answers, and the border painter on a
// visible window read back pixel by pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "host/host_protocol.h"
#include "panel/dialog_skin.h"

namespace {

// ---- bitmaps ------------------------------------------------------------------

// DIB sections store 0x00RRGGBB; GDI speaks 0x00BBGGRR.
uint32_t ToDib(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
COLORREF FromDib(uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

struct Dib {
    HBITMAP bitmap = nullptr;
    uint32_t* bits = nullptr;
    int width = 0, height = 0;

    void Set(int x, int y, COLORREF c) { bits[y * width + x] = ToDib(c); }
    void Fill(int left, int top, int right, int bottom, COLORREF c) {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) Set(x, y, c);
    }
    COLORREF At(int x, int y) const {
        GdiFlush();
        return FromDib(bits[y * width + x]);
    }
};

Dib MakeDib(int width, int height, COLORREF fill = RGB(0x20, 0x40, 0x60)) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    Dib dib;
    void* bits = nullptr;
    dib.bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    dib.bits = static_cast<uint32_t*>(bits);
    dib.width = width;
    dib.height = height;
    if (dib.bitmap) dib.Fill(0, 0, width, height, fill);
    return dib;
}

bool Alive(HGDIOBJ object) { return GetObjectType(object) != 0; }

// ---- stand-in host --------------------------------------------------------------

HBITMAP g_nextAnswer = nullptr;
int g_skinRequests = 0;
WPARAM g_requestFirst = 12345;

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    if (message == kHostRequestMessage && second == kHostRequestSkinBitmap) {
        ++g_skinRequests;
        g_requestFirst = first;
        HBITMAP answer = g_nextAnswer;
        g_nextAnswer = nullptr;  // each bitmap is handed out once
        return reinterpret_cast<LRESULT>(answer);
    }
    return DefWindowProcA(hwnd, message, first, second);
}

// Panel-like window: the skin pre-filter first, and the border painter on WM_PAINT.
std::vector<unsigned int> g_borderEntries;

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    if (LRESULT answer = SkinPreFilter(hwnd, message, first, second)) return answer;
    switch (message) {
    case WM_DRAWITEM:
        return TRUE;
    case WM_PAINT:
        PaintChildBorders(hwnd, g_borderEntries.data(), static_cast<int>(g_borderEntries.size()));
        return 0;
    default:
        return DefWindowProcA(hwnd, message, first, second);
    }
}

void RegisterClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASSA host = {};
    host.lpfnWndProc = HostProc;
    host.hInstance = GetModuleHandleA(nullptr);
    host.lpszClassName = "OndariaSkinTestHost";
    RegisterClassA(&host);
    WNDCLASSA panel = host;
    panel.lpfnWndProc = PanelProc;
    panel.lpszClassName = "OndariaSkinTestPanel";
    panel.hbrBackground = nullptr;  // leaves the erasing to WM_PAINT
    panel.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassA(&panel);
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

class SkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterClasses();
        ReleaseSkinObjects();
        ResetSkinColourTable();
        g_nextAnswer = nullptr;
        g_skinRequests = 0;
        host_ = CreateWindowA("OndariaSkinTestHost", "host", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(host_);
    }
    void TearDown() override {
        ReleaseSkinObjects();
        ResetSkinColourTable();
        DestroyWindow(host_);
        if (g_nextAnswer) DeleteObject(g_nextAnswer);
        g_nextAnswer = nullptr;
    }

    // Hands `bitmap` to the next request and reads the skin.
    void ReadWith(HBITMAP bitmap) {
        g_nextAnswer = bitmap;
        ReadSkinColours(host_);
    }

    HWND host_ = nullptr;
};

// ---- reading the colour table ---------------------------------------------------

constexpr COLORREF kReference = RGB(0x11, 0x22, 0x33);

// A 128 x 30 skin whose slots all equal the reference but those set by the test.
Dib SkinWithSlots() {
    Dib dib = MakeDib(128, 30, RGB(0x70, 0x70, 0x70));
    dib.Set(kSkinReferenceX, 0, kReference);
    for (int i = 0; i < kSkinColourCount; ++i) dib.Set(SkinSlotX(i), 0, kReference);
    return dib;
}

TEST_F(SkinTest, ReadsTheSlotsOfTheHostBitmapAndKeepsIt) {
    Dib skin = SkinWithSlots();
    for (int i = 0; i < kSkinColourCount; ++i) skin.Set(SkinSlotX(i), 0, RGB(10 + i, 100, 200 - i));
    skin.Set(SkinSlotX(3), 0, kReference);       // unset by the reference
    skin.Set(SkinSlotX(7), 0, RGB(0, 198, 255)); // unset by the marker colour
    skin.Set(SkinSlotX(18), 0, kReference);
    skin.Set(SkinSlotX(8) + 1, 0, RGB(1, 2, 3)); // odd columns are not slots
    ReadWith(skin.bitmap);

    EXPECT_EQ(g_skinRequests, 1);
    EXPECT_EQ(g_requestFirst, 0u);
    EXPECT_EQ(HeldSkinBitmap(), skin.bitmap);
    EXPECT_EQ(GetObjectType(skin.bitmap), static_cast<DWORD>(OBJ_BITMAP));
    for (int i = 0; i < kSkinColourCount; ++i) {
        COLORREF expected = RGB(10 + i, 100, 200 - i);
        if (i == 3 || i == 7) expected = kDefaultSkinColours[i];
        if (i == 18) expected = RGB(14, 100, 196);  // slot 4 as read
        EXPECT_EQ(SkinColour(i), expected) << "entry " << i;
    }
}

TEST_F(SkinTest, SlotsOutsideANarrowBitmapTakeTheirFallbacks) {
    Dib skin = MakeDib(60, 2, kReference);  // slots 0-5 inside; reference pixel outside
    const COLORREF read[6] = {RGB(1, 1, 1), RGB(2, 2, 2), RGB(0x40, 0x40, 0x40),
                              RGB(3, 3, 3), RGB(0xAA, 0xBB, 0xCC), RGB(5, 5, 5)};
    for (int i = 0; i < 6; ++i) skin.Set(SkinSlotX(i), 0, read[i]);
    ReadWith(skin.bitmap);

    for (int i = 0; i < 6; ++i) EXPECT_EQ(SkinColour(i), read[i]) << "entry " << i;
    for (int i = 6; i < 18; ++i) EXPECT_EQ(SkinColour(i), kDefaultSkinColours[i]) << "entry " << i;
    EXPECT_EQ(SkinColour(18), read[4]);
    EXPECT_EQ(SkinColour(20), read[4]);
    EXPECT_EQ(SkinColour(19), 0xC60000u);
    EXPECT_EQ(SkinColour(21), 0x832020u);  // halves of 0x404040 and 0xC60000
}

TEST_F(SkinTest, NoBitmapLeavesTheTableAsItWas) {
    ReadSkinColours(host_);  // the host answers 0
    EXPECT_EQ(g_skinRequests, 1);
    EXPECT_EQ(HeldSkinBitmap(), nullptr);
    for (int i = 0; i < kSkinColourCount; ++i) EXPECT_EQ(SkinColour(i), kDefaultSkinColours[i]);

    Dib skin = SkinWithSlots();
    skin.Set(SkinSlotX(5), 0, RGB(9, 8, 7));
    ReadWith(skin.bitmap);
    ASSERT_EQ(SkinColour(SkinColourName::divider), RGB(9, 8, 7));

    // A failed reading still drops the old bitmap but keeps the colours read.
    ReadSkinColours(host_);
    EXPECT_FALSE(Alive(skin.bitmap));
    EXPECT_EQ(HeldSkinBitmap(), nullptr);
    EXPECT_EQ(SkinColour(SkinColourName::divider), RGB(9, 8, 7));

    ReadSkinColours(nullptr);  // not a window: nothing answers
    EXPECT_EQ(SkinColour(SkinColourName::divider), RGB(9, 8, 7));
}

TEST_F(SkinTest, EachReadingDeletesThePreviousBitmap) {
    Dib first = SkinWithSlots();
    Dib second = SkinWithSlots();
    second.Set(SkinSlotX(0), 0, RGB(0x33, 0x44, 0x55));
    ReadWith(first.bitmap);
    EXPECT_TRUE(Alive(first.bitmap));
    ReadWith(second.bitmap);
    EXPECT_FALSE(Alive(first.bitmap));
    EXPECT_TRUE(Alive(second.bitmap));
    EXPECT_EQ(HeldSkinBitmap(), second.bitmap);
    EXPECT_EQ(SkinColour(SkinColourName::itemBackground), RGB(0x33, 0x44, 0x55));
}

TEST_F(SkinTest, ReleaseDeletesBitmapAndBrush) {
    Dib skin = SkinWithSlots();
    ReadWith(skin.bitmap);
    Dib target = MakeDib(4, 4);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, target.bitmap);
    HGDIOBJ brush = reinterpret_cast<HGDIOBJ>(SkinPreFilter(host_, WM_CTLCOLORDLG, (WPARAM)dc, 0));
    ASSERT_TRUE(Alive(brush));

    ReleaseSkinObjects();
    EXPECT_FALSE(Alive(skin.bitmap));
    EXPECT_FALSE(Alive(brush));
    EXPECT_EQ(HeldSkinBitmap(), nullptr);
    ReleaseSkinObjects();  // nothing left to delete

    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(target.bitmap);
}

// ---- control colours --------------------------------------------------------------

TEST_F(SkinTest, ControlColourAnswersCarryTheSkinColours) {
    uint32_t table[kSkinColourCount];
    for (int i = 0; i < kSkinColourCount; ++i) table[i] = RGB(3 * i, 100 + i, 200 - i);
    SetSkinColourTable(table);
    Dib target = MakeDib(4, 4);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, target.bitmap);

    struct Case {
        UINT message;
        int background, text;
    } cases[] = {
        {WM_CTLCOLOREDIT, 0, 1},   {WM_CTLCOLORLISTBOX, 0, 1}, {WM_CTLCOLORBTN, 0, 1},
        {WM_CTLCOLORDLG, 2, 1},    {WM_CTLCOLORSTATIC, 2, 4},
    };
    HGDIOBJ previous = nullptr;
    for (const Case& c : cases) {
        SetTextColor(dc, RGB(1, 1, 1));
        SetBkColor(dc, RGB(1, 1, 1));
        HGDIOBJ brush = reinterpret_cast<HGDIOBJ>(SkinPreFilter(host_, c.message, (WPARAM)dc, 0));
        LOGBRUSH info = {};
        ASSERT_EQ(GetObjectA(brush, sizeof info, &info), static_cast<int>(sizeof info))
            << "message " << c.message;
        EXPECT_EQ(info.lbStyle, static_cast<UINT>(BS_SOLID));
        EXPECT_EQ(info.lbColor, SkinColour(c.background)) << "message " << c.message;
        EXPECT_EQ(GetBkColor(dc), SkinColour(c.background));
        EXPECT_EQ(GetTextColor(dc), SkinColour(c.text));
        if (previous) {
            EXPECT_FALSE(Alive(previous)) << "one brush at a time";
        }
        previous = brush;
    }

    // Not answered, and the live brush stays.
    EXPECT_EQ(SkinPreFilter(host_, WM_CTLCOLORSCROLLBAR, (WPARAM)dc, 0), 0);
    EXPECT_EQ(SkinPreFilter(host_, WM_CTLCOLORMSGBOX, (WPARAM)dc, 0), 0);
    EXPECT_EQ(SkinPreFilter(host_, WM_PAINT, 0, 0), 0);
    EXPECT_TRUE(Alive(previous));

    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(target.bitmap);
}

TEST_F(SkinTest, ControlColourIsTheNearestTheContextCanShow) {
    // A black-and-white context: a light grey background comes out white.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = 8;
    info.header.biHeight = 8;
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.colours[1] = {0xFF, 0xFF, 0xFF, 0};
    void* bits = nullptr;
    HBITMAP mono = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
    ASSERT_TRUE(mono);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, mono);

    uint32_t table[kSkinColourCount];
    for (int i = 0; i < kSkinColourCount; ++i) table[i] = kDefaultSkinColours[i];
    table[static_cast<int>(SkinColourName::itemBackground)] = RGB(0xE0, 0xE0, 0xE0);
    table[static_cast<int>(SkinColourName::itemText)] = RGB(0x12, 0x34, 0x56);
    SetSkinColourTable(table);

    HGDIOBJ brush = reinterpret_cast<HGDIOBJ>(SkinPreFilter(host_, WM_CTLCOLOREDIT, (WPARAM)dc, 0));
    LOGBRUSH logBrush = {};
    ASSERT_TRUE(GetObjectA(brush, sizeof logBrush, &logBrush));
    EXPECT_EQ(logBrush.lbColor, RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(GetBkColor(dc), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(GetTextColor(dc), RGB(0x12, 0x34, 0x56));

    brush = reinterpret_cast<HGDIOBJ>(SkinPreFilter(host_, WM_CTLCOLORDLG, (WPARAM)dc, 0));
    ASSERT_TRUE(GetObjectA(brush, sizeof logBrush, &logBrush));
    EXPECT_EQ(logBrush.lbColor, RGB(0, 0, 0));  // 0x3C2424 is nearer black

    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(mono);
}

// ---- skinned buttons ----------------------------------------------------------------

// Nine distinct piece colours for each image; none is black or the label colour.
COLORREF PieceColour(bool pressed, int row, int column) {
    const int n = row * 3 + column;
    return pressed ? RGB(0xC0 + n, 0x20 + 8 * n, 0x90) : RGB(0x30 + 8 * n, 0xA0, 0x50 + n);
}

Dib ButtonSkin() {
    Dib skin = SkinWithSlots();
    const int columns[4] = {0, 4, 43, 47};
    const int rows[4] = {0, 4, 11, 15};
    for (int image = 0; image < 2; ++image)
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                skin.Fill(columns[column], rows[row] + 15 * image, columns[column + 1],
                          rows[row + 1] + 15 * image, PieceColour(image == 1, row, column));
    return skin;
}

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive; empty when right < 0
    int count = 0;
};

Box PixelsOf(const Dib& dib, COLORREF colour) {
    Box box;
    GdiFlush();
    for (int y = 0; y < dib.height; ++y)
        for (int x = 0; x < dib.width; ++x)
            if (FromDib(dib.bits[y * dib.width + x]) == colour) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
                ++box.count;
            }
    return box;
}

class SkinButtonTest : public SkinTest {
protected:
    static constexpr int kWidth = 80, kHeight = 24;

    void SetUp() override {
        SkinTest::SetUp();
        font_ = CreateFontA(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0,
                            NONANTIALIASED_QUALITY, 0, "Tahoma");
        panel_ = CreateWindowA("OndariaSkinTestPanel", "panel", WS_POPUP | WS_VISIBLE, 40, 40, 300,
                               120, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(panel_);
        play_ = MakeButton("Go", 1002, 10);
        prefs_ = MakeButton("Préférences", 1003, 110);
        Pump();
    }
    void TearDown() override {
        DestroyWindow(panel_);
        DeleteObject(font_);
        SkinTest::TearDown();
    }

    HWND MakeButton(const char* text, int id, int x) {
        HWND button = CreateWindowA("BUTTON", text, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, x, 10,
                                    kWidth, kHeight, panel_, reinterpret_cast<HMENU>(id),
                                    GetModuleHandleA(nullptr), nullptr);
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return button;
    }

    // The button paints itself into a fresh bitmap (it sends WM_DRAWITEM to the panel).
    Dib Render(HWND button) {
        RECT client;
        GetClientRect(button, &client);
        Dib dib = MakeDib(client.right, client.bottom, RGB(0, 0, 0xFE));
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, dib.bitmap);
        SendMessageA(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        SelectObject(dc, old);
        DeleteDC(dc);
        rendered_.push_back(dib.bitmap);
        return dib;
    }

    void ExpectImage(const Dib& dib, bool pressed) {
        const int w = dib.width, h = dib.height;
        struct Spot {
            int x, y, row, column;
        } spots[] = {
            {0, 0, 0, 0},         {3, 3, 0, 0},         {4, 0, 0, 1},     {w / 2, 3, 0, 1},
            {w - 5, 2, 0, 1},     {w - 4, 0, 0, 2},     {w - 1, 3, 0, 2}, {0, 4, 1, 0},
            {3, h - 5, 1, 0},     {5, 5, 1, 1},         {w - 6, h - 6, 1, 1}, {w - 1, 4, 1, 2},
            {w - 4, h / 2, 1, 2}, {0, h - 4, 2, 0},     {3, h - 1, 2, 0}, {w / 2, h - 1, 2, 1},
            {4, h - 4, 2, 1},     {w - 1, h - 1, 2, 2}, {w - 4, h - 4, 2, 2},
        };
        for (const Spot& s : spots)
            EXPECT_EQ(dib.At(s.x, s.y), PieceColour(pressed, s.row, s.column))
                << (pressed ? "pressed" : "normal") << " at " << s.x << "," << s.y;
    }

    ~SkinButtonTest() override {
        for (HBITMAP b : rendered_) DeleteObject(b);
    }

    HFONT font_ = nullptr;
    HWND panel_ = nullptr, play_ = nullptr, prefs_ = nullptr;
    std::vector<HBITMAP> rendered_;
};

TEST_F(SkinButtonTest, NormalAndPressedImagesComeFromTheirNinePieces) {
    Dib skin = ButtonSkin();
    ReadWith(skin.bitmap);
    ExpectImage(Render(play_), false);
    SendMessageA(play_, BM_SETSTATE, TRUE, 0);
    ExpectImage(Render(play_), true);
    SendMessageA(play_, BM_SETSTATE, FALSE, 0);
    ExpectImage(Render(play_), false);
}

TEST_F(SkinButtonTest, LabelIsCentredAndMovesWhenPressed) {
    Dib skin = ButtonSkin();
    ReadWith(skin.bitmap);
    const COLORREF label = SkinColour(SkinColourName::buttonText);

    const Box normal = PixelsOf(Render(play_), label);
    ASSERT_GT(normal.count, 10);
    // Centred in the 80 x 24 face, within rounding.
    EXPECT_LE(std::abs(normal.left - (kWidth - 1 - normal.right)), 2);
    EXPECT_LE(std::abs(normal.top - (kHeight - 1 - normal.bottom)), 3);

    // The text rectangle loses 2 pixels on its left and top, so the centred
    // label moves right and down by half of that.
    SendMessageA(play_, BM_SETSTATE, TRUE, 0);
    const Box pressed = PixelsOf(Render(play_), label);
    EXPECT_EQ(pressed.count, normal.count);
    EXPECT_EQ(pressed.left, normal.left + 1);
    EXPECT_EQ(pressed.top, normal.top + 1);
    EXPECT_EQ(pressed.right, normal.right + 1);
    EXPECT_EQ(pressed.bottom, normal.bottom + 1);

    // Each button shows its own text.
    const Box other = PixelsOf(Render(prefs_), label);
    EXPECT_GT(other.right - other.left, normal.right - normal.left + 20);
}

TEST_F(SkinButtonTest, FocusedButtonShowsADottedRectangle) {
    Dib skin = ButtonSkin();
    ReadWith(skin.bitmap);
    const COLORREF black = RGB(0, 0, 0);

    EXPECT_EQ(PixelsOf(Render(play_), black).count, 0);

    SetFocus(play_);
    ASSERT_EQ(GetFocus(), play_);
    Dib focused = Render(play_);
    const int r = kWidth, b = kHeight;
    // Top row from x = 2, bottom row from x = 3 (its y is odd), sides from y = 2.
    for (int x = 2; x <= r - 4; x += 2) EXPECT_EQ(focused.At(x, 2), black) << "top " << x;
    for (int x = 3; x <= r - 5; x += 2) EXPECT_NE(focused.At(x, 2), black) << "top " << x;
    for (int x = 3; x <= r - 3; x += 2) EXPECT_EQ(focused.At(x, b - 3), black) << "bottom " << x;
    for (int x = 2; x <= r - 4; x += 2) EXPECT_NE(focused.At(x, b - 3), black) << "bottom " << x;
    for (int y = 2; y <= b - 4; y += 2) {
        EXPECT_EQ(focused.At(2, y), black) << "left " << y;
        EXPECT_EQ(focused.At(r - 3, y), black) << "right " << y;
    }
    for (int y = 3; y <= b - 5; y += 2) {
        EXPECT_NE(focused.At(2, y), black) << "left " << y;
        EXPECT_NE(focused.At(r - 3, y), black) << "right " << y;
    }
    const Box dots = PixelsOf(focused, black);
    EXPECT_EQ(dots.left, 2);
    EXPECT_EQ(dots.top, 2);
    EXPECT_EQ(dots.right, r - 3);
    EXPECT_EQ(dots.bottom, b - 3);
    EXPECT_EQ(PixelsOf(Render(prefs_), black).count, 0) << "only the focused button";

    // Pressed: the rectangle starts 2 pixels further right and down.
    SendMessageA(play_, BM_SETSTATE, TRUE, 0);
    const Box pressed = PixelsOf(Render(play_), black);
    EXPECT_EQ(pressed.left, 4);
    EXPECT_EQ(pressed.top, 4);
    EXPECT_EQ(pressed.right, r - 3);
    EXPECT_EQ(pressed.bottom, b - 3);
}

TEST_F(SkinButtonTest, ShrunkPiecesKeepTheirOwnColours) {
    // A centre of alternating rows squeezed into 2 rows: without COLORONCOLOR
    // the dropped rows would be combined into colours of neither.
    Dib skin = ButtonSkin();
    const COLORREF a = RGB(0xF0, 0x0F, 0x33), c = RGB(0x0F, 0xF0, 0xCC);
    for (int y = 4; y < 11; ++y) skin.Fill(4, y, 43, y + 1, (y & 1) ? a : c);
    ReadWith(skin.bitmap);
    SetWindowTextA(prefs_, "");
    SetWindowPos(prefs_, nullptr, 0, 0, 20, 10, SWP_NOMOVE | SWP_NOZORDER);
    Dib small = Render(prefs_);
    for (int y = 4; y < 6; ++y)
        for (int x = 4; x < 16; ++x) {
            const COLORREF p = small.At(x, y);
            EXPECT_TRUE(p == a || p == c) << x << "," << y << " = " << std::hex << p;
        }
}

TEST_F(SkinButtonTest, WithoutASkinBitmapTheButtonStillShowsAFaceAndLabel) {
    ASSERT_EQ(HeldSkinBitmap(), nullptr);
    Dib plain = Render(play_);
    EXPECT_EQ(plain.At(6, 6), GetSysColor(COLOR_BTNFACE));
    EXPECT_GT(PixelsOf(plain, SkinColour(SkinColourName::buttonText)).count, 10);
    EXPECT_EQ(PixelsOf(plain, RGB(0, 0, 0xFE)).count, 0) << "the whole face is drawn";
}

TEST_F(SkinButtonTest, StaticControlsPaintInTheSkinColours) {
    HWND label = CreateWindowA("STATIC", "Texte", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 50, 60, 20,
                               panel_, reinterpret_cast<HMENU>(1010), GetModuleHandleA(nullptr),
                               nullptr);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    Dib shown = Render(label);
    EXPECT_EQ(shown.At(58, 18), SkinColour(SkinColourName::windowBackground));
    EXPECT_GT(PixelsOf(shown, SkinColour(SkinColourName::windowText)).count, 10);
}

// ---- border painting ----------------------------------------------------------------

class BorderTest : public SkinTest {
protected:
    static constexpr COLORREF kMarker = RGB(0x12, 0xEE, 0x34);
    // Control 1001 occupies (20, 30)-(120, 80): its line runs along y = 80 and x = 120.
    static constexpr int kLeft = 20, kTop = 30, kRight = 120, kBottom = 80;

    void SetUp() override {
        SkinTest::SetUp();
        uint32_t table[kSkinColourCount];
        for (int i = 0; i < kSkinColourCount; ++i) table[i] = kDefaultSkinColours[i];
        table[static_cast<int>(SkinColourName::divider)] = RGB(0xA1, 0xB2, 0xC3);
        table[static_cast<int>(SkinColourName::windowBackground)] = RGB(0x21, 0x32, 0x43);
        SetSkinColourTable(table);

        panel_ = CreateWindowA("OndariaSkinTestPanel", "borders",
                               WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 60, 60, 200, 150, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(panel_);
        Child(1001, kLeft, kTop, kRight - kLeft, kBottom - kTop);
        Child(1002, 150, 10, 20, 20);
        g_borderEntries = {BorderEntry(kBorderBottomRight, 1001), BorderEntry(0, 1002),
                           BorderEntry(kBorderBottomRight, 4242)};
        UpdateWindow(panel_);
        Pump();
        // Known content everywhere, with no paint pending.
        HDC dc = GetDC(panel_);
        RECT all = {0, 0, 200, 150};
        HBRUSH marker = CreateSolidBrush(kMarker);
        FillRect(dc, &all, marker);
        DeleteObject(marker);
        ReleaseDC(panel_, dc);
        ValidateRect(panel_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(panel_);
        g_borderEntries.clear();
        SkinTest::TearDown();
    }

    void Child(int id, int x, int y, int w, int h) {
        CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, x, y, w, h, panel_,
                      reinterpret_cast<HMENU>(id), GetModuleHandleA(nullptr), nullptr);
    }

    void Repaint(const RECT* area, bool erase) {
        InvalidateRect(panel_, area, erase);
        UpdateWindow(panel_);
    }

    COLORREF At(int x, int y) {
        HDC dc = GetDC(panel_);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(panel_, dc);
        return c;
    }

    HWND panel_ = nullptr;
};

TEST_F(BorderTest, LinesBelowAndRightOfTheControlAndTheRestErased) {
    Repaint(nullptr, true);
    const COLORREF line = SkinColour(SkinColourName::divider), fill = SkinColour(SkinColourName::windowBackground);
    for (int x = kLeft; x < kRight; x += 7) EXPECT_EQ(At(x, kBottom), line) << "row x=" << x;
    EXPECT_EQ(At(kRight - 1, kBottom), line);
    for (int y = kTop; y < kBottom; y += 7) EXPECT_EQ(At(kRight, y), line) << "column y=" << y;
    EXPECT_EQ(At(kRight, kTop), line);
    // Just outside the lines, and around the other controls.
    EXPECT_EQ(At(kLeft - 1, kBottom), fill);
    EXPECT_EQ(At(kLeft, kBottom + 1), fill);
    EXPECT_EQ(At(kRight + 1, kTop + 10), fill);
    EXPECT_EQ(At(kRight, kTop - 1), fill);
    EXPECT_EQ(At(0, 0), fill);
    EXPECT_EQ(At(199, 149), fill);
    EXPECT_EQ(At(160, 30), fill) << "a kind-0 entry draws no line";
    EXPECT_EQ(At(170, 20), fill);
}

TEST_F(BorderTest, APaintWithoutErasingDrawsOnlyTheLines) {
    Repaint(nullptr, false);
    const COLORREF line = SkinColour(SkinColourName::divider);
    EXPECT_EQ(At(kLeft + 5, kBottom), line);
    EXPECT_EQ(At(kRight, kTop + 5), line);
    EXPECT_EQ(At(0, 0), kMarker);
    EXPECT_EQ(At(kLeft, kBottom + 1), kMarker);
    EXPECT_EQ(At(kRight + 1, kTop + 5), kMarker);
    EXPECT_EQ(At(199, 149), kMarker);
}

TEST_F(BorderTest, OnlyThePaintRectangleIsTouched) {
    // Below the control's bottom line: no line, only the fill.
    const RECT below = {0, kBottom + 1, 200, 150};
    Repaint(&below, true);
    EXPECT_EQ(At(kLeft + 5, kBottom), kMarker);
    EXPECT_EQ(At(kRight, kBottom), kMarker);
    EXPECT_EQ(At(kLeft + 5, kBottom + 1), SkinColour(SkinColourName::windowBackground));
    EXPECT_EQ(At(kRight, kBottom + 1), SkinColour(SkinColourName::windowBackground));

    // Across the right side only: the part of the column inside gets drawn.
    const RECT side = {100, 40, 200, 60};
    Repaint(&side, true);
    EXPECT_EQ(At(kRight, 40), SkinColour(SkinColourName::divider));
    EXPECT_EQ(At(kRight, 59), SkinColour(SkinColourName::divider));
    EXPECT_EQ(At(kRight, 39), kMarker);
    EXPECT_EQ(At(kRight + 1, 50), SkinColour(SkinColourName::windowBackground));
    EXPECT_EQ(At(kLeft + 5, kBottom), kMarker);
}

TEST(DottedLine, EveryOtherPixelFromTheParityOfY) {
    Dib dib = MakeDib(16, 16, RGB(0xFF, 0xFF, 0xFF));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib.bitmap);
    HPEN pen = CreatePen(PS_SOLID, 0, RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    DrawDottedLine(dc, 2, 4, 7, false);  // even y: offsets 0, 2, 4 (< 6)
    DrawDottedLine(dc, 1, 5, 7, true);   // odd y: offsets 1, 3, 5
    DrawDottedLine(dc, 0, 0, 1, false);  // too short: nothing
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    SelectObject(dc, old);
    DeleteDC(dc);

    std::vector<std::pair<int, int>> black;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (dib.At(x, y) == RGB(0, 0, 0)) black.emplace_back(x, y);
    const std::vector<std::pair<int, int>> expected = {{2, 4}, {4, 4}, {6, 4},
                                                        {1, 6}, {1, 8}, {1, 10}};
    EXPECT_EQ(black, expected);
    DeleteObject(dib.bitmap);
}

}  // namespace
