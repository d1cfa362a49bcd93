// Binding wrappers to existing windows by replacing their procedure, and the
// framework window procedure's unpacking and result rules.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/message_sequence.h"
#include "tests/win32/framework/recording.h"
#include "ui/framework/wnd.h"

namespace {

constexpr LRESULT kBaseResult = 0x77;
constexpr UINT kPrivate = WM_USER + 1;  // a message no handler covers

// What reached the class procedure; the note says whether the binding property was still there.
MessageSequence g_baseSeen;

// The procedure of the test window class: records what reaches it and
// answers the messages the tests use with a recognisable value.
LRESULT CALLBACK BaseProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    g_baseSeen.Add(hwnd, message, first, second, GetPropA(hwnd, kWndProperty) != nullptr);
    switch (message) {
    case WM_CLOSE:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_NOTIFY:
    case WM_NCDESTROY:
    case kPrivate:
        return kBaseResult;
    default:
        return DefWindowProcA(hwnd, message, first, second);
    }
}

// Another subclasser, installed over the framework's procedure.
WNDPROC g_belowOther = nullptr;
int g_otherCalls = 0;
LRESULT CALLBACK OtherProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    ++g_otherCalls;
    return CallWindowProcA(g_belowOther, hwnd, message, first, second);
}

// A procedure given to Attach that notes what it finds on its first message.
CWnd* g_probeFirstProperty = reinterpret_cast<CWnd*>(-1);
LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
    if (g_probeFirstProperty == reinterpret_cast<CWnd*>(-1))
        g_probeFirstProperty = static_cast<CWnd*>(GetPropA(hwnd, kWndProperty));
    return DefWindowProcA(hwnd, message, first, second);
}

const char kClassName[] = "OndariaFrameworkTest";

WNDPROC CurrentProc(HWND hwnd) { return reinterpret_cast<WNDPROC>(GetWindowLongA(hwnd, GWL_WNDPROC)); }

