#include "tests/win32/scrollbars/scroll_fixture.h"

#include "tests/support/dib_canvas.h"

namespace scrolltest {

LRESULT g_prePaintAnswer[2] = {0, 0};
std::vector<Notification> g_notifications;
MessageSequence g_beneath;
WNDPROC g_listProcedure = nullptr;

namespace {

const char kParentClass[] = "OndariaScrollTestParent";

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM first, LPARAM second) {
    if (message == WM_NOTIFY) {
        const auto* draw = reinterpret_cast<const NMSKINSCROLLDRAW*>(second);
        if (draw->code == NM_SKINSCROLL_CUSTOMDRAW) {
            g_notifications.push_back({first, *draw});
            if (draw->drawStage == kSkinScrollPrePaint && draw->bar < 2)
                return g_prePaintAnswer[draw->bar];
            return 0;
        }
    }
    return DefWindowProcA(window, message, first, second);
}

void RegisterParent() {
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kParentClass;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
    registered = true;
}

}  // namespace

LRESULT CALLBACK BeneathProc(HWND window, UINT message, WPARAM first, LPARAM second) {
    g_beneath.Add(window, message, first, second, GetPropA(window, kSkinnedScrollProperty) != nullptr);
    return CallWindowProcA(g_listProcedure, window, message, first, second);
}

HWND ScrollBarsTest::sharedParent_ = nullptr;

void ScrollBarsTest::SetUpTestSuite() {
    RegisterParent();
    sharedParent_ = CreateWindowExA(0, kParentClass, "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 50, 50, 400, 300,
                                    nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void ScrollBarsTest::TearDownTestSuite() {
    DestroyWindow(sharedParent_);
    sharedParent_ = nullptr;
}

void ScrollBarsTest::SetUp() {
    g_prePaintAnswer[0] = g_prePaintAnswer[1] = 0;
    g_notifications.clear();
    g_beneath.Clear();
    g_listProcedure = nullptr;
    g_scrollInteraction = ScrollInteraction();
    parent_ = sharedParent_;
    ASSERT_NE(parent_, nullptr);
}

void ScrollBarsTest::TearDown() {
    if (list_ != nullptr)
        DestroyWindow(list_);
    Pump();
    g_scrollInteraction = ScrollInteraction();
}

void ScrollBarsTest::CreateList(DWORD style, DWORD exStyle) {
    list_ = CreateWindowExA(exStyle, "LISTBOX", "",
                            WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOINTEGRALHEIGHT | LBS_DISABLENOSCROLL | style,
                            10, 10, 200, 200, parent_, reinterpret_cast<HMENU>(kListId), GetModuleHandleA(nullptr),
                            nullptr);
    ASSERT_NE(list_, nullptr);
    Pump();
}

void ScrollBarsTest::InstallBeneath() {
    g_listProcedure =
        reinterpret_cast<WNDPROC>(SetWindowLongA(list_, GWL_WNDPROC, reinterpret_cast<LONG>(&BeneathProc)));
}

RECT ScrollBarsTest::ClientInWindow() const {
    RECT client;
    GetClientRect(list_, &client);
    MapWindowPoints(list_, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    RECT window;
    GetWindowRect(list_, &window);
    OffsetRect(&client, -window.left, -window.top);
    return client;
}

void ScrollBarsTest::Pump() {
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void ScrollBarsTest::PaintNonClient() {
    UpdateWindow(parent_);
    Pump();
    g_notifications.clear();
    SendMessageA(list_, WM_NCPAINT, 1, 0);
    GdiFlush();
}

COLORREF ScrollBarsTest::Pixel(int x, int y) const {
    HDC dc = GetWindowDC(list_);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(list_, dc);
    return colour;
}

std::vector<COLORREF> ScrollBarsTest::Pixels(const RECT& r) const {
    // One copy of the area out of the window, read row by row.
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    std::vector<COLORREF> out;
    if (width <= 0 || height <= 0)
        return out;
    Canvas canvas(width, height, RGB(0, 0, 0));
    HDC dc = GetWindowDC(list_);
    BitBlt(canvas.dc(), 0, 0, width, height, dc, r.left, r.top, SRCCOPY);
    ReleaseDC(list_, dc);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) out.push_back(canvas.At(x, y));
    return out;
}

int Count(const std::vector<COLORREF>& pixels, COLORREF colour) {
    int n = 0;
    for (COLORREF c : pixels)
        n += c == colour ? 1 : 0;
    return n;
}

}  // namespace scrolltest
