#include "tests/win32/scroll_interaction/interaction_fixture.h"

#include "scrollbars/skinned_scroll_calls.h"

namespace interactiontest {

std::vector<ScrollRequest> g_requests;
MessageSequence g_passedOn;
std::vector<Notification> g_notifications;
bool g_parentPaints = false;

namespace {

const char kParentClass[] = "OndariaInteractionTestParent";
constexpr int kListId = 1001;
WNDPROC g_listProcedure = nullptr;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM first, LPARAM second) {
    if (message == WM_NOTIFY) {
        const auto* draw = reinterpret_cast<const NMSKINSCROLLDRAW*>(second);
        if (draw->code == NM_SKINSCROLL_CUSTOMDRAW) {
            g_notifications.push_back({*draw});
            return draw->drawStage == kSkinScrollPrePaint && g_parentPaints ? kSkinScrollParentPaints : 0;
        }
    }
    return DefWindowProcA(window, message, first, second);
}

// Beneath the skinned procedure: records, and answers scroll requests the
// way the list box does, through the skinned scroll calls.
LRESULT CALLBACK RecorderProc(HWND window, UINT message, WPARAM first, LPARAM second) {
    if (message == WM_VSCROLL || message == WM_HSCROLL) {
        const int code = LOWORD(first);
        g_requests.push_back({message, code, static_cast<int16_t>(HIWORD(first))});
        const int bar = message == WM_VSCROLL ? SB_VERT : SB_HORZ;
        SCROLLINFO info = {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
        SkinnedGetScrollInfo(window, bar, &info);
        int pos = info.nPos;
        const int page = static_cast<int>(info.nPage);
        switch (code) {
        case SB_LINEUP: pos -= 1; break;
        case SB_LINEDOWN: pos += 1; break;
        case SB_PAGEUP: pos -= page; break;
        case SB_PAGEDOWN: pos += page; break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: pos = HIWORD(first); break;
        default: return 0;
        }
        SCROLLINFO set = {sizeof set, SIF_POS, 0, 0, 0, pos, 0};
        SkinnedSetScrollInfo(window, bar, &set, TRUE);
        return 0;
    }
    g_passedOn.Add(window, message, first, second);
    return CallWindowProcA(g_listProcedure, window, message, first, second);
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

LPARAM Packed(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

}  // namespace

HWND InteractionTest::sharedParent_ = nullptr;

void InteractionTest::SetUpTestSuite() {
    RegisterParent();
    sharedParent_ = CreateWindowExA(0, kParentClass, "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 50, 50, 400, 300,
                                    nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void InteractionTest::TearDownTestSuite() {
    DestroyWindow(sharedParent_);
    sharedParent_ = nullptr;
}

void InteractionTest::SetUp() {
    g_requests.clear();
    g_passedOn.Clear();
    g_notifications.clear();
    g_parentPaints = false;
    g_scrollInteraction = ScrollInteraction();
    parent_ = sharedParent_;
    ASSERT_NE(parent_, nullptr);
    // Keep the cursor away from the windows until a test puts it somewhere.
    SetCursorPos(900, 900);
}

void InteractionTest::TearDown() {
    if (GetCapture() != nullptr)
        ReleaseCapture();
    if (list_ != nullptr)
        DestroyWindow(list_);
    list_ = nullptr;
    SetCursorPos(900, 900);
    Pump();
    g_scrollInteraction = ScrollInteraction();
}

void InteractionTest::CreateList(DWORD scrollStyles) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOINTEGRALHEIGHT | LBS_DISABLENOSCROLL | scrollStyles;
    list_ = CreateWindowExA(0, "LISTBOX", "", style, 10, 10, 200, 200, parent_, reinterpret_cast<HMENU>(kListId),
                            GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(list_, nullptr);
    g_listProcedure =
        reinterpret_cast<WNDPROC>(SetWindowLongA(list_, GWL_WNDPROC, reinterpret_cast<LONG>(&RecorderProc)));
    ASSERT_EQ(AttachSkinnedScrollBars(list_), 1);
    ASSERT_EQ(SetSkinnedScrollBarSize(list_, 3, 16, 16), 1);
    SetVertical(0, 99, 10, 0);
    if (scrollStyles & WS_HSCROLL) {
        SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
        SkinnedSetScrollInfo(list_, SB_HORZ, &info, TRUE);
    }
    Pump();
    g_requests.clear();
    g_passedOn.Clear();
    g_notifications.clear();
}

void InteractionTest::SetVertical(int nMin, int nMax, UINT nPage, int nPos) {
    SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, nMin, nMax, nPage, nPos, 0};
    SkinnedSetScrollInfo(list_, SB_VERT, &info, TRUE);
}

RECT InteractionTest::VerticalBar() const {
    RECT w;
    GetWindowRect(list_, &w);
    const int bottom = Record()->horizontal.shown ? w.bottom - 1 - 16 : w.bottom - 1;
    return {w.right - 1 - 16, w.top + 1, w.right - 1, bottom};
}

RECT InteractionTest::HorizontalBar() const {
    RECT w;
    GetWindowRect(list_, &w);
    const int right = Record()->vertical.shown ? w.right - 1 - 16 : w.right - 1;
    return {w.left + 1, w.bottom - 1 - 16, right, w.bottom - 1};
}

POINT InteractionTest::InVertical(int y) const {
    const RECT bar = VerticalBar();
    return {(bar.left + bar.right) / 2, y};
}

int InteractionTest::ThumbTop() const {
    const SCROLLINFO& info = Record()->vertical.info;
    const RECT bar = VerticalBar();
    const int track = bar.bottom - bar.top - 32;
    const int thumb = MulDiv(static_cast<int>(info.nPage), track, info.nMax - info.nMin + 1);
    const int positions = info.nMax - info.nMin - static_cast<int>(info.nPage) + 1;
    return bar.top + 16 + MulDiv(info.nPos - info.nMin, track - thumb, positions);
}

LRESULT InteractionTest::HitTest(POINT screen) { return SendMessageA(list_, WM_NCHITTEST, 0, Packed(screen)); }

void InteractionTest::PlaceCursor(POINT screen) {
    POINT now = {0, 0};
    GetCursorPos(&now);
    if (now.x == screen.x && now.y == screen.y)
        return;
    SetCursorPos(screen.x, screen.y);
    // The move reaches the window under the cursor (or the capturing one)
    // as a mouse message of its own; let it arrive before the test's.
    PumpFor(30);
}

void InteractionTest::NcMessage(UINT message, WPARAM hitCode, POINT screen) {
    PlaceCursor(screen);
    PostMessageA(list_, message, hitCode, Packed(screen));
    Pump();
}

void InteractionTest::NcPress(POINT screen) {
    const LRESULT hit = HitTest(screen);
    NcMessage(WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), screen);
}

void InteractionTest::MoveTo(POINT screen) {
    PlaceCursor(screen);
    POINT client = screen;
    ScreenToClient(list_, &client);
    PostMessageA(list_, WM_MOUSEMOVE, MK_LBUTTON, Packed(client));
    Pump();
}

void InteractionTest::Release(POINT screen) {
    PlaceCursor(screen);
    POINT client = screen;
    ScreenToClient(list_, &client);
    PostMessageA(list_, WM_LBUTTONUP, 0, Packed(client));
    Pump();
}

void InteractionTest::Pump() {
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void InteractionTest::PumpFor(DWORD milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

bool InteractionTest::PumpUntil(const std::function<bool()>& done, DWORD limit) {
    const DWORD start = GetTickCount();
    for (;;) {
        Pump();
        if (done())
            return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= limit)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, limit - elapsed, QS_ALLINPUT);
    }
}

std::vector<ScrollRequest> InteractionTest::Requests() const { return g_requests; }

std::vector<int> InteractionTest::Codes() const {
    std::vector<int> codes;
    for (const ScrollRequest& r : g_requests)
        codes.push_back(r.code);
    return codes;
}

int InteractionTest::CountPassedOn(UINT message, WPARAM first) const {
    int n = 0;
    for (const ReceivedMessage& m : g_passedOn.Of(message)) n += m.wParam == first ? 1 : 0;
    return n;
}

int InteractionTest::CountPassedOn(UINT message) const { return g_passedOn.Count(message); }

const NMSKINSCROLLDRAW* InteractionTest::LastItem(UINT bar, UINT item) const {
    for (auto it = g_notifications.rbegin(); it != g_notifications.rend(); ++it)
        if (it->draw.drawStage == kSkinScrollItemPaint && it->draw.bar == bar && it->draw.item == item)
            return &it->draw;
    return nullptr;
}

UINT InteractionTest::LastState(UINT item) const {
    const NMSKINSCROLLDRAW* draw = LastItem(kVerticalBar, item);
    return draw != nullptr ? draw->state : 0;
}

}  // namespace interactiontest