class WindowBinding : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = BaseProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClassName;
        RegisterClassA(&wc);
    }

    void SetUp() override {
        hwnd = CreateWindowExA(0, kClassName, "abc", WS_POPUP | WS_BORDER, 0, 0, 200, 150, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(hwnd, nullptr);
        child = CreateWindowExA(0, kClassName, "", WS_CHILD, 0, 0, 20, 20, hwnd, reinterpret_cast<HMENU>(42),
                                GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(child, nullptr);
        g_baseSeen.Clear();
    }

    // Windows go before the wrappers (members) do, so no message finds a dead object.
    void TearDown() override {
        if (::IsWindow(hwnd)) ::DestroyWindow(hwnd);
    }

    // Sends through the wrapper and returns the window's answer.
    LRESULT Send(UINT message, WPARAM first, LPARAM second) {
        object.calls.clear();
        g_baseSeen.Clear();
        return object.SendMessageA(message, first, second);
    }
    bool BaseSaw(UINT message) const {
        return g_baseSeen.Count(message) > 0;
    }

    HWND hwnd = nullptr;
    HWND child = nullptr;
    RecordingWnd object;
};

TEST_F(WindowBinding, SubclassBindsBeforeTheFirstMessageAndNullWindowChangesNothing) {
    ASSERT_EQ(object.Subclass(hwnd), 1);
    EXPECT_EQ(object.window, hwnd);
    EXPECT_EQ(object.previousProc, &BaseProc);
    EXPECT_EQ(CurrentProc(hwnd), &CWnd::WindowProc);
    EXPECT_EQ(GetPropA(hwnd, "ONDARIA2_CWNDb"), static_cast<CWnd*>(&object));

    // With another procedure: the property is already there when it first runs.
    RecordingWnd probed;
    ASSERT_EQ(probed.Attach(child, ProbeProc), 1);
    EXPECT_EQ(probed.previousProc, &BaseProc);
    SendMessageA(child, kPrivate, 0, 0);
    EXPECT_EQ(g_probeFirstProperty, static_cast<CWnd*>(&probed));
    EXPECT_EQ(probed.Detach(ProbeProc), child);
    EXPECT_EQ(CurrentProc(child), &BaseProc);

    RecordingWnd unbound;
    unbound.window = child;
    unbound.parentWindow = hwnd;
    unbound.previousProc = &OtherProc;
    EXPECT_EQ(unbound.Attach(nullptr, &CWnd::WindowProc), 0);
    EXPECT_EQ(unbound.Subclass(nullptr), 0);
    EXPECT_EQ(unbound.window, child);
    EXPECT_EQ(unbound.parentWindow, hwnd);
    EXPECT_EQ(unbound.previousProc, &OtherProc);
    EXPECT_EQ(GetPropA(child, kWndProperty), nullptr);
    EXPECT_EQ(CurrentProc(child), &BaseProc);
}

TEST_F(WindowBinding, UnsubclassRestoresTheProcedureAndKeepsPreviousProc) {
    ASSERT_EQ(object.Subclass(hwnd), 1);
    EXPECT_EQ(object.Unsubclass(), hwnd);
    EXPECT_EQ(object.window, nullptr);
    EXPECT_EQ(object.previousProc, &BaseProc);
    EXPECT_EQ(CurrentProc(hwnd), &BaseProc);
    EXPECT_EQ(GetPropA(hwnd, kWndProperty), nullptr);

    g_baseSeen.Clear();
    EXPECT_EQ(SendMessageA(hwnd, WM_CLOSE, 0, 0), kBaseResult);
    EXPECT_TRUE(object.calls.empty());
    EXPECT_TRUE(BaseSaw(WM_CLOSE));
}

TEST_F(WindowBinding, DetachLeavesAProcedureInstalledOverOursInPlace) {
    ASSERT_EQ(object.Subclass(hwnd), 1);
    g_belowOther = reinterpret_cast<WNDPROC>(SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG>(&OtherProc)));
    ASSERT_EQ(g_belowOther, &CWnd::WindowProc);

    EXPECT_EQ(object.Unsubclass(), hwnd);
    EXPECT_EQ(object.window, nullptr);
    EXPECT_EQ(object.previousProc, &BaseProc);
    EXPECT_EQ(GetPropA(hwnd, kWndProperty), nullptr);
    EXPECT_EQ(CurrentProc(hwnd), &OtherProc);

    // Messages still reach the framework procedure, which finds no object:
    // 0, and neither the object nor the procedure below it is called.
    g_otherCalls = 0;
    g_baseSeen.Clear();
    object.calls.clear();
    EXPECT_EQ(SendMessageA(hwnd, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(SendMessageA(hwnd, kPrivate, 0, 0), 0);
    EXPECT_EQ(g_otherCalls, 2);
    EXPECT_TRUE(object.calls.empty());
    EXPECT_TRUE(g_baseSeen.Received().empty());
    EXPECT_TRUE(::IsWindow(hwnd));  // WM_CLOSE was not acted on

    SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG>(&BaseProc));
}

TEST_F(WindowBinding, DetachOfANeverAttachedWrapperReturnsItsWindowAndChangesNothing) {
    RecordingWnd other;
    ASSERT_EQ(other.Subclass(hwnd), 1);

    RecordingWnd plain(hwnd);
    EXPECT_EQ(plain.Unsubclass(), hwnd);
    EXPECT_EQ(plain.Detach(&BaseProc), hwnd);
    EXPECT_EQ(plain.window, hwnd);
    EXPECT_EQ(plain.previousProc, nullptr);
    EXPECT_EQ(GetPropA(hwnd, kWndProperty), static_cast<CWnd*>(&other));
    EXPECT_EQ(CurrentProc(hwnd), &CWnd::WindowProc);

    RecordingWnd empty;
    EXPECT_EQ(empty.Unsubclass(), nullptr);

    EXPECT_EQ(other.Unsubclass(), hwnd);
}

TEST_F(WindowBinding, EachMessageReachesItsHandlerWithUnpackedArguments) {
    ASSERT_EQ(object.Subclass(hwnd), 1);
    CREATESTRUCTA create = {};
    DRAWITEMSTRUCT draw = {};
    WINDOWPOS position = {};
    NMHDR header = {child, 42, 0};

    struct Row {
        UINT message;
        WPARAM first;
        LPARAM second;
        const char* handler;
        std::vector<intptr_t> args;
    };
    const intptr_t createArg = reinterpret_cast<intptr_t>(&create);
    const intptr_t drawArg = reinterpret_cast<intptr_t>(&draw);
    const intptr_t positionArg = reinterpret_cast<intptr_t>(&position);
    const Row rows[] = {
        {WM_CREATE, 3, createArg, "OnCreate", {createArg}},
        {WM_DESTROY, 0, 0, "OnDestroy", {}},
        {WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(40000, 50000), "OnSize", {SIZE_MAXIMIZED, 40000, 50000}},
        {WM_SETFOCUS, reinterpret_cast<WPARAM>(child), 0, "OnSetFocus", {reinterpret_cast<intptr_t>(child)}},
        {WM_PAINT, 0x1234, 0, "OnPaint", {0x1234}},
        {WM_CLOSE, 0, 0, "OnClose", {}},
        {WM_SHOWWINDOW, TRUE, SW_PARENTOPENING, "OnShowWindow", {TRUE, SW_PARENTOPENING}},
        {WM_DRAWITEM, 1001, drawArg, "OnDrawItem", {1001, drawArg}},
        {WM_WINDOWPOSCHANGED, 0, positionArg, "OnWindowPosChanged", {positionArg}},
        {WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768), "OnDisplayChange", {32, 1024, 768}},
        {WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(10, -20), "OnNcMouseMove", {HTCAPTION, 10, -20}},
        {WM_INITDIALOG, 0, 0, "OnInitDialog", {}},
        {WM_SYSCOMMAND, SC_KEYMENU, MAKELPARAM(7, 0xBEEF), "OnSysCommand",
         {SC_KEYMENU, static_cast<intptr_t>(MAKELPARAM(7, 0xBEEF)), 0xBEEF}},
        {WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-5, 300), "OnMouseMove", {MK_LBUTTON, -5, 300}},
        {WM_DROPFILES, 0xD0, 0xD1, "OnDropFiles", {0xD0, 0xD1}},
        {WM_COMMAND, MAKEWPARAM(1234, 0xFEDC), reinterpret_cast<LPARAM>(child), "OnCommand",
         {0xFEDC, static_cast<intptr_t>(MAKEWPARAM(1234, 0xFEDC)), reinterpret_cast<intptr_t>(child)}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.handler);
        object.results[row.handler] = 9;
        EXPECT_EQ(Send(row.message, row.first, row.second), 9);
        ASSERT_EQ(object.calls.size(), 1u);  // the handler, and no DefaultProc
        EXPECT_EQ(object.calls[0].name, row.handler);
        EXPECT_EQ(object.calls[0].args, row.args);
        EXPECT_TRUE(g_baseSeen.Received().empty());
    }
    // The command's control is a temporary plain wrapper, not the object.
    EXPECT_NE(object.commandControl, static_cast<CWnd*>(&object));

    object.results["OnKeyDown"] = 9;
    Send(WM_KEYDOWN, VK_F5, MAKELPARAM(1, 0xC03F));
    ASSERT_NE(object.Last("OnKeyDown"), nullptr);
    EXPECT_EQ(object.Last("OnKeyDown")->args, (std::vector<intptr_t>{VK_F5, 1, 0xC03F}));
    Send(WM_KEYUP, 'R', MAKELPARAM(2, 0x8013));
    ASSERT_NE(object.Last("OnKeyUp"), nullptr);
    EXPECT_EQ(object.Last("OnKeyUp")->args, (std::vector<intptr_t>{'R', 2, 0x8013}));

    object.results["OnNotify"] = 1;
    Send(WM_NOTIFY, 42, reinterpret_cast<LPARAM>(&header));
    ASSERT_NE(object.Last("OnNotify"), nullptr);
    EXPECT_EQ(object.Last("OnNotify")->args, (std::vector<intptr_t>{42, reinterpret_cast<intptr_t>(&header)}));

    object.Unsubclass();
}

