// Modeless dialogs created from a template and bound at WM_INITDIALOG, and
// the dialog procedure's dispatch and result rules.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/win32/framework/recording.h"
#include "ui/framework/dialog.h"

namespace {

constexpr int kTemplate = 200;  // framework_tests.rc
constexpr int kEdit = 1001;

int g_prevCalls = 0;
UINT g_prevMessage = 0;
LRESULT CALLBACK PreviousProc(HWND, UINT message, WPARAM, LPARAM) {
    ++g_prevCalls;
    g_prevMessage = message;
    return 0x66;
}

void CALLBACK EndStuckDialog(HWND hwnd, UINT, UINT_PTR, DWORD) { ::EndDialog(hwnd, 99); }

// Runs queued and sent messages until the condition holds or about two
// seconds have gone by.
template <class Condition>
bool PumpUntil(Condition done) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > 2000) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

class DialogBinding : public ::testing::Test {
protected:
    void SetUp() override {
        ownerWindow = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(ownerWindow, nullptr);
        owner.window = ownerWindow;
        owner.instance = GetModuleHandleA(nullptr);
        ASSERT_EQ(dialog.Create(kTemplate, &owner, CDialog::ModelessDialogProc), 1);
        dlg = dialog.window;
    }

    void TearDown() override {
        if (::IsWindow(dlg)) ::DestroyWindow(dlg);
        ::DestroyWindow(ownerWindow);
    }

    INT_PTR Direct(UINT message, WPARAM first, LPARAM second) {
        dialog.calls.clear();
        return CDialog::ModelessDialogProc(dlg, message, first, second);
    }
    LRESULT Send(UINT message, WPARAM first, LPARAM second) {
        dialog.calls.clear();
        return SendMessageA(dlg, message, first, second);
    }
    // A client point on the dialog's bare surface, between the edit and the buttons.
    POINT Surface() const {
        RECT r = {80, 40, 80, 40};
        MapDialogRect(dlg, &r);
        return POINT{r.left, r.top};
    }

    HWND ownerWindow = nullptr;
    HWND dlg = nullptr;
    CWnd owner;
    RecordingDialog dialog;
};

TEST_F(DialogBinding, CreateBindsTheObjectAtInitDialog) {
    EXPECT_EQ(dialog.templateId, kTemplate);
    EXPECT_EQ(dialog.parentWindow, ownerWindow);
    EXPECT_EQ(dialog.instance, GetModuleHandleA(nullptr));
    ASSERT_TRUE(::IsWindow(dlg));
    EXPECT_EQ(GetWindow(dlg, GW_OWNER), ownerWindow);
    EXPECT_EQ(dialog.windowAtInit, dlg);  // bound before OnInitDialog runs
    EXPECT_EQ(GetPropA(dlg, "ONDARIA2_CDIALOGb"), static_cast<CWnd*>(&dialog));
    EXPECT_EQ(GetPropA(dlg, kWndProperty), nullptr);
    EXPECT_EQ(GetWindowLongA(dlg, GWL_USERDATA), reinterpret_cast<LONG>(&dialog));
    EXPECT_EQ(dialog.Count("OnInitDialog"), 1u);
    EXPECT_EQ(dialog.Count("OnCreate"), 0u);
    EXPECT_EQ(dialog.Count("DefaultProc"), 0u);
    EXPECT_EQ(dialog.GetDlgItem(kEdit).window, GetDlgItem(dlg, kEdit));

    // WM_CREATE is left to the dialog manager.
    CREATESTRUCTA create = {};
    dialog.results["OnCreate"] = 9;
    EXPECT_EQ(Direct(WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)), 0);
    EXPECT_EQ(dialog.Count("OnCreate"), 0u);

    // A template that does not exist: no window, 0.
    RecordingDialog missing;
    EXPECT_EQ(missing.Create(999, &owner, CDialog::ModelessDialogProc), 0);
    EXPECT_EQ(missing.window, nullptr);
    EXPECT_EQ(missing.templateId, 999);
    RecordingDialog orphan;
    orphan.parentWindow = ownerWindow;
    orphan.instance = GetModuleHandleA(nullptr);
    EXPECT_EQ(orphan.Create(999, nullptr, CDialog::ModelessDialogProc), 0);
    EXPECT_EQ(orphan.parentWindow, nullptr);
    EXPECT_EQ(orphan.instance, nullptr);
}