TEST_F(WindowBinding, ZeroResultsAndUnhandledMessagesGoToThePreviousProcedure) {
    ASSERT_EQ(object.Subclass(hwnd), 1);

    // Unhandled message: straight to DefaultProc and the procedure below.
    EXPECT_EQ(Send(kPrivate, 11, 22), kBaseResult);
    ASSERT_EQ(object.calls.size(), 1u);
    EXPECT_EQ(object.calls[0].name, "DefaultProc");
    EXPECT_EQ(object.calls[0].args, (std::vector<intptr_t>{kPrivate, 11, 22}));
    EXPECT_TRUE(g_baseSeen.Matches({{kPrivate, kArguments, 11, 22}}));
    EXPECT_EQ(g_baseSeen.Received().size(), 1u);

    // A handler answering 0: passed on with the original arguments.
    EXPECT_EQ(Send(WM_CLOSE, 0, 0), kBaseResult);
    ASSERT_EQ(object.calls.size(), 2u);
    EXPECT_EQ(object.calls[0].name, "OnClose");
    EXPECT_EQ(object.calls[1].name, "DefaultProc");
    EXPECT_TRUE(BaseSaw(WM_CLOSE));

    // Keys always go on after the handler, whatever it answered.
    for (int answer : {0, 3}) {
        object.results["OnKeyDown"] = answer;
        object.results["OnKeyUp"] = answer;
        EXPECT_EQ(Send(WM_KEYDOWN, VK_DOWN, 1), kBaseResult);
        ASSERT_EQ(object.calls.size(), 2u);
        EXPECT_EQ(object.calls[0].name, "OnKeyDown");
        EXPECT_EQ(object.calls[1].name, "DefaultProc");
        EXPECT_EQ(object.calls[1].args, (std::vector<intptr_t>{WM_KEYDOWN, VK_DOWN, 1}));
        EXPECT_EQ(Send(WM_KEYUP, VK_DOWN, 1), kBaseResult);
        ASSERT_EQ(object.calls.size(), 2u);
        EXPECT_EQ(object.calls[1].name, "DefaultProc");
    }

    // WM_NOTIFY: the stored value when handled, else passed on.
    NMHDR header = {child, 42, 0};
    object.notifyStore = 5;
    object.results["OnNotify"] = 1;
    EXPECT_EQ(Send(WM_NOTIFY, 42, reinterpret_cast<LPARAM>(&header)), 5);
    EXPECT_EQ(object.notifyFound, 0);
    EXPECT_EQ(object.Count("DefaultProc"), 0u);
    object.results["OnNotify"] = 0;
    EXPECT_EQ(Send(WM_NOTIFY, 42, reinterpret_cast<LPARAM>(&header)), kBaseResult);
    EXPECT_EQ(object.Count("DefaultProc"), 1u);

    // Without a previous procedure DefaultProc is the system default one.
    RecordingWnd plain(hwnd);
    EXPECT_EQ(plain.DefaultProc(kPrivate, 0, 0), 0);
    EXPECT_EQ(plain.DefaultProc(WM_GETTEXTLENGTH, 0, 0), 3);

    object.Unsubclass();
}