TEST_F(DialogBinding, FocusMessagesAndClicksOnTheSurfaceReachOnSetFocus) {
    const HWND edit = GetDlgItem(dlg, kEdit);
    const POINT p = Surface();
    struct Row {
        UINT message;
        WPARAM first;
        LPARAM second;
    };
    const Row rows[] = {
        {WM_SETFOCUS, reinterpret_cast<WPARAM>(edit), 0},
        {WM_NEXTDLGCTL, 0, 0},
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y)},
        {WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        Send(row.message, row.first, row.second);
        // (Focus moving to the edit may add its EN_SETFOCUS command.)
        ASSERT_FALSE(dialog.calls.empty());
        EXPECT_EQ(dialog.Count("OnSetFocus"), 1u);
        EXPECT_EQ(dialog.calls[0].name, "OnSetFocus");
        EXPECT_EQ(dialog.calls[0].args, (std::vector<intptr_t>{static_cast<intptr_t>(row.first)}));
    }

    // A real left click on the dialog's surface. Shown without activation:
    // hiding an activated window costs Wine about two seconds on a bare X server.
    SetWindowPos(dlg, HWND_TOP, 100, 100, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(dlg) != 0; }));
    POINT screen = p;
    ClientToScreen(dlg, &screen);
    SetCursorPos(screen.x, screen.y);
    dialog.calls.clear();
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, input, sizeof(INPUT)), 2u);
    EXPECT_TRUE(PumpUntil([&] {
        const Call* c = dialog.Last("OnSetFocus");
        return c && (c->args[0] & MK_LBUTTON);
    }));
}

TEST_F(DialogBinding, EachHandlerResultIsTheDialogResultAndDefaultProcIsNeverCalled) {
    const POINT p = Surface();
    dialog.results = {{"OnSetFocus", 7}, {"OnKeyDown", 3}, {"OnKeyUp", 0}, {"OnClose", 4}, {"OnSize", 6},
                      {"OnMouseMove", 8}};
    EXPECT_EQ(Direct(WM_SETFOCUS, 0, 0), 7);
    EXPECT_EQ(Direct(WM_NEXTDLGCTL, 0, 0), 7);
    EXPECT_EQ(Direct(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y)), 7);
    EXPECT_EQ(Direct(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y)), 7);
    EXPECT_EQ(Direct(WM_KEYDOWN, VK_F5, MAKELPARAM(1, 0x003F)), 3);
    EXPECT_EQ(dialog.calls.size(), 1u);
    EXPECT_EQ(Direct(WM_KEYUP, VK_F5, MAKELPARAM(1, 0xC03F)), 0);
    EXPECT_EQ(dialog.calls.size(), 1u);
    EXPECT_EQ(Direct(WM_CLOSE, 0, 0), 4);
    EXPECT_EQ(Direct(WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200)), 6);
    EXPECT_EQ(dialog.Last("OnSize")->args, (std::vector<intptr_t>{SIZE_RESTORED, 300, 200}));
    EXPECT_EQ(Direct(WM_MOUSEMOVE, 0, MAKELPARAM(-5, -6)), 8);
    EXPECT_EQ(dialog.Last("OnMouseMove")->args, (std::vector<intptr_t>{0, -5, -6}));
    EXPECT_EQ(Direct(WM_USER + 1, 0, 0), 0);
    EXPECT_TRUE(dialog.calls.empty());

    // Through the dialog manager too: nothing reaches DefaultProc.
    dialog.results.clear();
    Send(WM_KEYDOWN, VK_DOWN, 1);
    Send(WM_CLOSE, 0, 0);
    Send(WM_USER + 1, 0, 0);
    EXPECT_EQ(dialog.Count("DefaultProc"), 0u);

    // Messages for a window that is not a bound dialog reach nothing.
    EXPECT_EQ(CDialog::ModelessDialogProc(ownerWindow, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(dialog.DialogProc(ownerWindow, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(dialog.Count("OnClose"), 0u);
}

TEST_F(DialogBinding, NotifyResultGoesThroughTheMessageResult) {
    NMHDR header = {GetDlgItem(dlg, kEdit), kEdit, 0};
    const LPARAM headerArg = reinterpret_cast<LPARAM>(&header);
    dialog.notifyStore = 5;

    SetWindowLongA(dlg, DWL_MSGRESULT, 0x1234);
    dialog.results["OnNotify"] = 1;
    EXPECT_EQ(Direct(WM_NOTIFY, kEdit, headerArg), 1);
    EXPECT_EQ(GetWindowLongA(dlg, DWL_MSGRESULT), 5);
    EXPECT_EQ(dialog.notifyFound, 0);
    EXPECT_EQ(dialog.Last("OnNotify")->args, (std::vector<intptr_t>{kEdit, headerArg}));

    // The sender receives the stored value.
    EXPECT_EQ(Send(WM_NOTIFY, kEdit, headerArg), 5);

    SetWindowLongA(dlg, DWL_MSGRESULT, 0x1234);
    dialog.results["OnNotify"] = 0;
    EXPECT_EQ(Direct(WM_NOTIFY, kEdit, headerArg), 0);
    EXPECT_EQ(GetWindowLongA(dlg, DWL_MSGRESULT), 0x1234);
    EXPECT_EQ(dialog.Count("DefaultProc"), 0u);
}

TEST_F(DialogBinding, BaseOnCommandEndsTheDialogForOkAndCancelOnly) {
    // A click on the modeless dialog's OK button ends (hides) it.
    dialog.baseOnCommand = true;
    ShowWindow(dlg, SW_SHOWNOACTIVATE);
    const HWND ok = GetDlgItem(dlg, IDOK);
    dialog.calls.clear();
    SendMessageA(ok, BM_CLICK, 0, 0);
    ASSERT_NE(dialog.Last("OnCommand"), nullptr);
    EXPECT_EQ(dialog.Last("OnCommand")->args,
              (std::vector<intptr_t>{BN_CLICKED, IDOK, reinterpret_cast<intptr_t>(ok)}));
    EXPECT_EQ(dialog.Last("OnCommand result")->args[0], 1);
    EXPECT_FALSE(IsWindowVisible(dlg));
    EXPECT_TRUE(::IsWindow(dlg));

    // The end results, seen where they can be read: the same object and
    // procedure driving a modal run of the template.
    for (int command : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(command);
        RecordingDialog modal;
        modal.baseOnCommand = true;
        modal.initAction = [&modal, command] {
            // Guard against a run that never ends.
            SetTimer(modal.window, 1, 5000, EndStuckDialog);
            PostMessageA(modal.window, WM_COMMAND, MAKEWPARAM(kEdit, EN_CHANGE), 0);
            PostMessageA(modal.window, WM_COMMAND, 5, 0);
            PostMessageA(modal.window, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
        };
        const INT_PTR ended = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kTemplate), ownerWindow,
                                              CDialog::ModelessDialogProc, reinterpret_cast<LPARAM>(&modal));
        EXPECT_EQ(ended, command);
        std::vector<intptr_t> commandResults;
        for (const Call& c : modal.calls)
            if (c.name == "OnCommand result") commandResults.push_back(c.args[0]);
        EXPECT_EQ(commandResults, (std::vector<intptr_t>{0, 0, 1}));
    }
}

TEST_F(DialogBinding, NcDestroyRemovesThePropertyAndCallsAStoredPreviousProc) {
    dialog.results["OnSetFocus"] = 7;
    EXPECT_EQ(Direct(WM_NCDESTROY, 0, 0), 0);
    EXPECT_EQ(GetPropA(dlg, kDialogProperty), nullptr);
    EXPECT_EQ(Direct(WM_SETFOCUS, 0, 0), 0);
    EXPECT_TRUE(dialog.calls.empty());

    SetPropA(dlg, kDialogProperty, &dialog);
    dialog.previousProc = PreviousProc;
    g_prevCalls = 0;
    EXPECT_EQ(Direct(WM_NCDESTROY, 0, 0), 0x66);
    EXPECT_EQ(g_prevCalls, 1);
    EXPECT_EQ(g_prevMessage, static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(GetPropA(dlg, kDialogProperty), nullptr);
    EXPECT_TRUE(dialog.calls.empty());

    // A real destruction.
    SetPropA(dlg, kDialogProperty, &dialog);
    dialog.previousProc = nullptr;
    dialog.calls.clear();
    ASSERT_TRUE(dialog.DestroyWindow());
    EXPECT_EQ(dialog.Count("OnDestroy"), 1u);
    EXPECT_EQ(dialog.Count("DefaultProc"), 0u);
    EXPECT_EQ(dialog.window, dlg);
    EXPECT_FALSE(dialog.IsWindow());
    EXPECT_EQ(dialog.SendMessageA(WM_CLOSE, 0, 0), 0);
}

}  // namespace