TEST_F(WindowBinding, WindowProcWithoutPropertyAnswersZeroAndCallsNothing) {
    g_baseSeen.Clear();
    EXPECT_EQ(CWnd::WindowProc(hwnd, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(CWnd::WindowProc(hwnd, kPrivate, 0, 0), 0);
    EXPECT_EQ(CWnd::WindowProc(hwnd, WM_NCDESTROY, 0, 0), 0);
    EXPECT_TRUE(g_baseSeen.Received().empty());
    EXPECT_TRUE(::IsWindow(hwnd));
}

TEST_F(WindowBinding, NcDestroyRemovesThePropertyAndGoesStraightToThePreviousProcedure) {
    ASSERT_EQ(object.Subclass(child), 1);

    // Its answer is the previous procedure's.
    object.calls.clear();
    g_baseSeen.Clear();
    EXPECT_EQ(CWnd::WindowProc(child, WM_NCDESTROY, 0, 0), kBaseResult);
    EXPECT_EQ(GetPropA(child, kWndProperty), nullptr);
    ASSERT_EQ(g_baseSeen.Received().size(), 1u);
    EXPECT_FALSE(g_baseSeen.Received()[0].note);
    EXPECT_TRUE(object.calls.empty());
    EXPECT_EQ(CurrentProc(child), &CWnd::WindowProc);  // not put back

    // And on a real destruction.
    SetPropA(child, kWndProperty, &object);
    object.calls.clear();
    g_baseSeen.Clear();
    ASSERT_TRUE(::DestroyWindow(child));
    EXPECT_EQ(object.Count("OnDestroy"), 1u);
    for (const Call& c : object.calls) {
        if (c.name == "DefaultProc") {
            EXPECT_NE(c.args[0], WM_NCDESTROY);
        }
    }
    ASSERT_FALSE(g_baseSeen.Received().empty());
    EXPECT_EQ(g_baseSeen.Received().back().message, static_cast<UINT>(WM_NCDESTROY));
    EXPECT_FALSE(g_baseSeen.Received().back().note);
    EXPECT_EQ(object.window, child);
    EXPECT_EQ(object.previousProc, &BaseProc);

    // The wrapper now holds a stale handle.
    EXPECT_FALSE(object.IsWindow());
    EXPECT_EQ(object.SafeHandle(), nullptr);
    object.calls.clear();
    EXPECT_EQ(object.SendMessageA(WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(object.calls.empty());
}

TEST(WindowWrappers, WithoutAWindowTheyDoNothing) {
    CWnd none;
    EXPECT_EQ(none.window, nullptr);
    EXPECT_EQ(none.parentWindow, nullptr);
    EXPECT_EQ(none.instance, nullptr);
    EXPECT_EQ(none.previousProc, nullptr);

    EXPECT_EQ(none.Show(SW_SHOW), 0);
    EXPECT_EQ(none.OnOK(), 0);
    EXPECT_EQ(none.OnCancel(), 0);
    EXPECT_EQ(none.IsWindow(), 0);
    EXPECT_EQ(none.IsWindowVisible(), 0);
    EXPECT_EQ(none.GetDlgItem(1).window, nullptr);
    EXPECT_EQ(none.GetParent().window, nullptr);
    none.CheckDlgButton(1, BST_CHECKED);
    none.UpdateWindow();
    none.SetWindowTextA("x");
    POINT point = {-7, -8};
    none.ScreenToClient(&point);
    EXPECT_EQ(point.x, -7);
    EXPECT_EQ(point.y, -8);
    RECT rect = {1, 2, 3, 4};
    none.GetClientRect(&rect);
    none.GetWindowRect(&rect);
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.bottom, 4);
    EXPECT_EQ(none.IsDlgButtonChecked(1), 0u);
    EXPECT_EQ(none.EndDialog(1), 0);
    EXPECT_EQ(none.DestroyWindow(), 0);
    EXPECT_EQ(none.SendMessageA(WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_EQ(none.SafeHandle(), nullptr);
    EXPECT_EQ(CWnd::HandleOf(nullptr), nullptr);
    EXPECT_EQ(none.DefaultProc(WM_USER, 0, 0), 0);
}

TEST_F(WindowBinding, WrappersActOnTheirWindow) {
    CWnd top(hwnd);
    CWnd item = top.GetDlgItem(42);
    EXPECT_EQ(item.window, child);
    EXPECT_EQ(item.previousProc, nullptr);
    EXPECT_EQ(item.GetParent().window, hwnd);
    EXPECT_EQ(CWnd::HandleOf(&item), child);
    EXPECT_EQ(top.SafeHandle(), hwnd);
    EXPECT_EQ(top.SendMessageA(WM_GETTEXTLENGTH, 0, 0), 3);

    EXPECT_FALSE(top.IsWindowVisible());
    top.Show(SW_SHOWNOACTIVATE);
    EXPECT_TRUE(top.IsWindowVisible());

    // A handle that has been destroyed is refused.
    ASSERT_TRUE(item.DestroyWindow());
    EXPECT_FALSE(item.IsWindow());
    EXPECT_EQ(item.SafeHandle(), nullptr);
    EXPECT_EQ(item.SendMessageA(WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_EQ(top.GetDlgItem(42).window, nullptr);
}

}  // namespace
